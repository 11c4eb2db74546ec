#include "app/message_name.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageName, KeyedNames) {
    const struct { const char* name; const char* key; int32_t index; } cases[] = {
        {"E 5", "E", 5},         {"E1 3", "E1", 3},    {"E x", "E", 0},     {"E ", "E", 0},
        {"E  7", "E", 7},        {"E -2", "E", -2},    {"E +4", "E", 4},    {"E 12abc", "E", 12},
        {"Q1 3 extra", "Q1", 3}, {" 4", "", 4},        {"E 99999999999", "E", 2147483647},
    };
    for (const auto& c : cases) {
        MessageName parts;
        ASSERT_TRUE(splitMessageName(c.name, parts)) << c.name;
        EXPECT_EQ(parts.key, c.key) << c.name;
        EXPECT_EQ(parts.index, c.index) << c.name;
    }
}

TEST(MessageName, WithoutSpaceIsVerbatim) {
    for (const char* name : {"", "E5", "Ready", "E\t5"}) {
        MessageName parts;
        EXPECT_FALSE(splitMessageName(name, parts)) << name;
    }
}

TEST(MessageName, LongKeysAreCutAtNinetyNineCharacters) {
    const std::string key(150, 'K');
    MessageName parts;
    ASSERT_TRUE(splitMessageName(key + " 2", parts));
    EXPECT_EQ(parts.key, std::string(99, 'K'));
    EXPECT_EQ(parts.index, 2);
    ASSERT_TRUE(splitMessageName(std::string(99, 'K') + " 1", parts));
    EXPECT_EQ(parts.key.size(), 99u);
}

}  // namespace
