// Register operations built on submitRequest: verified writes, digit-string
// fields and the BCD pair. They run on the link's submitting thread, every
// request on the session's connection.
#include "link/link.h"

#include "link/device_text.h"
#include "link/frame.h"

#include <vector>

namespace {

uint8_t registerAt(int32_t base, int32_t offset) {
    return static_cast<uint8_t>(base + offset);
}

}  // namespace

bool writeVerified(const LinkSession& session, uint8_t address, uint8_t value) {
    if (!submitRequest(session, kOpWrite, address, value, nullptr)) return false;
    uint8_t readBack = 0;
    if (!submitRequest(session, kOpRead, address, 0, &readBack)) return false;
    return readBack == value;
}

bool readDigitString(const LinkSession& session, int32_t base, int32_t length, std::string& text) {
    text.clear();
    if (!fieldFitsRegisters(base, length)) return false;
    for (int32_t i = 0; i + 1 < length; ++i) {
        uint8_t byte = 0;
        if (!submitRequest(session, kOpRead, registerAt(base, i), 0, &byte)) return false;
        if (byte == 0) break;
        text += static_cast<char>(byte);
    }
    return true;
}

bool writeDigitString(const LinkSession& session, int32_t base, const std::string& text, int32_t length) {
    if (!fieldFitsRegisters(base, length)) return false;
    std::vector<uint8_t> bytes;
    const bool allDigits = digitStringBytes(text, length, bytes);
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (!writeVerified(session, registerAt(base, static_cast<int32_t>(i)), bytes[i])) return false;
    }
    return allDigits;
}

bool readBcdPair(const LinkSession& session, std::string& text) {
    uint8_t value = 0;
    if (!submitRequest(session, kOpRead, kBcdRegister, 0, &value)) return false;
    text = textFromBcd(value);
    return true;
}

bool writeBcdPair(const LinkSession& session, const std::string& text) {
    uint8_t value = 0;
    if (!bcdFromText(text, value)) return false;
    return writeVerified(session, kBcdRegister, value);
}
