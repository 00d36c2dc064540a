#pragma once
// The print thread's list of printer paths, rebuilt at thread start and on
// every re-discovery job. Jobs use the first path.
#include <functional>
#include <string>
#include <vector>

namespace vorna {

class PrinterLocator {
 public:
  using Discover = std::function<std::vector<std::string>()>;
  // Without `discover`, real USB printers then the lab's.
  explicit PrinterLocator(Discover discover = {});

  void refresh();
  // False when no printer is known.
  bool firstPath(std::string& path) const;
  const std::vector<std::string>& paths() const { return paths_; }

 private:
  Discover discover_;
  std::vector<std::string> paths_;
};

}  // namespace vorna
