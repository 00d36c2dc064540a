#include "printing/printer_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "app/text_encoding.h"
#include "platform/usb_printers.h"

namespace vorna {

PrinterDevice::~PrinterDevice() { close(); }

PrinterDevice::PrinterDevice(PrinterDevice&& other) noexcept
    : fd_(other.fd_),
      path_(std::move(other.path_)),
      labPrinter_(other.labPrinter_),
      sent_(std::move(other.sent_)) {
  other.fd_ = -1;
}

PrinterDevice& PrinterDevice::operator=(PrinterDevice&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = other.fd_;
    path_ = std::move(other.path_);
    labPrinter_ = other.labPrinter_;
    sent_ = std::move(other.sent_);
    other.fd_ = -1;
  }
  return *this;
}

PrinterDevice PrinterDevice::Open(const std::string& path, int& error) {
  PrinterDevice device;
  // O_APPEND lets a lab printer file collect every job; a device node ignores
  // it. No O_CREAT: a removed lab printer must not come back as a new file.
  int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    error = errno;
    return device;
  }
  error = 0;
  device.fd_ = fd;
  device.path_ = path;
  struct stat info;
  device.labPrinter_ = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  return device;
}

int PrinterDevice::write(const std::string& bytes) {
  if (fd_ < 0) return EBADF;
  const char* data = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    ssize_t written = ::write(fd_, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (written == 0) return EIO;
    if (labPrinter_) sent_.append(data, static_cast<size_t>(written));
    data += written;
    left -= static_cast<size_t>(written);
  }
  return 0;
}

void PrinterDevice::close() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
  if (labPrinter_ && !sent_.empty()) RecordLabPrinterJob(path_, sent_);
  sent_.clear();
}

std::u16string SystemErrorText(int error) {
  char buffer[256];
  // GNU strerror_r returns the text, which may not live in `buffer`.
  const char* text = strerror_r(error, buffer, sizeof(buffer));
  std::u16string wide = AnsiToWide(text);
  return wide.empty() ? Utf8ToUtf16(text) : wide;
}

}  // namespace vorna
