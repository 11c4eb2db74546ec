// quill-sim's state file, as a person edits it. Properties: a number is
// taken exactly when the whole word is decimal digits, or 0x and
// hexadecimal digits, and its value is within range; the state the file
// gives writes out as a file that reads back, without problems, as the same
// state and writes out as the same text; every ignored line is reported.
#include "tests/fuzz/fuzz_check.h"
#include "tools/quill-sim/sim_state.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <sstream>

namespace {

// The number a word stands for, or -1; digits only, no blanks, no sign.
int64_t wordValue(const std::string& word) {
    const bool hex = word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X');
    const std::string digits = hex ? word.substr(2) : word;
    const int base = hex ? 16 : 10;
    if (digits.empty()) return -1;
    int64_t value = 0;
    for (char c : digits) {
        const bool ok = hex ? std::isxdigit(static_cast<unsigned char>(c)) != 0 : (c >= '0' && c <= '9');
        if (!ok) return -1;
        const int d = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10;
        value = std::min<int64_t>(value * base + d, int64_t{1} << 40);
    }
    return value;
}

void checkNumber(const std::string& word) {
    for (int64_t max : {int64_t{255}, int64_t{65535}}) {
        int64_t value = -7;
        const int64_t expected = wordValue(word);
        const bool ok = parseSimNumber(word, max, value);
        FUZZ_CHECK(ok == (expected >= 0 && expected <= max), "number taken or refused wrongly");
        if (ok) FUZZ_CHECK(value == expected, "number read with another value");
    }
}

// The words of the state file, and whole lines as a command-line value may
// be (with blanks around it).
void checkNumbers(const std::string& text) {
    std::istringstream words(text);
    for (std::string word; words >> word;) checkNumber(word);
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) checkNumber(line);
}

bool sameState(const SimUnit& a, const SimUnit& b) {
    return std::memcmp(a.registers, b.registers, sizeof a.registers) == 0 &&
           std::memcmp(a.choiceCounts, b.choiceCounts, sizeof a.choiceCounts) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    checkNumbers(text);

    SimUnit unit;
    std::vector<std::string> problems;
    parseSimState(text, unit, problems);
    FUZZ_CHECK(problems.size() <= static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1,
               "more problems than lines");

    const std::string written = formatSimState(unit);
    SimUnit reread;
    std::vector<std::string> rereadProblems;
    parseSimState(written, reread, rereadProblems);
    FUZZ_CHECK(rereadProblems.empty(), "a written state file has problems");
    FUZZ_CHECK(sameState(unit, reread), "a written state file reads back as another state");
    FUZZ_CHECK(formatSimState(reread) == written, "writing the state again gives another text");
    return 0;
}
