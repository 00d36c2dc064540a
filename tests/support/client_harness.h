#pragma once
// Runs the real client from a temporary program directory (a copy of the
// build's bin/ folder) with its own deployment.ini, XDG folders and device lab,
// and finds its windows on the virtual display.
#include <sys/types.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "temp_dir.h"

namespace vorna::test {

// Polls `condition` until it holds or `seconds` pass.
bool WaitFor(const std::function<bool()>& condition, double seconds = 30);

class ClientHarness {
 public:
  ClientHarness();
  ~ClientHarness();
  ClientHarness(const ClientHarness&) = delete;
  ClientHarness& operator=(const ClientHarness&) = delete;

  const std::string& ProgramDir() const { return programDir_; }  // ends in '/'
  std::string DataHome() const { return root_ / "data/"; }
  std::string DeviceLab() const { return root_ / "lab/"; }
  void WriteDeployment(const std::string& serviceOrigin);

  // Extra environment entries ("NAME=value") for the next Start.
  void SetEnv(const std::string& entry) { extraEnv_.push_back(entry); }
  pid_t Start(const std::vector<std::string>& args = {});
  // Exit status of the last started client, or -1 when it did not end in time.
  int WaitForExit(double seconds = 30);
  bool Running();
  void Kill();
  pid_t Pid() const { return pid_; }

 private:
  TempDir root_;
  std::string programDir_;
  std::vector<std::string> extraEnv_;
  pid_t pid_ = -1;
  int status_ = -1;
};

struct XWindow {
  unsigned long id = 0;
  std::string wmClass;
  std::string title;
  int x = 0, y = 0;  // client area's top-left on the screen
  int width = 0, height = 0;
  int frameX = 0, frameY = 0;  // outer top-left (the frame when a window manager adds one)
};

// Mapped top-level windows whose WM_CLASS class is `wmClass`.
std::vector<XWindow> FindWindows(const std::string& wmClass = "TILLSHELL");
// Width and height of the default screen.
std::pair<int, int> ScreenSize();
// Asks a window to close as a window manager would (WM_DELETE_WINDOW).
void RequestClose(unsigned long window);
// True when the window has _NET_WM_STATE `state` ("_NET_WM_STATE_FULLSCREEN", ...).
bool HasWindowState(unsigned long window, const std::string& state);

}  // namespace vorna::test
