#pragma once
// Deployment values from deployment.ini beside the executable, section
// [deployment]; compiled defaults under the reserved .example domain.
#include <string>

namespace vorna {

struct Deployment {
  std::string serviceOrigin;  // https://host[:port], no trailing '/'
  std::string vendorSite;
  std::string channelHost;
};

Deployment LoadDeployment();  // reads <program directory>deployment.ini
Deployment LoadDeploymentFrom(const std::string& iniPath);
std::string StartUrl();  // serviceOrigin + "/master/login"
std::string StartUrlOf(const Deployment& deployment);

inline constexpr const char* kProductName = "Vorna商户端";
inline constexpr const char* kProductVersion = "2.0.1";
inline constexpr const char* kWindowClass = "TILLSHELL";
// "%s (版本%s)" filled with the product name and version.
std::string MainWindowTitle();

}  // namespace vorna
