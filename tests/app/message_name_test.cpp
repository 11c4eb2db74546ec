#include "app/message_name.h"

#include <gtest/gtest.h>

namespace {

// A name with a space is a key and an index read like atoi, the key cut at
// 99 characters; without a space it is shown verbatim.
TEST(MessageName, KeyAndIndexOrVerbatim) {
    const std::string longKey(150, 'K'), key99(99, 'K');
    const struct { std::string name; bool keyed; std::string key; int32_t index; } cases[] = {
        {"E 5", true, "E", 5},         {"E1 3", true, "E1", 3},    {"E x", true, "E", 0},     {"E ", true, "E", 0},
        {"E  7", true, "E", 7},        {"E -2", true, "E", -2},    {"E +4", true, "E", 4},    {"E 12abc", true, "E", 12},
        {"Q1 3 extra", true, "Q1", 3}, {" 4", true, "", 4},        {"E 99999999999", true, "E", 2147483647},
        {longKey + " 2", true, key99, 2}, {key99 + " 1", true, key99, 1},
        {"", false, "", 0}, {"E5", false, "", 0}, {"Ready", false, "", 0}, {"E\t5", false, "", 0},
    };
    for (const auto& c : cases) {
        MessageName parts;
        ASSERT_EQ(splitMessageName(c.name, parts), c.keyed) << c.name;
        if (c.keyed) {
            EXPECT_EQ(parts.key, c.key) << c.name;
            EXPECT_EQ(parts.index, c.index) << c.name;
        }
    }
}

}  // namespace
