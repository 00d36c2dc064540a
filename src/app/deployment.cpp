#include "app/deployment.h"

#include "app/ini_file.h"
#include "app/paths.h"

namespace vorna {
namespace {

std::string WithoutTrailingSlash(std::string value) {
  while (!value.empty() && value.back() == '/') value.pop_back();
  return value;
}

}  // namespace

Deployment LoadDeploymentFrom(const std::string& iniPath) {
  Deployment d;
  d.serviceOrigin = WithoutTrailingSlash(
      ReadIniString(iniPath, "deployment", "ServiceOrigin", "https://merchant.vorna.example"));
  d.vendorSite = ReadIniString(iniPath, "deployment", "VendorSite", "https://www.vorna.example");
  d.channelHost = WithoutTrailingSlash(
      ReadIniString(iniPath, "deployment", "ChannelHost", "https://channel.vorna.example"));
  return d;
}

Deployment LoadDeployment() { return LoadDeploymentFrom(ProgramDirectory() + "deployment.ini"); }

std::string StartUrlOf(const Deployment& deployment) {
  return deployment.serviceOrigin + "/master/login";
}

std::string StartUrl() { return StartUrlOf(LoadDeployment()); }

std::string MainWindowTitle() {
  return std::string(kProductName) + " (版本" + kProductVersion + ")";
}

}  // namespace vorna
