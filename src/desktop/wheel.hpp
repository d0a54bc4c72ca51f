#pragma once
// The wheel rules of the two hook slots: how far one wheel message moves, which way, and the
// clamping to the target's range. Only the sign of the rotation counts.
#include <cstdint>
#include <optional>

namespace orv {

enum class WheelSlot { Calendar = 1, AddDialog = 2 };

inline constexpr unsigned kStandardWheelMessage = 0x020A;

// Days (calendar) or list items (add-entry dialog) per wheel message for the option
// MicrosoftWheelMouseChange: 0 a week (five items), 1 one; anything else does not move.
int WheelStep(WheelSlot slot, std::int32_t wheel_mouse_change);

// The rotation of a wheel message: the signed high word of wParam for the standard message,
// wParam itself for the registered one; nullopt for any other message.
std::optional<std::int64_t> WheelRotation(unsigned message, std::uint64_t wparam,
                                          unsigned registered_message);

// The target's new value: toward the user (rotation 0 or below) adds the step, away from
// the user subtracts it; then raised to `low` and after that lowered to `high` (so an empty
// list with low 1 and high 0 gives 0).
int WheelValue(int value, std::int64_t rotation, int step, int low, int high);

}  // namespace orv
