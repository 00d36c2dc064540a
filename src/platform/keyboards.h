#pragma once
// Keyboard presence: input devices that udev marks as keyboards.
namespace vorna {

bool AnyKeyboardPresent();

}  // namespace vorna
