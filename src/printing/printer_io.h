#pragma once
// The printer as a device node (or a lab printer file), opened for one job.
#include <string>

namespace vorna {

class PrinterDevice {
 public:
  PrinterDevice() = default;
  ~PrinterDevice();
  PrinterDevice(PrinterDevice&& other) noexcept;
  PrinterDevice& operator=(PrinterDevice&& other) noexcept;
  PrinterDevice(const PrinterDevice&) = delete;
  PrinterDevice& operator=(const PrinterDevice&) = delete;

  // Opens `path` for writing; on failure the result is closed and `error`
  // holds the errno value.
  static PrinterDevice Open(const std::string& path, int& error);

  bool isOpen() const { return fd_ >= 0; }
  const std::string& path() const { return path_; }
  // Writes all of `bytes`, continuing short writes. 0, or the errno value.
  int write(const std::string& bytes);
  void close();

 private:
  int fd_ = -1;
  std::string path_;
  // A regular file is a lab printer: what one job sent is kept as a job record.
  bool labPrinter_ = false;
  std::string sent_;
};

// "<message> (<system text>)" for an errno value, as UTF-16 for the log.
std::u16string SystemErrorText(int error);

}  // namespace vorna
