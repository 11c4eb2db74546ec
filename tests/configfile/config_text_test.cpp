// Configuration text: what the reader accepts and rejects, and what a pair
// does to a list. What the writer produces is the config_text fuzz target's
// (every form parses back) and sqctool's (config show --raw, to the byte).
#include "configfile/config_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

const std::string kHead = "BRONTIVASETUP1.0\nT1 -\nT2 -\nT3 -\nT4 -\nH -\nK -\n";

TEST(ConfigText, GoodTextsGiveEveryPairInOrderAnyFaultRejectsTheWholeTextAndWhatAPairSelects) {
    using Pairs = std::vector<std::pair<int32_t, int32_t>>;
    const struct { const char* name; std::string text; Pairs pairs; } cases[] = {
        {"as written", kHead + "1 0\n2 -1\n3 4\n-1\n", {{1, 0}, {2, -1}, {3, 4}}},
        {"CR LF, tabs, vertical tab, form feed",
         "BRONTIVASETUP1.0\r\nT1\t-\r\nT2 -\vT3 -\fT4 -\r\nH -\r\nK -\r\n1\t3\r\n-1\r\n", {{1, 3}}},
        {"all on one line", "BRONTIVASETUP1.0 T1 - T2 - T3 - T4 - H - K - 5 1 2 2 -1", {{5, 1}, {2, 2}}},
        {"other slot values are skipped", kHead.substr(0, 17) + "T1 0123 T2 x T3 - T4 - H - K -\n-1\n", {}},
        {"repeated and out-of-range numbers kept in order", kHead + "7 1\n0 3\n1000 2\n7 4\n-1\n",
         {{7, 1}, {0, 3}, {1000, 2}, {7, 4}}},
        {"signs and leading zeros", kHead + "+4 007 -2147483648 2147483647 -1", {{4, 7}, {-2147483648, 2147483647}}},
        {"anything after the terminator", kHead + "1 1\n-1\ngarbage \xff\x00 2"s, {{1, 1}}},
        {"a NUL after the end", kHead + "-1\0junk"s, {}}, {"a number ends at a non-digit", kHead + "1 0-1", {{1, 0}}}};
    for (const auto& c : cases) {
        std::vector<ConfigPair> pairs;
        std::string reason;
        ASSERT_TRUE(parseConfigText(c.text, pairs, reason)) << c.name << ": " << reason;
        Pairs got;
        for (const ConfigPair& p : pairs) got.emplace_back(p.param, p.index);
        EXPECT_EQ(got, c.pairs) << c.name;
    }
    // Every failure leaves no pairs, whatever came before it: the caller applies nothing.
    const struct { const char* name; std::string text; } refused[] = {
        {"empty", ""}, {"a token before the header", "x " + kHead + "-1\n"},
        {"lower-case header", "brontivasetup1.0" + kHead.substr(16) + "-1\n"}, {"a lone sign", kHead + "1 - -1"},
        {"longer header", "BRONTIVASETUP1.00" + kHead.substr(16) + "-1\n"},
        {"shorter header", "BRONTIVASETUP1." + kHead.substr(16) + "-1\n"},
        {"slots out of order", "BRONTIVASETUP1.0 T2 - T1 - T3 - T4 - H - K - -1"},
        {"a slot misspelt", "BRONTIVASETUP1.0 T1 - T2 - T3 - T4 - h - K - -1"},
        {"a slot without value", "BRONTIVASETUP1.0 T1 - T2 - T3 - T4 - H - K"},
        {"no terminator after pairs", kHead + "1 0\n2 1\n"}, {"a pair without index", kHead + "1 0\n2\n-1\n"},
        {"a word for a number", kHead + "1 0\nx 1\n-1\n"}, {"a number into letters", kHead + "1 0\n2 3x\n-1\n"},
        {"a parameter beyond 32 bits", kHead + "4294967297 0\n-1\n"}, {"a NUL before the end", kHead + "1 0\n\0-1\n"s},
        {"an index beyond 32 bits", kHead + "1 2147483648\n-1\n"}};
    for (const auto& c : refused) {
        std::vector<ConfigPair> pairs = {{9, 9}};
        std::string reason;
        EXPECT_FALSE(parseConfigText(c.text, pairs, reason)) << c.name;
        EXPECT_TRUE(pairs.empty() && !reason.empty()) << c.name;
    }
    const struct { int32_t index, count; bool applies; int32_t selection; } selections[] = {
        {2, 5, true, 2}, {4, 5, true, 4}, {5, 5, true, 0}, {99, 1, true, 0},
        {-1, 5, true, -1}, {-7, 5, true, -1}, {0, 0, false, 77}, {-1, 0, false, 77}};  // 77: left alone
    for (const auto& c : selections) {
        int32_t selection = 77;
        EXPECT_EQ(selectionForPair(c.index, c.count, selection), c.applies) << c.index << " of " << c.count;
        EXPECT_EQ(selection, c.selection) << c.index << " of " << c.count;
    }
}

}  // namespace
