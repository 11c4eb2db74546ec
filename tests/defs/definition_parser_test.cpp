#include "defs/definition_parser.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using namespace std::string_literals;

namespace {

DefinitionDatabase parse(const std::string& text) { return parseDefinitions(text); }

const Row* row(const DefinitionDatabase& db, const std::string& lang, const std::string& key) {
    auto l = db.languages.find(lang);
    if (l == db.languages.end()) return nullptr;
    auto r = l->second.find(key);
    return r == l->second.end() ? nullptr : &r->second;
}

Row rowOf(const DefinitionDatabase& db, const std::string& key, const std::string& lang = "English") {
    const Row* r = row(db, lang, key);
    return r ? *r : Row{};
}

TEST(ParserErrors, MissingYIdentifier) {
    for (const char* text : {"", "\n", "\nY;English\n", "Q;\"Save\"\nY;English\n", "  \nY;x"}) {
        auto db = parse(text);
        EXPECT_EQ(db.parseError, "Missing Y identifier") << text;
    }
}

TEST(ParserErrors, MissingLanguageName) {
    for (const char* text : {"Y", "Y;", "Y;   ", "Y;\"\"", "Y;\" \t\"\nQ;a", "Y;English\nY;\n"}) {
        EXPECT_EQ(parse(text).parseError, "Missing language name") << text;
    }
}

TEST(ParserErrors, RowsBeforeTheErrorStayButTheErrorIsReported) {
    auto db = parse("Y;English\nQ;\"a\"\nY;\nQ1;\"b\"\n");
    EXPECT_EQ(db.parseError, "Missing language name");
    EXPECT_EQ(rowOf(db, "Q"), Row({"a"}));
    EXPECT_EQ(row(db, "English", "Q1"), nullptr);
}

TEST(ParserKeys, KeyIsUpperCasedNameAndValuesAreNot) {
    auto db = parse("y;English\nq1;\"ok\";\"Abc\"\n");
    EXPECT_EQ(db.parseError, "");
    EXPECT_EQ(db.firstLanguage, "English");
    EXPECT_EQ(rowOf(db, "Q1"), Row({"ok", "Abc"}));
}

TEST(ParserKeys, InnerAndTrailingBlanksOfAKeyStayLeadingOnesGo) {
    auto db = parse("Y;English\nE 5;\"five\"\n  E1 ;\"x\"\n");
    EXPECT_EQ(rowOf(db, "E 5"), Row({"five"}));
    EXPECT_EQ(rowOf(db, "E1 "), Row({"x"}));
}

TEST(ParserKeys, ACommaSeparatesFieldsButDoesNotEndTheKey) {
    auto db = parse("Y;English\nE1,\"x\"\n");
    EXPECT_EQ(rowOf(db, "E1,"), Row({"x"}));
}

TEST(ParserKeys, OnlyAsciiLettersAreUpperCased) {
    auto db = parse("Y;English\n\xe9q;\"v\"\n");
    EXPECT_EQ(rowOf(db, "\xe9Q"), Row({"v"}));
}

TEST(ParserFields, QuotingAndSeparators) {
    struct Case { const char* line; Row expected; };
    const Case cases[] = {
        {"E;\"a\";\"b\"", {"a", "b"}},
        {"E;\"a\";\"\";\"b\"", {"a", ";", "b"}},
        {"E;\"a\";", {"a"}},
        {"E;\"a\",\"b\"", {"a", "b"}},
        {"E; \"  lead\";\"trail  \"", {"lead", "trail  "}},
        {"E;\"semi;colon, comma\"", {"semi;colon, comma"}},
        // Unquoted: each field runs to the end of the line, so the later fields
        // repeat its tail.
        {"E;plain text, with; separators", {"plain text, with; separators", "with; separators", "separators"}},
        {"E;\"a\"\r", {"a"}},
        {"E;unquoted\r", {"unquoted\r"}},
        {"E;\"caf\xe9\"", {"caf\xe9"}},
    };
    for (const auto& c : cases) {
        auto db = parse(std::string("Y;English\n") + c.line + "\n");
        EXPECT_EQ(rowOf(db, "E"), c.expected) << c.line;
    }
}

TEST(ParserFields, SplitFieldPassesQuotedSeparators) {
    EXPECT_EQ(splitField("K;\"a;b\";\"c\"", 0), "K");
    EXPECT_EQ(splitField("K;\"a;b\";\"c\"", 1), "a;b");
    EXPECT_EQ(splitField("K;\"a;b\";\"c\"", 2), "c");
    EXPECT_EQ(splitField("K;\"a;b\";\"c\"", 3), "");
    EXPECT_EQ(splitField("K", 1), "");
    EXPECT_EQ(splitField("", 0), "");
}

TEST(ParserRows, LaterRowWinsAndAnEmptyLineKeepsTheEarlierOne) {
    auto db = parse("Y;English\nE;\"one\"\nE;\"two\";\"2\"\nE\nE;\"\"\n");
    EXPECT_EQ(rowOf(db, "E"), Row({"two", "2"}));
}

TEST(ParserRows, ANulEndsTheLineForTheSplitter) {
    auto db = parse("Y;English\nE;\"ab\0cd\";\"x\"\n"s);
    EXPECT_EQ(rowOf(db, "E"), Row({"ab"}));
}

TEST(ParserNumbering, XCounterAndVariantSuffix) {
    auto db = parse(
        "Y;English\n"
        "x;\"zero-1\"\n"
        "XI;\"%d\"\n"
        "T1;\"phone\"\n"
        "E1;\"plain\"\n"
        "V;7\n"
        "x;\"a\"\nX;\"b\"\nx;\"c\"\n"
        "T1;\"phone7\"\n"
        "H;\"code\"\nk;\"k\"\n"
        "V;8\n"
        "X;\"eight\"\n");
    EXPECT_EQ(rowOf(db, "X1-0"), Row({"zero-1"}));
    EXPECT_EQ(rowOf(db, "XI-0"), Row({"%d"}));
    EXPECT_EQ(rowOf(db, "T1-0"), Row({"phone"}));
    EXPECT_EQ(rowOf(db, "E1"), Row({"plain"}));
    EXPECT_EQ(rowOf(db, "X1-7"), Row({"a"}));
    EXPECT_EQ(rowOf(db, "X2-7"), Row({"b"}));
    EXPECT_EQ(rowOf(db, "X3-7"), Row({"c"}));
    EXPECT_EQ(rowOf(db, "T1-7"), Row({"phone7"}));
    EXPECT_EQ(rowOf(db, "H-7"), Row({"code"}));
    EXPECT_EQ(rowOf(db, "K-7"), Row({"k"}));
    EXPECT_EQ(rowOf(db, "X1-8"), Row({"eight"}));
    EXPECT_EQ(db.variants, std::vector<int32_t>({7, 8}));
}

TEST(ParserNumbering, AnEmptyXLineStillAdvancesTheCounter) {
    auto db = parse("Y;English\nX;\"one\"\nX\nX;\"three\"\n");
    EXPECT_EQ(rowOf(db, "X1-0"), Row({"one"}));
    EXPECT_EQ(row(db, "English", "X2-0"), nullptr);
    EXPECT_EQ(rowOf(db, "X3-0"), Row({"three"}));
}

TEST(ParserNumbering, VariantNumbersAreReadLikeAtoi) {
    struct Case { const char* line; int32_t variant; };
    const Case cases[] = {{"V;12;\"x\"", 12}, {"V;abc", 0}, {"V; -3", -3}, {"V;+5z", 5}, {"V;\"250\"", 250}};
    for (const auto& c : cases) {
        auto db = parse(std::string("Y;English\n") + c.line + "\nX;\"p\"\n");
        EXPECT_EQ(rowOf(db, "X1-" + std::to_string(c.variant)), Row({"p"})) << c.line;
        EXPECT_EQ(db.variants, std::vector<int32_t>({c.variant})) << c.line;
        EXPECT_EQ(row(db, "English", "V"), nullptr) << "a V line stores nothing";
    }
}

TEST(ParserNumbering, AVLineWithoutNumberChangesNothing) {
    auto db = parse("Y;English\nV;4\nX;\"a\"\nV\nX;\"b\"\n");
    EXPECT_EQ(rowOf(db, "X2-4"), Row({"b"}));
    EXPECT_EQ(db.variants, std::vector<int32_t>({4}));
}

TEST(ParserNumbering, RepeatedVariantsAreListedOnceInFirstOrder) {
    auto db = parse("Y;English\nV;200\nV;100\nV;200\nY;Deutsch\nV;100\nV;105\n");
    EXPECT_EQ(db.variants, std::vector<int32_t>({200, 100, 105}));
}

TEST(ParserLanguages, VariantCarriesOverAYLineAndTheCounterRestarts) {
    auto db = parse("Y;English\nV;9\nX;\"a\"\nX;\"b\"\nY;Deutsch\nX;\"c\"\n");
    EXPECT_EQ(rowOf(db, "X1-9", "Deutsch"), Row({"c"}));
}

TEST(ParserLanguages, ARepeatedNameStartsAfreshFirstLanguageStays) {
    auto db = parse("Y;English\nE;\"old\"\nY;Deutsch\nY;English\nQ;\"new\"\n");
    EXPECT_EQ(db.firstLanguage, "English");
    EXPECT_EQ(row(db, "English", "E"), nullptr);
    EXPECT_EQ(rowOf(db, "Q"), Row({"new"}));
    std::vector<std::string> names;
    for (auto& l : db.languages) names.push_back(l.first);
    EXPECT_EQ(names, std::vector<std::string>({"Deutsch", "English"}));
}

TEST(ParserLanguages, NamesSortByteWiseWithPrefixesFirst) {
    auto db = parse("Y;Polski\nY;\xc5" "esky\nY;Pol\nY;English\n");
    std::vector<std::string> names;
    for (auto& l : db.languages) names.push_back(l.first);
    EXPECT_EQ(names, std::vector<std::string>({"English", "Pol", "Polski", "\xc5" "esky"}));
}

TEST(ParserLimits, LineOfExactly9999CharactersIsReadWhole) {
    std::string value(9999 - 4, 'a');
    std::string text = "Y;English\nE;\"" + value + "\"\n" + "Q;\"next\"\n";
    ASSERT_EQ(text.find('\n', 10) - 10, 9999u);
    auto db = parse(text);
    EXPECT_EQ(db.parseError, "");
    EXPECT_EQ(rowOf(db, "E"), Row({value}));
    EXPECT_EQ(rowOf(db, "Q"), Row({"next"}));
}

TEST(ParserLimits, LongerLineEndsTheParseAfter9999Characters) {
    std::string value(10000, 'b');
    auto db = parse("Y;English\nE;\"" + value + "\"\nQ;\"never\"\n");
    EXPECT_EQ(db.parseError, "");
    EXPECT_EQ(rowOf(db, "E"), Row({std::string(9999 - 3, 'b')}));
    EXPECT_EQ(row(db, "English", "Q"), nullptr);
}

TEST(ParserLimits, LastLineWithAndWithoutLineFeed) {
    EXPECT_EQ(rowOf(parse("Y;English\nE;\"a\""), "E"), Row({"a"}));
    EXPECT_EQ(rowOf(parse("Y;English\nE;\"a\"\n"), "E"), Row({"a"}));
}

TEST(ParserStream, ReadsTheWholeStream) {
    std::istringstream in("Y;English\nE;\"a\"\n");
    EXPECT_EQ(rowOf(parseDefinitions(in), "E"), Row({"a"}));
}

}  // namespace
