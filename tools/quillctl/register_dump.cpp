// Register dump, as written:
//
//   quill-dump identity 105 version 1.05 time 2026-12-06 14:03:22
//   0 0
//   1 3
//   ...
//   181 49        digit fields as character codes ('1')
//   ...
//   252 89        the BCD pair 0x59
//
// As read: lines end in a line feed, a carriage return before it is
// dropped. Empty lines and lines starting with '#' are skipped. The first
// other line is the header: "quill-dump", "identity", a number 0..65535,
// then anything (the version and the time are for people). Every further
// line is two decimal numbers separated by spaces or tabs: the register
// 0..252 and its value 0..255, each register exactly once, in any order.
#include "tools/quillctl/register_dump.h"

#include "link/device_text.h"

#include <sstream>
#include <vector>

namespace {

constexpr const char* kDumpMagic = "quill-dump";
constexpr const char* kIdentityWord = "identity";
constexpr int32_t kMaxIdentity = 65535;
constexpr int32_t kMaxValue = 255;

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

// A whole unsigned decimal number of up to six digits.
bool number(const std::string& text, int32_t& value) {
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    value = std::stoi(text);
    return true;
}

bool readHeader(const std::vector<std::string>& w, const std::string& line, RegisterDump& dump) {
    if (w.size() < 3 || w[0] != kDumpMagic || w[1] != kIdentityWord || !number(w[2], dump.identity) ||
        dump.identity > kMaxIdentity)
        return false;
    const size_t at = line.find(" time ");
    dump.time = at == std::string::npos ? std::string() : line.substr(at + 6);
    return true;
}

bool fail(std::string& reason, int32_t lineNumber, const std::string& what) {
    reason = "line " + std::to_string(lineNumber) + ": " + what;
    return false;
}

}  // namespace

std::string composeRegisterDump(const RegisterDump& dump) {
    std::string text = std::string(kDumpMagic) + " " + kIdentityWord + " " + std::to_string(dump.identity) +
                       " version " + formatVersion(dump.identity) + " time " + dump.time + "\n";
    for (int32_t r = 0; r < kDumpRegisters; ++r) text += std::to_string(r) + " " + std::to_string(dump.values[r]) + "\n";
    return text;
}

bool parseRegisterDump(const std::string& text, RegisterDump& dump, std::string& reason) {
    std::istringstream in(text);
    bool header = false;
    std::vector<bool> seen(kDumpRegisters, false);
    int32_t lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::vector<std::string> w = words(line);
        if (w.empty() || w[0][0] == '#') continue;
        if (!header) {
            if (!readHeader(w, line, dump)) return fail(reason, lineNumber, "not a quill-dump header");
            header = true;
            continue;
        }
        int32_t address = 0, value = 0;
        if (w.size() != 2 || !number(w[0], address) || !number(w[1], value))
            return fail(reason, lineNumber, "not ADDR VALUE");
        if (address >= kDumpRegisters) return fail(reason, lineNumber, "register " + w[0] + " is not in 0..252");
        if (value > kMaxValue) return fail(reason, lineNumber, "value " + w[1] + " is over 255");
        if (seen[address]) return fail(reason, lineNumber, "register " + w[0] + " given twice");
        seen[address] = true;
        dump.values[address] = static_cast<uint8_t>(value);
    }
    if (!header) return fail(reason, lineNumber, "no quill-dump header");
    for (int32_t r = 0; r < kDumpRegisters; ++r)
        if (!seen[r]) {
            reason = "register " + std::to_string(r) + " is missing";
            return false;
        }
    return true;
}
