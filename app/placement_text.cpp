#include "app/placement_text.h"

#include <cstring>

static_assert(sizeof(PlacementRecord) == kPlacementRecordBytes, "record must match the stored bytes");

namespace {

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Bytes are copied in memory order; both targets of this program are
// little-endian, which is what the stored format says.
void recordBytes(const PlacementRecord& record, uint8_t* bytes) {
    std::memcpy(bytes, &record, kPlacementRecordBytes);
}

}  // namespace

std::string encodePlacementText(const PlacementRecord& record) {
    static const char kDigits[] = "0123456789ABCDEF";
    uint8_t bytes[kPlacementRecordBytes];
    recordBytes(record, bytes);
    std::string text;
    text.reserve(kPlacementTextDigits);
    for (uint8_t b : bytes) {
        text += kDigits[b >> 4];
        text += kDigits[b & 0x0F];
    }
    return text;
}

bool decodePlacementText(std::string_view text, PlacementRecord& record) {
    if ((text.size() & ~size_t{1}) != kPlacementTextDigits) return false;
    uint8_t bytes[kPlacementRecordBytes];
    for (int32_t i = 0; i < kPlacementRecordBytes; ++i) {
        const int high = hexDigitValue(text[2 * i]);
        const int low = hexDigitValue(text[2 * i + 1]);
        if (high < 0 || low < 0) return false;
        bytes[i] = static_cast<uint8_t>(high * 16 + low);
    }
    PlacementRecord decoded;
    std::memcpy(&decoded, bytes, kPlacementRecordBytes);
    if (decoded.length != kPlacementRecordBytes) return false;
    if (decoded.showCmd == kShowCmdHide) decoded.showCmd = kShowCmdNormal;
    record = decoded;
    return true;
}
