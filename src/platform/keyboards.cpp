#include "platform/keyboards.h"

#include <libudev.h>

#include <memory>

namespace vorna {
namespace {

struct UdevUnref {
  void operator()(udev* u) const { udev_unref(u); }
};
struct EnumerateUnref {
  void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
};

}  // namespace

bool AnyKeyboardPresent() {
  std::unique_ptr<udev, UdevUnref> context(udev_new());
  if (!context) return false;
  std::unique_ptr<udev_enumerate, EnumerateUnref> devices(udev_enumerate_new(context.get()));
  if (!devices) return false;
  udev_enumerate_add_match_subsystem(devices.get(), "input");
  udev_enumerate_add_match_property(devices.get(), "ID_INPUT_KEYBOARD", "1");
  if (udev_enumerate_scan_devices(devices.get()) < 0) return false;
  return udev_enumerate_get_list_entry(devices.get()) != nullptr;
}

}  // namespace vorna
