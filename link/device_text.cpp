#include "link/device_text.h"

#include <cstdio>

namespace {

constexpr int32_t kLastRegister = 255;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

// Compared without forming base + length, which overflows for a length
// near the top of the range.
bool fieldFitsRegisters(int32_t base, int32_t length) {
    return base >= 0 && base <= kLastRegister && length >= 1 && length <= kLastRegister + 1 - base;
}

bool digitStringBytes(const std::string& text, int32_t length, std::vector<uint8_t>& bytes) {
    bytes.clear();
    for (int32_t i = 0; i + 1 < length; ++i) {
        const size_t at = static_cast<size_t>(i);
        if (at >= text.size()) {
            bytes.push_back(0);
            continue;
        }
        if (!isDigit(text[at])) return false;
        bytes.push_back(static_cast<uint8_t>(text[at]));
    }
    if (length >= 1) bytes.push_back(0);
    return true;
}

bool allDigits(const std::string& text) {
    for (char c : text)
        if (!isDigit(c)) return false;
    return true;
}

bool bcdFromText(const std::string& text, uint8_t& value) {
    uint8_t v = 0;
    if (!text.empty()) {
        if (!isDigit(text[0])) return false;
        v = static_cast<uint8_t>((text[0] - '0') << 4);
    }
    if (text.size() >= 2) {
        if (!isDigit(text[1])) return false;
        v = static_cast<uint8_t>(v | (text[1] - '0'));
    }
    value = v;
    return true;
}

std::string textFromBcd(uint8_t value) {
    std::string text;
    text += static_cast<char>('0' + (value >> 4));
    text += static_cast<char>('0' + (value & 0x0F));
    return text;
}

std::string formatVersion(int32_t deviceId) {
    if (deviceId <= 0) return std::string();
    // "%d.%02.2d" in the unit's documentation; the 0 flag is ignored next to
    // a precision, so this is the same text without the compiler's warning.
    char text[50];
    std::snprintf(text, sizeof text, "%d.%.2d", static_cast<int>(deviceId / 100), static_cast<int>(deviceId % 100));
    return text;
}
