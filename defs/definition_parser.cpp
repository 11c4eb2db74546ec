#include "defs/definition_parser.h"

#include <algorithm>
#include <istream>
#include <iterator>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string upperAscii(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

struct ParserState {
    DefinitionDatabase db;
    std::string language;
    int32_t xCounter = 1;
    int32_t variant = 0;
    // Line tracking for tools; the program parses without it.
    DefinitionSourceMap* sources = nullptr;
    int32_t lineNumber = 0;
    bool variantLineInSection = false;
};

void noteSection(ParserState& st, int32_t variant) {
    if (!st.sources) return;
    st.sources->sectionLines[st.language].emplace(variant, st.lineNumber);
}

// A repeated "Y" line starts its language afresh, and so do its lines.
void noteLanguage(ParserState& st) {
    if (!st.sources) return;
    st.sources->languageLines[st.language] = st.lineNumber;
    st.sources->rowLines[st.language].clear();
    st.sources->sectionLines[st.language].clear();
    st.sources->carriedVariantLines.erase(st.language);
    noteSection(st, st.variant);
}

void noteRow(ParserState& st, const std::string& key) {
    if (!st.sources) return;
    st.sources->rowLines[st.language][key] = st.lineNumber;
    if (isVariantKey(key) && !st.variantLineInSection && st.variant != 0)
        st.sources->carriedVariantLines.emplace(st.language, st.lineNumber);
}

bool fail(ParserState& st, const char* message) {
    st.db.parseError = message;
    if (st.sources) st.sources->errorLine = st.lineNumber;
    return false;
}

// Splits off the next line as a 10000-byte getline would: up to LF (consumed),
// at most 9999 characters. Returns false when the stream would no longer be
// good afterwards (end of text, or an overlong line).
bool nextLine(std::string_view text, size_t& pos, std::string_view& line) {
    const size_t rest = text.size() - pos;
    const size_t scan = std::min(rest, kMaxDefinitionLine + 1);
    const size_t lf = text.substr(pos, scan).find('\n');
    if (lf != std::string_view::npos) {
        line = text.substr(pos, lf);
        pos += lf + 1;
        return true;
    }
    line = text.substr(pos, std::min(rest, kMaxDefinitionLine));
    pos = text.size();
    return false;
}

void addVariant(ParserState& st, int32_t number) {
    auto& v = st.db.variants;
    if (std::find(v.begin(), v.end(), number) == v.end()) v.push_back(number);
}

// Returns false when the line ends the parse with an error.
bool parseLine(ParserState& st, std::string_view line) {
    // A line is a C string to the field splitter: it ends at a NUL byte.
    line = line.substr(0, line.find('\0'));
    std::string key = upperAscii(splitField(line, 0));
    if (key != "Y" && st.language.empty()) return fail(st, "Missing Y identifier");
    if (key == "Y") {
        std::string name = splitField(line, 1);
        if (name.empty()) return fail(st, "Missing language name");
        st.db.languages[name] = LanguageTable();
        st.language = name;
        if (st.db.firstLanguage.empty()) st.db.firstLanguage = name;
        st.xCounter = 1;
        st.variantLineInSection = false;
        noteLanguage(st);
        return true;
    }
    if (key == "X") key = "X" + std::to_string(st.xCounter++);
    key = variantKey(key, st.variant);

    std::string first = splitField(line, 1);
    if (first.empty()) return true;
    if (key == "V") {
        st.variant = parseLeadingInt(first);
        st.xCounter = 1;
        st.variantLineInSection = true;
        addVariant(st, st.variant);
        noteSection(st, st.variant);
        return true;
    }
    Row row;
    for (int n = 1; !first.empty(); first = splitField(line, ++n)) row.push_back(first);
    st.db.languages[st.language][key] = std::move(row);
    noteRow(st, key);
    return true;
}

DefinitionDatabase parseWith(ParserState& st, std::string_view text) {
    size_t pos = 0;
    for (;;) {
        std::string_view line;
        const bool more = nextLine(text, pos, line);
        ++st.lineNumber;
        if (!parseLine(st, line) || !more) break;
    }
    return std::move(st.db);
}

}  // namespace

std::string splitField(std::string_view line, int n) {
    size_t i = 0;
    bool quoted = false;
    for (int passed = 0; passed < n; ++i) {
        if (i >= line.size()) return std::string();
        const char c = line[i];
        if (c == '"') quoted = !quoted;
        else if (!quoted && (c == ';' || c == ',')) ++passed;
    }
    while (i < line.size() && (isBlank(line[i]) || line[i] == '"')) ++i;
    const size_t start = i;
    while (i < line.size() && line[i] != '"' && !(n == 0 && line[i] == ';')) ++i;
    return std::string(line.substr(start, i - start));
}

bool isVariantKey(std::string_view key) {
    return !key.empty() && (key[0] == 'X' || key[0] == 'T' || key[0] == 'H' || key[0] == 'K');
}

std::string variantKey(std::string_view key, int32_t variant) {
    std::string out(key);
    if (isVariantKey(key)) out += "-" + std::to_string(variant);
    return out;
}

int32_t parseLeadingInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > 2147483648LL) value = 2147483648LL;
    }
    if (negative) value = -value;
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

DefinitionDatabase parseDefinitions(std::string_view text) {
    ParserState st;
    return parseWith(st, text);
}

DefinitionDatabase parseDefinitions(std::string_view text, DefinitionSourceMap& sources) {
    sources = DefinitionSourceMap();
    ParserState st;
    st.sources = &sources;
    return parseWith(st, text);
}

DefinitionDatabase parseDefinitions(std::istream& input) {
    const std::string source((std::istreambuf_iterator<char>(input)), std::istreambuf_iterator<char>());
    return parseDefinitions(source);
}
