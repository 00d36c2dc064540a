// The web-extension module WebKit loads into every web process: defines the
// page's `app` object in every frame, adds the identification headers to
// every request and copies console output and uncaught errors to the logs.
#include <webkit2/webkit-web-extension.h>

#include <memory>

#include "app/deployment.h"
#include "app/paths.h"
#include "app/text_encoding.h"
#include "bridge/app_extension_handler.h"
#include "bridge/app_object.h"
#include "bridge/identification_headers.h"
#include "log/log.h"

namespace vorna {
namespace {

struct RendererBridge {
  std::unique_ptr<ChannelPort> channel = MakeWindowChannelPort();
  std::unique_ptr<Desktop> desktop = MakeSystemDesktop();
  std::unique_ptr<RendererDevices> devices = MakeRendererDevices();
  std::unique_ptr<AppExtensionHandler> handler;
};

RendererBridge& Bridge() {
  static RendererBridge bridge;
  return bridge;
}

void OnWindowObjectCleared(WebKitScriptWorld* world, WebKitWebPage*, WebKitFrame* frame,
                           gpointer) {
  JSCContext* context = webkit_frame_get_js_context_for_script_world(frame, world);
  if (!context) return;
  DefineAppObject(context, *Bridge().handler);
  g_object_unref(context);
}

gboolean OnSendRequest(WebKitWebPage*, WebKitURIRequest* request, WebKitURIResponse*, gpointer) {
  if (SoupMessageHeaders* headers = webkit_uri_request_get_http_headers(request))
    AddIdentificationHeaders(headers);
  return FALSE;
}

void OnConsoleMessage(WebKitWebPage*, WebKitConsoleMessage* message, gpointer) {
  const gchar* text = webkit_console_message_get_text(message);
  std::u16string wide = Utf8ToUtf16(text ? text : "");
  // An uncaught exception surfaces as an error from the JavaScript source.
  if (webkit_console_message_get_source(message) == WEBKIT_CONSOLE_MESSAGE_SOURCE_JAVASCRIPT &&
      webkit_console_message_get_level(message) == WEBKIT_CONSOLE_MESSAGE_LEVEL_ERROR)
    WriteCrashLog(wide);
  else
    WriteWebLog(wide);
}

void OnPageCreated(WebKitWebExtension*, WebKitWebPage* page, gpointer) {
  g_signal_connect(page, "send-request", G_CALLBACK(OnSendRequest), nullptr);
  g_signal_connect(page, "console-message-sent", G_CALLBACK(OnConsoleMessage), nullptr);
}

std::string LookupString(GVariant* dictionary, const char* key) {
  const gchar* value = nullptr;
  if (g_variant_lookup(dictionary, key, "&s", &value) && value) return value;
  return {};
}

// Takes the browser's program directory; returns the start page address.
std::string ReadStartupData(const GVariant* userData) {
  auto* dictionary = const_cast<GVariant*>(userData);
  if (dictionary && g_variant_is_of_type(dictionary, G_VARIANT_TYPE_VARDICT)) {
    std::string directory = LookupString(dictionary, "programDirectory");
    if (!directory.empty()) {
      if (directory.back() != '/') directory.push_back('/');
      SetProgramDirectory(directory);
    }
    std::string startUrl = LookupString(dictionary, "startUrl");
    if (!startUrl.empty()) return startUrl;
  }
  return StartUrl();
}

}  // namespace
}  // namespace vorna

extern "C" G_MODULE_EXPORT void webkit_web_extension_initialize_with_user_data(
    WebKitWebExtension* extension, const GVariant* userData) {
  std::string startUrl = vorna::ReadStartupData(userData);
  vorna::RendererBridge& bridge = vorna::Bridge();
  bridge.handler = std::make_unique<vorna::AppExtensionHandler>(
      *bridge.channel, *bridge.desktop, *bridge.devices, vorna::Utf8ToUtf16(startUrl));
  g_signal_connect(webkit_script_world_get_default(), "window-object-cleared",
                   G_CALLBACK(vorna::OnWindowObjectCleared), nullptr);
  g_signal_connect(extension, "page-created", G_CALLBACK(vorna::OnPageCreated), nullptr);
}
