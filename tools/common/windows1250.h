// The definition source is UTF-8 for the people who write it; the program's
// texts are 8-bit Windows-1250 (shown through the single-byte "A" calls).
// This is the one conversion between the two, used by the embedding step,
// the lint, and the tools that print the table's texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct EncodingProblem {
    int32_t line;         // from 1
    int32_t column;       // in characters, from 1
    std::string message;  // UTF-8, names the character
};

// Converts UTF-8 to Windows-1250. A leading byte-order mark is dropped (some
// editors write one; it would otherwise become part of the first key). Each
// character without a Windows-1250 byte, each malformed UTF-8 sequence and
// each NUL (the program's table ends at the first NUL) is a problem and
// becomes '?' in `out`. True when there were no problems.
bool utf8ToWindows1250(std::string_view utf8, std::string& out, std::vector<EncodingProblem>& problems);

// The reverse, for quoting program text in messages. Bytes that Windows-1250
// leaves undefined become U+FFFD.
std::string windows1250ToUtf8(std::string_view text);
