#pragma once
// A private Xvfb whose desktop has two monitors: 1920x1080 (primary) and,
// right of it, 1024x768. Xvfb has a single output, so the monitors are RandR
// monitors that this object defines and keeps (the server drops them when the
// defining client goes). Also an X client that reads the clipboard back.
#include <sys/types.h>

#include <string>

namespace vorna::test {

class TwoScreenDisplay {
 public:
  TwoScreenDisplay();
  ~TwoScreenDisplay();
  TwoScreenDisplay(const TwoScreenDisplay&) = delete;
  TwoScreenDisplay& operator=(const TwoScreenDisplay&) = delete;

  bool Ready() const { return !name_.empty(); }
  const std::string& Name() const { return name_; }  // ":N"

 private:
  std::string name_;
  pid_t server_ = -1;
  void* monitorClient_ = nullptr;  // the X connection that holds the monitors
};

// The CLIPBOARD selection as UTF-8 text, asked for by a separate X client;
// nullopt-like empty with ok=false when nobody owns it or it did not answer.
struct ClipboardText {
  bool ok = false;
  std::string text;
};
ClipboardText ReadClipboard(const std::string& display, const char* target = "UTF8_STRING");

}  // namespace vorna::test
