// Register operations built on submitRequest: verified writes, digit-string
// fields and the BCD pair. They run on the submitting (user-interface)
// thread.
#include "link/link.h"

#include "link/device_text.h"
#include "link/frame.h"

#include <vector>

namespace {

uint8_t registerAt(int32_t base, int32_t offset) {
    return static_cast<uint8_t>(base + offset);
}

}  // namespace

bool writeVerified(uint8_t address, uint8_t value) {
    if (!submitRequest(kOpWrite, address, value, nullptr)) return false;
    uint8_t readBack = 0;
    if (!submitRequest(kOpRead, address, 0, &readBack)) return false;
    return readBack == value;
}

bool readDigitString(int32_t base, int32_t length, std::string& text) {
    text.clear();
    if (!fieldFitsRegisters(base, length)) return false;
    for (int32_t i = 0; i + 1 < length; ++i) {
        uint8_t byte = 0;
        if (!submitRequest(kOpRead, registerAt(base, i), 0, &byte)) return false;
        if (byte == 0) break;
        text += static_cast<char>(byte);
    }
    return true;
}

bool writeDigitString(int32_t base, const std::string& text, int32_t length) {
    if (!fieldFitsRegisters(base, length)) return false;
    std::vector<uint8_t> bytes;
    const bool allDigits = digitStringBytes(text, length, bytes);
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (!writeVerified(registerAt(base, static_cast<int32_t>(i)), bytes[i])) return false;
    }
    return allDigits;
}

bool readBcdPair(std::string& text) {
    uint8_t value = 0;
    if (!submitRequest(kOpRead, kBcdRegister, 0, &value)) return false;
    text = textFromBcd(value);
    return true;
}

bool writeBcdPair(const std::string& text) {
    uint8_t value = 0;
    if (!bcdFromText(text, value)) return false;
    return writeVerified(kBcdRegister, value);
}
