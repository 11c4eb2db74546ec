// The stored main-window placement: the 44 bytes of the platform's
// WINDOWPLACEMENT record as text, two hexadecimal digits per byte, no
// separators. By example (88 digits, fields little-endian 32-bit):
//
//   2C000000 00000000 01000000 FFFFFFFF FFFFFFFF FFFFFFFF FFFFFFFF
//   length   flags    showCmd  minX     minY     maxX     maxY
//   64000000 78000000 BC020000 30020000
//   left     top      right    bottom
//
// Written upper case; read in either case. 88 or 89 characters are accepted
// (the 89th is ignored, a leftover of an older writer's terminator), any
// other length, a non-hexadecimal pair, or a length field other than 44
// rejects the whole value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Mirrors WINDOWPLACEMENT field for field; the Win32 shell copies between
// the two (their sizes are checked to match there).
struct PlacementRecord {
    int32_t length = 0;
    int32_t flags = 0;
    int32_t showCmd = 0;
    int32_t minX = 0, minY = 0;
    int32_t maxX = 0, maxY = 0;
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

constexpr int32_t kPlacementRecordBytes = 44;
constexpr size_t kPlacementTextDigits = 88;
// Show states as the platform numbers them.
constexpr int32_t kShowCmdHide = 0;
constexpr int32_t kShowCmdNormal = 1;

// 88 upper-case digits ("%02.2X" per byte, memory order).
std::string encodePlacementText(const PlacementRecord& record);

// The record stored in `text`, or false when the value must be ignored.
// A stored hidden show state is turned into the normal one: applying it
// would leave the program running with no window the user could reach.
bool decodePlacementText(std::string_view text, PlacementRecord& record);
