// Configuration text, as written:
//
//   BRONTIVASETUP1.0
//   T1 -
//   T2 -
//   T3 -
//   T4 -
//   H -
//   K -
//   1 0           parameter 1, first choice
//   2 -1          parameter 2, no selection
//   3 4           parameter 3, fifth choice
//   -1            terminator
//
// As read: tokens separated by any run of space, tab, line feed, vertical
// tab, form feed or carriage return; the text ends at its last byte or its
// first NUL. The header and the six slot keys are whole tokens compared
// exactly (case and length); each slot key is followed by one value token of
// any content, which is skipped. Then come integers: an optional sign and
// decimal digits, within the signed 32-bit range, ending at the first
// character that cannot continue them (that character starts the next
// token, so "1 0-1" is 1, 0 and -1). They pair up as parameter and choice
// index until a parameter of -1, after which nothing is read. Numbers
// outside 1..999 are read like any other; the caller skips parameters it
// does not have.
#include "configfile/config_text.h"

#include <iterator>
#include <string_view>

namespace {

constexpr char kLineEnd = '\n';

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

struct Cursor {
    std::string_view text;
    size_t at = 0;

    void skipSpace() {
        while (at < text.size() && isSpace(text[at])) ++at;
    }
    // The next whitespace-delimited token; empty at the end of the text.
    std::string_view token() {
        skipSpace();
        const size_t start = at;
        while (at < text.size() && !isSpace(text[at])) ++at;
        return text.substr(start, at - start);
    }
    bool integer(int32_t& value) {
        skipSpace();
        size_t p = at;
        const bool negative = p < text.size() && text[p] == '-';
        if (p < text.size() && (text[p] == '-' || text[p] == '+')) ++p;
        if (p >= text.size() || !isDigit(text[p])) return false;
        // Accumulated as a negative number, which reaches INT32_MIN.
        int64_t magnitude = 0;
        for (; p < text.size() && isDigit(text[p]); ++p) {
            magnitude = magnitude * 10 + (text[p] - '0');
            if (magnitude > int64_t{INT32_MAX} + 1) return false;
        }
        if (!negative && magnitude > INT32_MAX) return false;
        value = static_cast<int32_t>(negative ? -magnitude : magnitude);
        at = p;
        return true;
    }
};

std::string_view untilFirstNul(const std::string& payload) {
    return std::string_view(payload.data(), payload.find('\0') == std::string::npos ? payload.size()
                                                                                    : payload.find('\0'));
}

bool readSlots(Cursor& cursor, std::string& reason) {
    for (const char* key : kConfigSlotKeys) {
        if (cursor.token() != key) {
            reason = std::string("slot ") + key + " missing or out of order";
            return false;
        }
        if (cursor.token().empty()) {
            reason = std::string("slot ") + key + " has no value";
            return false;
        }
    }
    return true;
}

bool readPairs(Cursor& cursor, std::vector<ConfigPair>& pairs, std::string& reason) {
    for (;;) {
        ConfigPair pair;
        if (!cursor.integer(pair.param)) {
            reason = cursor.token().empty() ? "the text ends before the terminator"
                                            : "pair " + std::to_string(pairs.size() + 1) + ": no parameter number";
            return false;
        }
        if (pair.param == kConfigTerminator) return true;
        if (!cursor.integer(pair.index)) {
            reason = "parameter " + std::to_string(pair.param) + ": no choice index";
            return false;
        }
        pairs.push_back(pair);
    }
}

}  // namespace

std::string composeConfigText(const std::vector<FormRow>& rows) {
    std::string text = std::string(kConfigHeader) + kLineEnd;
    for (const char* key : kConfigSlotKeys) text += std::string(key) + " " + kConfigSlotValue + kLineEnd;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i].hasList) continue;
        text += std::to_string(i + 1) + " " + std::to_string(rows[i].selection) + kLineEnd;
    }
    return text + std::to_string(kConfigTerminator) + kLineEnd;
}

bool parseConfigText(const std::string& payload, std::vector<ConfigPair>& pairs, std::string& reason) {
    pairs.clear();
    Cursor cursor{untilFirstNul(payload)};
    bool good = true;
    if (cursor.token() != kConfigHeader) {
        reason = std::string("no ") + kConfigHeader + " header";
        good = false;
    }
    good = good && readSlots(cursor, reason) && readPairs(cursor, pairs, reason);
    if (!good) pairs.clear();
    return good;
}

bool selectionForPair(int32_t index, int32_t itemCount, int32_t& selection) {
    if (itemCount <= 0) return false;
    selection = index < 0 ? kNoSelection : index >= itemCount ? 0 : index;
    return true;
}
