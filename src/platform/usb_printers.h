#pragma once
// Receipt printers on this machine: USB printers served by the kernel's usblp
// driver (/dev/usb/lpN), then the device lab's virtual printers (regular files
// <lab>/printers/NAME that receive every byte sent to them).
#include <glib.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vorna {

// $VORNA_DEVICE_LAB, else <user data dir>/vorna-device-lab; ends in '/'.
std::string DeviceLabFolder();
// <lab>/printers/
std::string DeviceLabPrinterFolder();

// One usbmisc device bound to usblp, with the USB device it belongs to.
struct UsbPrinterNode {
  std::string devnode;       // /dev/usb/lp0
  std::string usbDevice;     // sysfs path of the physical USB device
};
// Keeps the first node of each physical device, in the given order.
std::vector<std::string> OnePathPerPrinter(const std::vector<UsbPrinterNode>& nodes);

std::vector<std::string> FindUsbPrinterPaths();
// Sorted by name; hidden files and folders are not printers.
std::vector<std::string> FindLabPrinterPaths();
// Real printers first, then the lab's.
std::vector<std::string> FindPrinterPaths();
// Behind the page's hasUSBPrinterConnected.
bool AnyPrinterConnected();

// A lab printer keeps each job (the bytes of one open-to-close session) as a
// numbered file 000001, 000002, ... in <printer folder>/.jobs/NAME/.
std::string LabPrinterJobFolder(const std::string& printerPath);
// Stores one job; false when it could not be written.
bool RecordLabPrinterJob(const std::string& printerPath, const std::string& bytes);
// The job files of a lab printer, oldest first.
std::vector<std::string> LabPrinterJobPaths(const std::string& printerPath);

enum class PrinterChange { kArrival, kRemoval };

// Reports printers arriving and leaving: the udev monitor for usbmisc devices
// and a watch on the lab's printer folder. Callbacks run on `context`.
class PrinterWatch {
 public:
  using Callback = std::function<void(PrinterChange)>;
  // Null only when neither source can be set up.
  static std::unique_ptr<PrinterWatch> Create(Callback callback, GMainContext* context = nullptr);
  ~PrinterWatch();
  PrinterWatch(const PrinterWatch&) = delete;
  PrinterWatch& operator=(const PrinterWatch&) = delete;

  bool watchesUsb() const;
  bool watchesLab() const;

  struct State;
  explicit PrinterWatch(std::unique_ptr<State> state);

 private:
  std::unique_ptr<State> state_;
};

}  // namespace vorna
