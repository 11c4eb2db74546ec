#include "defs/definition_parser.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace {

// The row stored under `key` in English; a stored row is never empty, so an
// empty one means none.
Row rowOf(const DefinitionDatabase& db, const std::string& key) {
    const auto l = db.languages.find("English");
    if (l == db.languages.end() || l->second.count(key) == 0) return {};
    return l->second.at(key);
}

std::vector<std::string> names(const DefinitionDatabase& db) {
    std::vector<std::string> out;
    for (auto& l : db.languages) out.push_back(l.first);
    return out;
}

TEST(Parser, ErrorsAfterTheRowsBeforeThemKeysFieldsAndNumbering) {
    const struct { const char* text; const char* error; } cases[] = {
        {"", "Missing Y identifier"}, {"\nY;English\n", "Missing Y identifier"}, {"  \nY;x", "Missing Y identifier"},
        {"Q;\"Save\"\nY;English\n", "Missing Y identifier"}, {"Y", "Missing language name"},
        {"Y;   ", "Missing language name"}, {"Y;\"\"", "Missing language name"},
        {"Y;\" \t\"\nQ;a", "Missing language name"}, {"Y;English\nY;\n", "Missing language name"}};
    for (const auto& c : cases) EXPECT_EQ(parseDefinitions(c.text).parseError, c.error) << c.text;
    const auto db = parseDefinitions("Y;English\nQ;\"a\"\nY;\nQ1;\"b\"\n");
    EXPECT_EQ(db.parseError, "Missing language name");
    EXPECT_EQ(rowOf(db, "Q"), Row({"a"})) << "rows before the error stay";
    EXPECT_EQ(rowOf(db, "Q1"), Row{});
    // Lines after "Y;English", and the row that one key then holds (empty: none).
    const struct { const char* what; std::string body; const char* key; Row expected; } rows[] = {
        {"key upper-cased, values not", "q1;\"ok\";\"Abc\"\n", "Q1", {"ok", "Abc"}},
        {"inner blank of a key stays", "E 5;\"five\"\n", "E 5", {"five"}},
        {"leading blanks go, trailing stay", "  E1 ;\"x\"\n", "E1 ", {"x"}},
        {"a comma does not end the key", "E1,\"x\"\n", "E1,", {"x"}},
        {"only ASCII letters upper-cased", "\xe9q;\"v\"\n", "\xe9Q", {"v"}},
        {"later row wins, an empty line keeps it", "E;\"one\"\nE;\"two\";\"2\"\nE\nE;\"\"\n", "E", {"two", "2"}},
        {"a NUL ends the line for the splitter", "E;\"ab\0cd\";\"x\"\n"s, "E", {"ab"}},
        {"last line without line feed", "E;\"a\"", "E", {"a"}},
        {"an empty X line still counts", "X;\"one\"\nX\nX;\"three\"\n", "X2-0", {}},
        {"after the empty X line", "X;\"one\"\nX\nX;\"three\"\n", "X3-0", {"three"}},
        {"a V line without number changes nothing", "V;4\nX;\"a\"\nV\nX;\"b\"\n", "X2-4", {"b"}},
        {"the variant carries over a Y line, the counter restarts",
         "V;9\nX;\"a\"\nX;\"b\"\nY;Deutsch\nY;English\nX;\"d\"\n", "X1-9", {"d"}},
        // Fields: quoted, or unquoted to the end of the line (so later fields repeat its tail).
        {"", "E;\"a\";\"b\"\n", "E", {"a", "b"}}, {"", "E;\"a\";\"\";\"b\"\n", "E", {"a", ";", "b"}},
        {"", "E;\"a\";\n", "E", {"a"}}, {"", "E;\"a\",\"b\"\n", "E", {"a", "b"}},
        {"", "E; \"  lead\";\"trail  \"\n", "E", {"lead", "trail  "}}, {"", "E;\"a\"\r\n", "E", {"a"}},
        {"", "E;\"semi;colon, comma\"\n", "E", {"semi;colon, comma"}}, {"", "E;\"caf\xe9\"\n", "E", {"caf\xe9"}},
        {"", "E;unquoted\r\n", "E", {"unquoted\r"}}, {"", "E;a, b; c\n", "E", {"a, b; c", "b; c", "c"}}};
    for (const auto& c : rows) {
        const auto db = parseDefinitions("Y;English\n" + c.body);
        EXPECT_EQ(db.parseError, "") << c.what << c.body;
        EXPECT_EQ(rowOf(db, c.key), c.expected) << c.what << c.body;
    }
}

