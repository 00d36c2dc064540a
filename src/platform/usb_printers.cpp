#include "platform/usb_printers.h"

#include <dirent.h>
#include <gio/gio.h>
#include <glib-unix.h>
#include <libudev.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vorna {
namespace {

struct UdevDeleter {
  void operator()(udev* u) const { udev_unref(u); }
  void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
  void operator()(udev_device* d) const { udev_device_unref(d); }
  void operator()(udev_monitor* m) const { udev_monitor_unref(m); }
};
template <typename T>
using UdevPtr = std::unique_ptr<T, UdevDeleter>;

struct GObjectDeleter {
  void operator()(gpointer object) const { g_object_unref(object); }
};

std::string WithSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder.push_back('/');
  return folder;
}

bool IsUsblpInterface(udev_device* device) {
  // The usbmisc node's parent is the USB interface the driver is bound to.
  udev_device* interface = udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_interface");
  if (interface == nullptr) return false;
  const char* driver = udev_device_get_driver(interface);
  return driver != nullptr && std::strcmp(driver, "usblp") == 0;
}

}  // namespace

std::string DeviceLabFolder() {
  const char* fromEnvironment = std::getenv("VORNA_DEVICE_LAB");
  if (fromEnvironment != nullptr && *fromEnvironment != '\0') return WithSlash(fromEnvironment);
  return WithSlash(std::string(g_get_user_data_dir()) + "/vorna-device-lab");
}

std::string DeviceLabPrinterFolder() { return DeviceLabFolder() + "printers/"; }

std::vector<std::string> OnePathPerPrinter(const std::vector<UsbPrinterNode>& nodes) {
  std::vector<std::string> paths;
  std::vector<std::string> seenDevices;
  for (const UsbPrinterNode& node : nodes) {
    if (node.devnode.empty()) continue;
    if (!node.usbDevice.empty()) {
      if (std::find(seenDevices.begin(), seenDevices.end(), node.usbDevice) != seenDevices.end())
        continue;
      seenDevices.push_back(node.usbDevice);
    }
    paths.push_back(node.devnode);
  }
  return paths;
}

std::vector<std::string> FindUsbPrinterPaths() {
  UdevPtr<udev> context(udev_new());
  if (!context) return {};
  UdevPtr<udev_enumerate> enumerate(udev_enumerate_new(context.get()));
  if (!enumerate) return {};
  udev_enumerate_add_match_subsystem(enumerate.get(), "usbmisc");
  if (udev_enumerate_scan_devices(enumerate.get()) < 0) return {};

  std::vector<UsbPrinterNode> nodes;
  udev_list_entry* entry;
  udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate.get())) {
    UdevPtr<udev_device> device(
        udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry)));
    if (!device || !IsUsblpInterface(device.get())) continue;
    const char* devnode = udev_device_get_devnode(device.get());
    if (devnode == nullptr) continue;
    udev_device* usbDevice =
        udev_device_get_parent_with_subsystem_devtype(device.get(), "usb", "usb_device");
    const char* usbPath = usbDevice ? udev_device_get_syspath(usbDevice) : nullptr;
    nodes.push_back({devnode, usbPath ? usbPath : ""});
  }
  return OnePathPerPrinter(nodes);
}

std::vector<std::string> FindLabPrinterPaths() {
  const std::string folder = DeviceLabPrinterFolder();
  DIR* directory = opendir(folder.c_str());
  if (directory == nullptr) return {};
  std::unique_ptr<DIR, int (*)(DIR*)> closer(directory, closedir);
  std::vector<std::string> names;
  while (dirent* entry = readdir(directory)) {
    if (entry->d_name[0] == '.') continue;
    struct stat info;
    std::string path = folder + entry->d_name;
    if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) names.push_back(entry->d_name);
  }
  std::sort(names.begin(), names.end());
  std::vector<std::string> paths;
  for (const std::string& name : names) paths.push_back(folder + name);
  return paths;
}

std::vector<std::string> FindPrinterPaths() {
  std::vector<std::string> paths = FindUsbPrinterPaths();
  std::vector<std::string> lab = FindLabPrinterPaths();
  paths.insert(paths.end(), lab.begin(), lab.end());
  return paths;
}

bool AnyPrinterConnected() {
  return !FindUsbPrinterPaths().empty() || !FindLabPrinterPaths().empty();
}

std::string LabPrinterJobFolder(const std::string& printerPath) {
  size_t slash = printerPath.rfind('/');
  std::string folder = slash == std::string::npos ? "" : printerPath.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? printerPath : printerPath.substr(slash + 1);
  return folder + ".jobs/" + name + "/";
}

std::vector<std::string> LabPrinterJobPaths(const std::string& printerPath) {
  const std::string folder = LabPrinterJobFolder(printerPath);
  std::vector<std::string> names;
  if (DIR* directory = opendir(folder.c_str())) {
    std::unique_ptr<DIR, int (*)(DIR*)> closer(directory, closedir);
    while (dirent* entry = readdir(directory))
      if (entry->d_name[0] != '.') names.push_back(entry->d_name);
  }
  // Fixed-width numbers sort in job order.
  std::sort(names.begin(), names.end());
  std::vector<std::string> paths;
  for (const std::string& name : names) paths.push_back(folder + name);
  return paths;
}

