#include "tools/common/windows1250.h"

#include <cstdio>

namespace {

// Code points of the bytes 0x80..0xFF; 0 where Windows-1250 defines none.
// Bytes below 0x80 are ASCII.
const uint16_t kHighHalf[128] = {
    0x20AC, 0, 0x201A, 0, 0x201E, 0x2026, 0x2020, 0x2021,            // 0x80
    0, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,       // 0x88
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,       // 0x90
    0, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,       // 0x98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // 0xA0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // 0xA8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // 0xB8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // 0xC0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // 0xC8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // 0xD0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // 0xD8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // 0xE0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // 0xE8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // 0xF0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // 0xF8
};

constexpr uint32_t kReplacement = 0xFFFD;
constexpr char kUnmappable = '?';

bool toWindows1250(uint32_t codePoint, char& byte) {
    if (codePoint < 0x80) {
        byte = static_cast<char>(codePoint);
        return true;
    }
    for (int i = 0; i < 128; ++i) {
        if (kHighHalf[i] != 0 && kHighHalf[i] == codePoint) {
            byte = static_cast<char>(0x80 + i);
            return true;
        }
    }
    return false;
}

// How many continuation bytes follow a lead byte; -1 for no lead byte.
int continuationBytes(unsigned char lead) {
    if (lead < 0x80) return 0;
    if ((lead & 0xE0) == 0xC0) return 1;
    if ((lead & 0xF0) == 0xE0) return 2;
    if ((lead & 0xF8) == 0xF0) return 3;
    return -1;
}

// Decodes one UTF-8 sequence at `i` and moves past it; a malformed one
// (bad lead or continuation, overlong, surrogate, above U+10FFFF) moves one
// byte and returns false.
bool decodeUtf8(std::string_view s, size_t& i, uint32_t& codePoint) {
    const auto lead = static_cast<unsigned char>(s[i]);
    const int extra = continuationBytes(lead);
    if (extra < 0 || i + extra >= s.size()) {
        ++i;
        return false;
    }
    uint32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(s[i + k]);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return false;
        }
        cp = cp << 6 | (next & 0x3F);
    }
    static const uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return false;
    }
    i += extra + 1;
    codePoint = cp;
    return true;
}

void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | cp >> 6);
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | cp >> 12);
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string describe(uint32_t cp, std::string_view original) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
    if (cp == 0) return std::string(code) + " (NUL) would end the table there";
    return std::string(code) + " '" + std::string(original) + "' has no Windows-1250 byte";
}

std::string describeMalformed(unsigned char byte) {
    char text[64];
    std::snprintf(text, sizeof text, "byte 0x%02X is not valid UTF-8", byte);
    return text;
}

}  // namespace

bool utf8ToWindows1250(std::string_view utf8, std::string& out, std::vector<EncodingProblem>& problems) {
    out.clear();
    const size_t before = problems.size();
    int32_t line = 1, column = 1;
    size_t i = utf8.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    while (i < utf8.size()) {
        const size_t start = i;
        uint32_t cp = 0;
        char byte = kUnmappable;
        if (!decodeUtf8(utf8, i, cp)) {
            problems.push_back({line, column, describeMalformed(static_cast<unsigned char>(utf8[start]))});
        } else if (cp == 0 || !toWindows1250(cp, byte)) {
            problems.push_back({line, column, describe(cp, utf8.substr(start, i - start))});
            byte = kUnmappable;
        }
        out += byte;
        ++column;
        if (cp == '\n') {
            ++line;
            column = 1;
        }
    }
    return problems.size() == before;
}

std::string windows1250ToUtf8(std::string_view text) {
    std::string out;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const uint32_t cp = byte < 0x80 ? byte : kHighHalf[byte - 0x80];
        appendUtf8(out, cp == 0 && byte >= 0x80 ? kReplacement : cp);
    }
    return out;
}
