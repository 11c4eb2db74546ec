#include "app/dialog_rules.h"

#include <algorithm>
#include <climits>

namespace {

// One axis: the coordinates come from the stored placement and may be any
// 32-bit values, so the differences are taken in 64 bits (where they cannot
// overflow) and the origin is limited to what a window position can hold.
int32_t centredStart(int32_t parentLow, int32_t parentHigh, int32_t low, int32_t high) {
    const int64_t room = (int64_t{parentHigh} - parentLow) - (int64_t{high} - low);
    // Integer division truncates toward zero, as the placement rule wants.
    const int64_t start = int64_t{parentLow} + room / 2;
    return static_cast<int32_t>(std::clamp<int64_t>(start, INT32_MIN, INT32_MAX));
}

}  // namespace

ScreenPoint centredOrigin(const ScreenRect& dialog, const ScreenRect& parent) {
    return {centredStart(parent.left, parent.right, dialog.left, dialog.right),
            centredStart(parent.top, parent.bottom, dialog.top, dialog.bottom)};
}

bool entryAcceptable(int32_t requiredLength, std::string_view entered) {
    const bool digitsOnly =
        std::all_of(entered.begin(), entered.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digitsOnly) return false;
    return requiredLength <= 0 || entered.size() == static_cast<size_t>(requiredLength);
}