bool RecordLabPrinterJob(const std::string& printerPath, const std::string& bytes) {
  const std::string folder = LabPrinterJobFolder(printerPath);
  if (g_mkdir_with_parents(folder.c_str(), 0755) != 0) return false;
  // O_EXCL picks a free number even when two writers race.
  for (size_t number = LabPrinterJobPaths(printerPath).size() + 1;; ++number) {
    char name[32];
    snprintf(name, sizeof(name), "%06zu", number);
    std::string path = folder + name;
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    const char* data = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
      ssize_t written = write(fd, data, left);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) {
        close(fd);
        return false;
      }
      data += written;
      left -= static_cast<size_t>(written);
    }
    return close(fd) == 0;
  }
}

struct PrinterWatch::State {
  Callback callback;
  UdevPtr<udev> udevContext;
  UdevPtr<udev_monitor> monitor;
  GSource* monitorSource = nullptr;
  std::unique_ptr<GFileMonitor, GObjectDeleter> labMonitor;
  gulong labHandler = 0;

  ~State() {
    if (monitorSource != nullptr) {
      g_source_destroy(monitorSource);
      g_source_unref(monitorSource);
    }
    if (labMonitor) {
      g_signal_handler_disconnect(labMonitor.get(), labHandler);
      g_file_monitor_cancel(labMonitor.get());
    }
  }

  static gboolean OnUdevEvent(gint, GIOCondition, gpointer data) {
    auto* state = static_cast<State*>(data);
    UdevPtr<udev_device> device(udev_monitor_receive_device(state->monitor.get()));
    if (!device) return G_SOURCE_CONTINUE;
    const char* action = udev_device_get_action(device.get());
    if (action == nullptr) return G_SOURCE_CONTINUE;
    if (std::strcmp(action, "add") == 0)
      state->callback(PrinterChange::kArrival);
    else if (std::strcmp(action, "remove") == 0)
      state->callback(PrinterChange::kRemoval);
    return G_SOURCE_CONTINUE;
  }

  static void OnLabEvent(GFileMonitor*, GFile* file, GFile*, GFileMonitorEvent event,
                         gpointer data) {
    auto* state = static_cast<State*>(data);
    // Hidden entries (the job records) are not printers.
    gchar* name = g_file_get_basename(file);
    bool hidden = name != nullptr && name[0] == '.';
    g_free(name);
    if (hidden) return;
    // Content changes are the client's own writes, not a printer coming or going.
    switch (event) {
      case G_FILE_MONITOR_EVENT_CREATED:
      case G_FILE_MONITOR_EVENT_MOVED_IN:
        state->callback(PrinterChange::kArrival);
        break;
      case G_FILE_MONITOR_EVENT_DELETED:
      case G_FILE_MONITOR_EVENT_MOVED_OUT:
      case G_FILE_MONITOR_EVENT_RENAMED:
        state->callback(PrinterChange::kRemoval);
        break;
      default:
        break;
    }
  }

  void watchUsb(GMainContext* context) {
    udevContext.reset(udev_new());
    if (!udevContext) return;
    monitor.reset(udev_monitor_new_from_netlink(udevContext.get(), "udev"));
    if (!monitor) return;
    if (udev_monitor_filter_add_match_subsystem_devtype(monitor.get(), "usbmisc", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor.get()) < 0) {
      monitor.reset();
      return;
    }
    monitorSource = g_unix_fd_source_new(udev_monitor_get_fd(monitor.get()), G_IO_IN);
    g_source_set_callback(monitorSource, G_SOURCE_FUNC(+OnUdevEvent), this, nullptr);
    g_source_attach(monitorSource, context);
  }

  void watchLab(GMainContext* context) {
    // The monitor dispatches on the thread-default context of its creation.
    g_main_context_push_thread_default(context);
    std::unique_ptr<GFile, GObjectDeleter> folder(
        g_file_new_for_path(DeviceLabPrinterFolder().c_str()));
    labMonitor.reset(g_file_monitor_directory(folder.get(), G_FILE_MONITOR_WATCH_MOVES, nullptr, nullptr));
    g_main_context_pop_thread_default(context);
    if (labMonitor)
      labHandler = g_signal_connect(labMonitor.get(), "changed", G_CALLBACK(+OnLabEvent), this);
  }
};

PrinterWatch::PrinterWatch(std::unique_ptr<State> state) : state_(std::move(state)) {}
PrinterWatch::~PrinterWatch() = default;

std::unique_ptr<PrinterWatch> PrinterWatch::Create(Callback callback, GMainContext* context) {
  if (context == nullptr) context = g_main_context_default();
  auto state = std::make_unique<State>();
  state->callback = std::move(callback);
  state->watchUsb(context);
  state->watchLab(context);
  if (!state->monitor && !state->labMonitor) return nullptr;
  return std::make_unique<PrinterWatch>(std::move(state));
}

bool PrinterWatch::watchesUsb() const { return state_->monitor != nullptr; }
bool PrinterWatch::watchesLab() const { return state_->labMonitor != nullptr; }

}  // namespace vorna
