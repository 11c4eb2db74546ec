// Texts into and out of the unit's registers: a digit string written to a
// field reads back as its first N - 1 characters, a rejected one stops before
// its first non-digit; the BCD pair reads back as written (a missing second
// digit as 0) and any value shows as two characters that convert back when
// digits; a version text is the identity as N.NN.
// Input: field length(1) | register value(1) | identity(2) | text...
#include "link/device_text.h"
#include "tests/fuzz/fuzz_check.h"

#include <algorithm>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// What a field read gives: up to the first NUL, at most N - 1 characters.
std::string readBack(const std::vector<uint8_t>& registers) {
    std::string text;
    for (size_t i = 0; i + 1 < registers.size() && registers[i] != 0; ++i) text += static_cast<char>(registers[i]);
    return text;
}

void checkDigitString(const std::string& text, int32_t length) {
    std::vector<uint8_t> bytes;
    const bool ok = digitStringBytes(text, length, bytes);
    const size_t stored = static_cast<size_t>(std::max(length - 1, 0));
    const std::string kept = text.substr(0, stored);
    const size_t firstBad = std::find_if_not(kept.begin(), kept.end(), isDigit) - kept.begin();
    FUZZ_CHECK(ok == (firstBad == kept.size()), "digit check disagrees with the text");
    FUZZ_CHECK(ok || bytes.size() == firstBad, "a rejected write does not stop before its first non-digit");
    if (!ok) return;
    FUZZ_CHECK(bytes.size() == static_cast<size_t>(std::max(length, 0)), "the field is not fully rewritten");
    if (length >= 1) FUZZ_CHECK(bytes.back() == 0, "the last register is not NUL");
    FUZZ_CHECK(readBack(bytes) == kept, "the field does not read back as written");
}

void checkBcd(const std::string& text, uint8_t value) {
    uint8_t written = 0;
    if (bcdFromText(text, written)) {
        std::string expected = text.substr(0, 2);
        expected.resize(2, '0');
        FUZZ_CHECK(textFromBcd(written) == expected, "the BCD pair does not read back as written");
    } else {
        FUZZ_CHECK(!std::all_of(text.begin(), text.begin() + std::min<size_t>(2, text.size()), isDigit),
                   "two digits were refused");
    }
    const std::string shown = textFromBcd(value);
    FUZZ_CHECK(shown.size() == 2, "a register value shows as other than two characters");
    if (isDigit(shown[0]) && isDigit(shown[1])) {
        uint8_t again = 0;
        FUZZ_CHECK(bcdFromText(shown, again) && again == value, "a shown value does not convert back");
    }
}

void checkVersion(int32_t identity) {
    const std::string version = formatVersion(identity);
    const std::string expected = std::to_string(identity / 100) + "." + std::to_string(100 + identity % 100).substr(1);
    FUZZ_CHECK(version == (identity > 0 ? expected : ""), "the version text is not N.NN of the identity");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input{data, size};
    const int32_t length = static_cast<int8_t>(input.byte());
    const uint8_t value = input.byte();
    const int32_t identity = static_cast<int32_t>(input.byte()) | static_cast<int32_t>(input.byte()) << 8;
    const std::string text = input.rest();

    checkDigitString(text, length);
    checkBcd(text, value);
    checkVersion(identity);
    if (length >= 1) FUZZ_CHECK(fieldFitsRegisters(256 - length, length), "a field ending at 255 does not fit");
    return 0;
}
