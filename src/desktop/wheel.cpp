#include "desktop/wheel.hpp"

namespace orv {

int WheelStep(WheelSlot slot, std::int32_t wheel_mouse_change) {
  switch (wheel_mouse_change) {
    case 0: return slot == WheelSlot::Calendar ? 7 : 5;
    case 1: return 1;
    default: return 0;
  }
}

std::optional<std::int64_t> WheelRotation(unsigned message, std::uint64_t wparam,
                                          unsigned registered_message) {
  if (message == kStandardWheelMessage)
    return static_cast<std::int16_t>(static_cast<std::uint16_t>((wparam >> 16) & 0xFFFF));
  if (registered_message != 0 && message == registered_message)
    return static_cast<std::int64_t>(wparam);
  return std::nullopt;
}

int WheelValue(int value, std::int64_t rotation, int step, int low, int high) {
  int v = rotation <= 0 ? value + step : value - step;
  if (v < low) v = low;
  if (v > high) v = high;
  return v;
}

}  // namespace orv
