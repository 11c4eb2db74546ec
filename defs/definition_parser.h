// The definition table's text format, by example:
//
//   Y;"English"                 language header: opens the table "English"
//   Q;"Save";"Open";"Print"     plain row: key Q, fields Save, Open, Print
//   X;"Entry delay";"10 s"      auto-numbered parameter: stored as X1-0
//   XI;"%d min"                 keys beginning X, T, H, K get "-<variant>"
//   V;105                       variant header: following X/T/H/K rows are -105
//   X;"Entry delay";"0";"20 s"  stored as X1-105 (the counter restarts at V)
//
// Lines end at LF (a CR belongs to the line). Fields are separated by ";" or
// "," outside double quotes; a quote toggles quoting, there is no escape. A
// field's value skips leading white space and quotes and runs to the next
// quote (the key also stops at ";"). Keys are upper-cased (a..z only); values
// are bytes taken over unchanged. A row holds fields 1.. up to the first
// empty one; a line with an empty field 1 stores nothing. Lines longer than
// 9999 characters end the parse after their first 9999. The only errors are
// "Missing Y identifier" and "Missing language name".
#pragma once

#include <cstdint>
#include <iosfwd>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// Fields 1, 2, ... of one definition line; never empty once stored.
using Row = std::vector<std::string>;
// Row key to row, byte-wise ordered.
using LanguageTable = std::map<std::string, Row>;

struct DefinitionDatabase {
    std::map<std::string, LanguageTable> languages;  // byte-wise ordered names
    std::string parseError;                          // empty when accepted
    std::string firstLanguage;                       // name of the first "Y" line
    std::vector<int32_t> variants;                   // "V" numbers, first appearance
};

constexpr size_t kMaxDefinitionLine = 9999;

// Field n of a line (field 0 is the key, not yet upper-cased).
std::string splitField(std::string_view line, int n);

DefinitionDatabase parseDefinitions(std::string_view text);
// Reads the stream to its end, then parses the bytes.
DefinitionDatabase parseDefinitions(std::istream& input);

// Where the parsed content came from, for tools that report by line number.
// Lines are counted from 1.
struct DefinitionSourceMap {
    // language -> stored key -> line of the row in effect (the last one stored)
    std::map<std::string, std::map<std::string, int32_t>> rowLines;
    // language -> line of its "Y" line (the last one, if repeated)
    std::map<std::string, int32_t> languageLines;
    // language -> variant -> line that opened that variant's section in the
    // language: its "V" line, or the "Y" line for the variant in effect there
    std::map<std::string, std::map<int32_t, int32_t>> sectionLines;
    // language -> first line of a variant-specific row stored before any "V"
    // line of the section while a non-zero variant carried over from the
    // previous language was in effect
    std::map<std::string, int32_t> carriedVariantLines;
    int32_t errorLine = 0;  // line of the parse error; 0 when none
};

// As parseDefinitions, also filling `sources`.
DefinitionDatabase parseDefinitions(std::string_view text, DefinitionSourceMap& sources);

// The variant-specific key for a row key: "%s-%d" for keys beginning with
// X, T, H or K, the key itself otherwise. Shared by the parser and lookup.
bool isVariantKey(std::string_view key);
std::string variantKey(std::string_view key, int32_t variant);

// Decimal number as the definition format reads it: leading white space and
// a sign, digits up to the first non-digit, 0 without digits (clamped to the
// 32-bit range).
int32_t parseLeadingInt(std::string_view text);
