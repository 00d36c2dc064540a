#include "bridge/app_functions.h"

namespace vorna {
namespace {

constexpr std::string_view kHeader = "var app;if (!app) app = {};(function() {";
constexpr std::string_view kFooter = "})();";

// One wrapper line; `native` is the declaration placed before the call (empty
// for the runnable form, where the native arrives as a parameter).
std::string WrapperLine(const AppFunction& f, bool withDeclaration) {
  std::string name(f.name);
  std::string declaration =
      withDeclaration ? "native function " + name + "(); " : std::string();
  if (f.parameters == 4)
    return "  app." + name + " = function(arg1, arg2, arg3,arg4) { " + declaration + "return " +
           name + "(arg1, arg2, arg3, arg4);  };";
  if (f.parameters == 1)
    return "  app." + name + " = function(arg1) { " + declaration + "return " + name +
           "(arg1);  };";
  return "  app." + name + " = function() { " + declaration + "return " + name + "();  };";
}

}  // namespace

std::string AppExtensionSource() {
  std::string source(kHeader);
  for (const AppFunction& f : kAppFunctions) source += WrapperLine(f, true);
  source += kFooter;
  return source;
}

std::string AppInstallerSource() {
  std::string parameters;
  for (const AppFunction& f : kAppFunctions) {
    if (!parameters.empty()) parameters += ",";
    parameters += f.name;
  }
  std::string source =
      "(function(" + parameters + ") {var app = globalThis.app;if (!app) app = {};";
  for (const AppFunction& f : kAppFunctions) source += WrapperLine(f, false);
  source += "globalThis.app = app;})";
  return source;
}

}  // namespace vorna
