#pragma once
// Desktop services behind the app functions that run in the renderer:
// clipboard, screens, keyboard presence, extending the desktop, opening a URL.
#include <array>
#include <memory>
#include <string>

namespace vorna {

class Desktop {
 public:
  virtual ~Desktop() = default;
  // Replace the clipboard's content; false leaves it emptied or unchanged.
  virtual bool CopyUnicodeText(const std::u16string& text) = 0;
  virtual bool CopyUtf8Text(const std::string& bytes) = 0;
  virtual int MonitorCount() = 0;
  // x, y, width, height of the first monitor that is not the primary one;
  // zeros when there is none.
  virtual std::array<int, 4> SecondScreenRegion() = 0;
  virtual bool HasKeyboard() = 0;
  // Extends the desktop onto the second output; true once the tool started.
  virtual bool ExtendDesktop() = 0;
  // Opens the URL with the desktop's default handler.
  virtual bool OpenUrl(const std::u16string& url) = 0;
};

// The real desktop (GDK, udev, xrandr, GIO); lives in the web-extension module.
std::unique_ptr<Desktop> MakeSystemDesktop();

}  // namespace vorna