TEST(Parser, NumberingVariantsLanguagesAndLineLimits) {
    const auto db = parseDefinitions(
        "Y;English\nx;\"zero-1\"\nXI;\"%d\"\nT1;\"phone\"\nE1;\"plain\"\n"
        "V;7\nx;\"a\"\nX;\"b\"\nx;\"c\"\nT1;\"phone7\"\nH;\"code\"\nk;\"k\"\n"
        "V;8\nX;\"eight\"\n");
    const std::pair<const char*, const char*> stored[] = {
        {"X1-0", "zero-1"}, {"XI-0", "%d"}, {"T1-0", "phone"}, {"E1", "plain"}, {"X1-7", "a"}, {"X2-7", "b"},
        {"X3-7", "c"},      {"T1-7", "phone7"}, {"H-7", "code"}, {"K-7", "k"},  {"X1-8", "eight"}};
    for (const auto& [key, value] : stored) EXPECT_EQ(rowOf(db, key), Row({value})) << key;
    EXPECT_EQ(db.variants, std::vector<int32_t>({7, 8}));
    const struct { const char* line; int32_t variant; } cases[] = {
        {"V;12;\"x\"", 12}, {"V;abc", 0}, {"V; -3", -3}, {"V;+5z", 5}, {"V;\"250\"", 250}};
    for (const auto& c : cases) {
        const auto db = parseDefinitions(std::string("Y;English\n") + c.line + "\nX;\"p\"\n");
        EXPECT_EQ(rowOf(db, "X1-" + std::to_string(c.variant)), Row({"p"})) << c.line;
        EXPECT_EQ(db.variants, std::vector<int32_t>({c.variant})) << c.line;
        EXPECT_EQ(rowOf(db, "V"), Row{}) << "a V line stores nothing";
    }
    const auto repeated = parseDefinitions("Y;English\nV;200\nV;100\nV;200\nY;Deutsch\nV;100\nV;105\n");
    EXPECT_EQ(repeated.variants, std::vector<int32_t>({200, 100, 105})) << "listed once, in first order";
    const auto languages = parseDefinitions("Y;English\nE;\"old\"\nY;Deutsch\nY;English\nQ;\"new\"\n");
    EXPECT_EQ(languages.firstLanguage, "English");
    EXPECT_EQ(rowOf(languages, "E"), Row{}) << "a repeated name starts afresh";
    EXPECT_EQ(rowOf(languages, "Q"), Row({"new"}));
    EXPECT_EQ(names(languages), std::vector<std::string>({"Deutsch", "English"}));
    EXPECT_EQ(names(parseDefinitions("Y;Polski\nY;\xc5" "esky\nY;Pol\nY;English\n")),
              std::vector<std::string>({"English", "Pol", "Polski", "\xc5" "esky"}));
    // A line of up to 9999 characters is read whole; a longer one is cut there
    // and ends the parse without an error.
    struct Case { size_t valueLength; size_t kept; bool nextRead; };
    for (const Case& c : {Case{9999 - 4, 9999 - 4, true}, Case{10000, 9999 - 3, false}}) {
        const std::string value(c.valueLength, 'a');
        const auto lines = parseDefinitions("Y;English\nE;\"" + value + "\"\nQ;\"next\"\n");
        EXPECT_EQ(lines.parseError, "") << c.valueLength;
        EXPECT_EQ(rowOf(lines, "E"), Row({value.substr(0, c.kept)})) << c.valueLength;
        EXPECT_EQ(rowOf(lines, "Q"), c.nextRead ? Row({"next"}) : Row{}) << c.valueLength;
    }
}

}  // namespace
