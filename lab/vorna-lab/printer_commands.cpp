// Virtual printers: a file <lab>/printers/NAME collects every byte the client
// sends; each job is also kept on its own (see LabPrinterJobPaths).
#include <fcntl.h>
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "lab_command.h"
#include "platform/usb_printers.h"

namespace vorna::lab {
namespace {

bool ValidName(const std::string& name) {
  return !name.empty() && name[0] != '.' && name.find('/') == std::string::npos;
}

long long FileSize(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : -1;
}

bool CopyFileTo(const std::string& path, std::ostream& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out << in.rdbuf();
  return true;
}

int Add(const std::string& path, const std::string& name, std::ostream& out, std::ostream& err) {
  const std::string folder = DeviceLabPrinterFolder();
  if (g_mkdir_with_parents(folder.c_str(), 0755) != 0) {
    err << "vorna-lab: cannot create " << folder << ": " << std::strerror(errno) << "\n";
    return kExitFailed;
  }
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    err << "vorna-lab: printer " << name
        << (errno == EEXIST ? " already exists" : std::string(": ") + std::strerror(errno)) << "\n";
    return kExitFailed;
  }
  close(fd);
  out << path << "\n";
  return kExitOk;
}

void RemoveJobRecords(const std::string& path) {
  for (const std::string& job : LabPrinterJobPaths(path)) unlink(job.c_str());
  std::string folder = LabPrinterJobFolder(path);
  folder.pop_back();
  rmdir(folder.c_str());
}

int Remove(const std::string& path, const std::string& name, std::ostream& err) {
  if (unlink(path.c_str()) != 0) {
    err << "vorna-lab: printer " << name
        << (errno == ENOENT ? " does not exist" : std::string(": ") + std::strerror(errno)) << "\n";
    return kExitFailed;
  }
  RemoveJobRecords(path);
  return kExitOk;
}

int List(std::ostream& out) {
  for (const std::string& path : FindLabPrinterPaths()) {
    out << path.substr(path.rfind('/') + 1) << "\t" << FileSize(path) << " bytes\t"
        << LabPrinterJobPaths(path).size() << " jobs\n";
  }
  return kExitOk;
}

int Jobs(const std::string& path, std::ostream& out) {
  size_t number = 0;
  for (const std::string& job : LabPrinterJobPaths(path))
    out << ++number << "\t" << FileSize(job) << " bytes\t" << job << "\n";
  return kExitOk;
}

// All bytes received, or those of job N (1 = oldest, -1 = newest).
int Bytes(const std::string& path, const std::string& job, std::ostream& out, std::ostream& err) {
  if (job.empty()) return CopyFileTo(path, out) ? kExitOk : kExitFailed;
  std::vector<std::string> jobs = LabPrinterJobPaths(path);
  char* end = nullptr;
  long number = std::strtol(job.c_str(), &end, 10);
  if (*end != '\0' || number == 0) {
    err << "vorna-lab: job must be a number (1 = oldest, -1 = newest)\n";
    return kExitUsage;
  }
  long count = static_cast<long>(jobs.size());
  long index = number > 0 ? number - 1 : count + number;
  if (index < 0 || index >= count) {
    err << "vorna-lab: no job " << job << " (" << count << " jobs)\n";
    return kExitFailed;
  }
  return CopyFileTo(jobs[static_cast<size_t>(index)], out) ? kExitOk : kExitFailed;
}

int Clear(const std::string& path, const std::string& name, std::ostream& err) {
  if (truncate(path.c_str(), 0) != 0) {
    err << "vorna-lab: printer " << name << ": " << std::strerror(errno) << "\n";
    return kExitFailed;
  }
  RemoveJobRecords(path);
  return kExitOk;
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const std::string command = args.empty() ? "" : args[0];
  if (command == "list" && args.size() == 1) return List(out);
  const bool named = command == "add" || command == "remove" || command == "jobs" ||
                     command == "bytes" || command == "clear";
  if (!named || args.size() < 2 || args.size() > (command == "bytes" ? 3u : 2u)) {
    err << kPrinterCommands.usage;
    return kExitUsage;
  }
  const std::string& name = args[1];
  if (!ValidName(name)) {
    err << "vorna-lab: a printer name has no '/' and does not start with '.'\n";
    return kExitUsage;
  }
  const std::string path = DeviceLabPrinterFolder() + name;
  if (command == "add") return Add(path, name, out, err);
  if (command == "remove") return Remove(path, name, err);
  if (FileSize(path) < 0) {
    err << "vorna-lab: printer " << name << " does not exist\n";
    return kExitFailed;
  }
  if (command == "jobs") return Jobs(path, out);
  if (command == "clear") return Clear(path, name, err);
  return Bytes(path, args.size() == 3 ? args[2] : "", out, err);
}

}  // namespace

const CommandGroup kPrinterCommands = {
    "printer",
    "  vorna-lab printer add NAME        plug in a virtual printer\n"
    "  vorna-lab printer remove NAME     unplug it (its received bytes go too)\n"
    "  vorna-lab printer list            printers, bytes and jobs received\n"
    "  vorna-lab printer jobs NAME       the jobs a printer received\n"
    "  vorna-lab printer bytes NAME [N]  all bytes received, or job N (-1 = newest)\n"
    "  vorna-lab printer clear NAME      forget what it received\n",
    Run};

}  // namespace vorna::lab
