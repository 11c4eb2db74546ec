// The checks a translator or table writer runs on a definition source
// (UTF-8) before it goes into the program:
//   - every character has a Windows-1250 byte, no NUL, no line over 9999
//     characters, and the text parses;
//   - every text the program asks for exists in every language and variant,
//     taking the fallback to the first language into account;
//   - parameters are numbered from 1 without gaps (rows beyond a gap are
//     never shown) and end at 999;
//   - each "XI" is a format with exactly one integer conversion;
//   - the report's date format ("P" 0) uses only POSIX strftime conversions;
//   - a translated parameter has as many choices as in the first language;
//   - no variant-specific row lands in the previous language's last variant
//     for want of a "V" line.
// Rows that a later language leaves to the first one are reported as notes,
// which do not fail the check.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct LintFinding {
    int32_t line;         // from 1
    bool note;            // informational only
    std::string message;  // UTF-8
};

// Findings in line order.
std::vector<LintFinding> lintDefinitionSource(std::string_view utf8);
bool hasFailures(const std::vector<LintFinding>& findings);
