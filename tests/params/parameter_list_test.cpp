#include "params/form_values.h"
#include "params/parameter_list.h"
#include "tests/defs/store_of.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using Texts = std::vector<std::string>;

namespace {

// The list runs from X1 to the first gap, in the current variant, with the
// first language filling in for the selected one.
TEST(ParameterList, EndsAtTheFirstGapOfTheVariantAndLanguageVisibilityIndicesCaptions) {
    const std::string variants = "Y;E\nX;\"a\"\nV;5\nX;\"a\"\nX;\"b\"\nX;\"c\"\nY;D\nV;5\nX;\"a\"\nX;\"b\"\nX5;\"e\"\n";
    const struct { std::string table; int32_t variant; const char* language; int32_t length; } cases[] = {
        {"Y;E\nX1;\"a\"\nX2;\"b\"\nX4;\"d\"\n", 0, "", 2}, {"Y;E\nX2;\"b\"\n", 0, "", 0}, {variants, 0, "", 1},
        {variants, 5, "", 3}, {variants, 5, "D", 3}};  // D: its own X1, X2; X3 from E; X5 beyond the gap
    for (const auto& c : cases) {
        DefinitionStore store = storeOf(c.table);
        store.currentVariant = c.variant;
        if (*c.language) selectLanguage(store, c.language);
        EXPECT_EQ(parameterListLength(store), c.length) << c.table;
    }
    // 1 visible, 2 hidden, 3 visible, 4 hidden, 5 visible; 7 beyond a gap.
    DefinitionStore store = storeOf("Y;E\nX;\"One\"\nX;\"0\"\nX;\"Three\"\nX;\"0\";\"x\"\nX;\"Five\"\nX7;\"Seven\"\n");
    const struct { int32_t n, index; } indices[] = {
        {1, 0}, {2, -1}, {3, 1}, {4, -1}, {5, 2}, {6, -1}, {7, -1}, {0, -1}};
    for (const auto& c : indices) {
        EXPECT_EQ(visibleIndex(store, c.n), c.index) << c.n;
        EXPECT_EQ(isParameterVisible(store, c.n), c.index >= 0) << c.n;
    }
    EXPECT_EQ(countVisibleParameters(store), 3);
    const std::pair<const char*, bool> captions[] = {{"", false}, {"0", false}, {"00", true}, {" 0", true}};
    for (const auto& [caption, visible] : captions)
        EXPECT_EQ(isVisibleCaption(caption), visible) << caption;
    EXPECT_EQ(displayedCaption(999, ""), "999. ");
    EXPECT_EQ(displayedCaption(12, std::string(600, 'c')), "12. " + std::string(495, 'c')) << "cut at 499";
}

TEST(ChoiceRules, CountsTextsAndGeneratedTextsWhoseFormatReachesPrintfOnlyAsOneInteger) {
    DefinitionStore store = storeOf(
        "Y;E\nXI;\"%d min\"\n"
        "X;\"Delay\";\"Off\";\"10 s\";\"20 s\"\n"  // 1: three texts
        "X;\"Mode\";\"a\";\"0\";\"c\"\n"           // 2: "0" asks for a generated text
        "X;\"Caption only\"\n");                    // 3
    const DefinitionStore noFormat = storeOf("Y;E\nX;\"Delay\";\"Off\"\n");
    // The table above unless a store is given.
    const struct { const char* what; ChoiceCountMap counts; int32_t n; Texts expected; const DefinitionStore* store; }
        cases[] = {
        {"from the definition", {}, 1, {"Off", "10 s", "20 s"}},
        {"unit offers more", {{1, 5}}, 1, {"Off", "10 s", "20 s", "3 min", "4 min"}},
        {"unit offers fewer", {{1, 2}}, 1, {"Off", "10 s"}},
        {"unit offers none", {{1, 0}}, 1, {}},
        {"0 in the middle", {}, 2, {"a", "1 min", "c"}},
        {"caption only", {}, 3, {}},
        {"caption only, unit offers two", {{3, 2}}, 3, {"0 min", "1 min"}},
        {"no definition", {}, 8, {}},
        {"negative count", {{1, -4}}, 1, {}},
        {"no XI format: generated texts empty", {{1, 3}}, 1, {"Off", "", ""}, &noFormat}};
    for (const auto& c : cases) {
        const DefinitionStore& s = c.store ? *c.store : store;
        EXPECT_EQ(choiceTexts(s, c.counts, c.n), c.expected) << c.what;
        EXPECT_EQ(choiceCount(s, c.counts, c.n), c.counts.count(c.n) ? c.counts.at(c.n) : int32_t(c.expected.size()))
            << c.what;
    }
    const std::string tooLong(1200, 'x');
    const struct { std::string format; bool single; std::string forThree; } formats[] = {
        {"%d", true, "3"}, {"%3d min", true, "  3 min"}, {"%+05i", true, "+0003"}, {"0x%02X", true, "0x03"},
        {"%.2u h", true, "03 h"}, {"100%% %x", true, "100% 3"}, {"%999d", true, std::string(998, ' ') + "3"},
        {tooLong + "%d", true, std::string(999, 'x')},
        // No conversion: shown as printf shows it.
        {"", false, ""}, {"Minutes", false, "Minutes"}, {"%%d", false, "%d"},
        // Anything else would read an argument that is not there, or the
        // wrong type: the index in decimal instead.
        {"%s", false, "3"}, {"%n", false, "3"}, {"%d of %d", false, "3"}, {"%ld", false, "3"}, {"%hd", false, "3"},
        {"%*d", false, "3"}, {"%.*d", false, "3"}, {"%1$d", false, "3"}, {"%'d", false, "3"},
        {"%1000d", false, "3"}, {"%.1000d", false, "3"}, {"min %", false, "3"}, {"%d %", false, "3"}};
    for (const auto& c : formats) {
        EXPECT_EQ(isSingleIntegerFormat(c.format), c.single) << c.format;
        EXPECT_EQ(formatChoiceIndex(c.format, 3), c.forThree) << c.format;
    }
}

TEST(ChoiceCounts, FilledAndWalkedFromOneToTheFirstGap) {
    const struct { const char* what; std::string table; ChoiceCountMap expected; } cases[] = {
        {"one count per parameter", "Y;E\nX;\"a\";\"x\";\"y\"\nX;\"b\"\nX;\"c\";\"x\"\n", {{1, 2}, {2, 0}, {3, 1}}},
        {"gap after 2", "Y;E\nX1;\"a\";\"x\"\nX2;\"b\"\nX4;\"d\";\"x\"\n", {{1, 1}, {2, 0}}},
        {"only inside V sections", "Y;E\nV;100\nX;\"a\";\"x\"\n", {}}};
    for (const auto& c : cases) {
        ChoiceCountMap counts;
        fillChoiceCountsFromDefinitions(storeOf(c.table), counts);
        EXPECT_EQ(counts, c.expected) << c.what;
    }
    // Every consumer of the form's rows walks them from 1 to the first missing
    // number, never past 999.
    std::map<int32_t, int> all;
    for (int32_t n = 1; n <= 1005; ++n) all[n] = 0;
    const struct { std::map<int32_t, int> rows; int32_t last; } walks[] = {
        {{}, 0}, {{{1, 0}, {2, 0}, {3, 0}}, 3}, {{{1, 0}, {2, 0}, {4, 0}, {5, 0}}, 2}, {{{0, 0}, {2, 0}}, 0},
        {all, 999}};
    for (const auto& c : walks) {
        int32_t next = 1;
        forEachParameterRow(c.rows, [&](int32_t n, int) { EXPECT_EQ(n, next++); });
        EXPECT_EQ(next - 1, c.last);
    }
}

// Rows 1..7 as read from a unit: row 3 hidden; row 4's unit offers no
// choice; rows 2 and 6 hold a selection past the unit's count, row 7 none;
// row 5 was not read.
TEST(ChoiceCounts, ReadSelectionsSettleOnTheUnitsCounts) {
    FormValues form;
    form.rows = {{1, true, 1, 4, true}, {2, true, 7, 5, true}, {3, false, -1, 0, false}, {4, true, 2, 0, true},
                 {5, true, 6, 0, false}, {6, true, 5, 5, true},  {7, true, -1, 4, true}};
    settleReadSelections(form);
    std::vector<int32_t> selections;
    for (const FormRow& row : form.rows) selections.push_back(row.selection);
    EXPECT_EQ(selections, (std::vector<int32_t>{1, 0, -1, -1, 6, 0, 0}));
    EXPECT_EQ(std::make_pair(keptSelection(0, 0), keptSelection(2, 0)), std::make_pair(0, 0)) << "empty list";
}

}  // namespace
