#include "app/dialog_rules.h"

#include <algorithm>

ScreenPoint centredOrigin(const ScreenRect& dialog, const ScreenRect& parent) {
    const int32_t parentWidth = parent.right - parent.left;
    const int32_t parentHeight = parent.bottom - parent.top;
    const int32_t width = dialog.right - dialog.left;
    const int32_t height = dialog.bottom - dialog.top;
    // C++ integer division truncates toward zero, as the placement rule wants.
    return {parent.left + (parentWidth - width) / 2, parent.top + (parentHeight - height) / 2};
}

bool entryAcceptable(int32_t requiredLength, std::string_view entered) {
    const bool digitsOnly =
        std::all_of(entered.begin(), entered.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digitsOnly) return false;
    return requiredLength <= 0 || entered.size() == static_cast<size_t>(requiredLength);
}
