// The arithmetic and rules behind the dialogs, free of any window.
#pragma once

#include <cstdint>
#include <string_view>

struct ScreenRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct ScreenPoint {
    int32_t x = 0, y = 0;
};

// Top-left corner that centres `dialog` on `parent` (screen pixels). The
// halves truncate toward zero, so a dialog larger than its parent overhangs
// it by half the difference on each side (rounded toward the parent's edge).
// Any coordinates are taken, extreme stored ones included: the result is
// exact where it fits 32 bits and limited to that range otherwise.
ScreenPoint centredOrigin(const ScreenRect& dialog, const ScreenRect& parent);

// Whether the entry dialog's OK may be pressed for `entered`. A field with a
// required length (> 0) needs exactly that many characters; the others take
// any length up to their limit, the empty text included. Every field holds
// digits only: the edit control refuses typed letters but not pasted ones,
// and these texts go to the unit's digit registers.
bool entryAcceptable(int32_t requiredLength, std::string_view entered);
