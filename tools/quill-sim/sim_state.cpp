#include "tools/quill-sim/sim_state.h"

#include <sstream>

namespace {

constexpr int64_t kMaxByte = 255;
constexpr int64_t kMaxIdentity = 65535;

bool isIdentityRegister(int32_t address) {
    return address == kIdentityLowRegister || address == kIdentityHighRegister;
}

// One line's words applied to `unit`; an empty result, or what is wrong.
std::string applyLine(const std::vector<std::string>& words, SimUnit& unit) {
    const std::string& key = words[0];
    int64_t a = 0;
    int64_t v = 0;
    if (key == "identity" && words.size() == 2) {
        if (!parseSimNumber(words[1], kMaxIdentity, v)) return "identity out of 0..65535";
        setIdentity(unit, static_cast<int32_t>(v));
        return std::string();
    }
    if ((key == "register" || key == "count") && words.size() == 3) {
        if (!parseSimNumber(words[1], kMaxByte, a) || !parseSimNumber(words[2], kMaxByte, v))
            return "numbers must be 0..255";
        (key == "register" ? unit.registers : unit.choiceCounts)[a] = static_cast<uint8_t>(v);
        return std::string();
    }
    return "expected 'identity N', 'register ADDR VALUE' or 'count ADDR VALUE'";
}

}  // namespace

// Every character is checked here: strtoll alone would skip leading blanks
// and stop at an embedded NUL, taking " 3" or "3\0x" for 3.
bool parseSimNumber(const std::string& text, int64_t max, int64_t& value) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const size_t start = hex ? 2 : 0;
    const char* const digits = hex ? "0123456789abcdefABCDEF" : "0123456789";
    if (text.size() == start || text.find_first_not_of(digits, start) != std::string::npos) return false;
    int64_t v = 0;
    for (size_t i = start; i < text.size(); ++i) {
        const char c = text[i];
        const int digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
        v = v * (hex ? 16 : 10) + digit;
        if (v > max) return false;
    }
    value = v;
    return true;
}

void parseSimState(const std::string& text, SimUnit& unit, std::vector<std::string>& problems) {
    std::istringstream lines(text);
    std::string line;
    for (int32_t number = 1; std::getline(lines, line); ++number) {
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::istringstream in(line);
        std::vector<std::string> words;
        for (std::string w; in >> w;) words.push_back(w);
        if (words.empty()) continue;
        const std::string problem = applyLine(words, unit);
        if (!problem.empty()) problems.push_back("line " + std::to_string(number) + ": " + problem);
    }
}

std::string formatSimState(const SimUnit& unit) {
    std::ostringstream out;
    out << "# quill-sim state: identity N, register ADDR VALUE, count ADDR VALUE\n";
    out << "identity " << identityOf(unit) << "\n";
    for (int32_t a = 0; a < 256; ++a)
        if (unit.registers[a] && !isIdentityRegister(a)) out << "register " << a << " " << int(unit.registers[a]) << "\n";
    for (int32_t a = 0; a < 256; ++a)
        if (unit.choiceCounts[a]) out << "count " << a << " " << int(unit.choiceCounts[a]) << "\n";
    return out.str();
}
