#include "bridge/app_object.h"

#include <memory>
#include <vector>

#include "app/text_encoding.h"
#include "bridge/app_functions.h"
#include "bridge/jsc_conversion.h"

namespace vorna {
namespace {

struct NativeBinding {
  AppExtensionHandler* handler;
  std::u16string name;
};

JSCValue* CallNative(GPtrArray* arguments, gpointer data) {
  auto* binding = static_cast<NativeBinding*>(data);
  JSCContext* context = jsc_context_get_current();
  ArgList args;
  args.reserve(arguments->len);
  for (guint i = 0; i < arguments->len; ++i)
    args.push_back(ToArgValue(static_cast<JSCValue*>(g_ptr_array_index(arguments, i))));
  ResultValue result;
  std::u16string exception;
  binding->handler->Execute(binding->name, args, result, exception);
  if (!exception.empty()) {
    jsc_context_throw(context, Utf16ToUtf8(exception).c_str());
    return jsc_value_new_undefined(context);
  }
  return ToJscValue(context, result);
}

void FreeBinding(gpointer data) {
  std::unique_ptr<NativeBinding> binding(static_cast<NativeBinding*>(data));
}

}  // namespace

JSCValue* NewNativeFunction(JSCContext* context, AppExtensionHandler& handler,
                            const std::string& name) {
  // The binding belongs to the function value; JSC frees it with the value.
  auto binding = std::make_unique<NativeBinding>(NativeBinding{&handler, Utf8ToUtf16(name)});
  return jsc_value_new_function_variadic(context, name.c_str(), G_CALLBACK(CallNative),
                                         binding.release(), FreeBinding, JSC_TYPE_VALUE);
}

void DefineAppObject(JSCContext* context, AppExtensionHandler& handler) {
  JSCValue* installer = jsc_context_evaluate(context, AppInstallerSource().c_str(), -1);
  if (!installer) return;
  if (jsc_value_is_function(installer)) {
    std::vector<JSCValue*> natives;
    for (const AppFunction& f : kAppFunctions)
      natives.push_back(NewNativeFunction(context, handler, std::string(f.name)));
    JSCValue* done = jsc_value_function_callv(installer, natives.size(), natives.data());
    if (done) g_object_unref(done);
    for (JSCValue* native : natives) g_object_unref(native);
  }
  g_object_unref(installer);
}

}  // namespace vorna
