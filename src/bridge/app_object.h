#pragma once
// Defines the page's `app` object in a script context: the wrappers, each
// calling one native function that hands its arguments to the handler.
#include <jsc/jsc.h>

#include <string>

#include "bridge/app_extension_handler.h"

namespace vorna {

void DefineAppObject(JSCContext* context, AppExtensionHandler& handler);

// One native function that runs `name` on the handler (a new reference).
JSCValue* NewNativeFunction(JSCContext* context, AppExtensionHandler& handler,
                            const std::string& name);

}  // namespace vorna
