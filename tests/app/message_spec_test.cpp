#include "app/message_spec.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageSpec, KeyedSpecs) {
    const struct {
        const char* spec;
        const char* key;
        int32_t index;
    } cases[] = {
        {"E 5", "E", 5},         {"E1 3", "E1", 3},    {"E x", "E", 0},     {"E ", "E", 0},
        {"E  7", "E", 7},        {"E -2", "E", -2},    {"E +4", "E", 4},    {"E 12abc", "E", 12},
        {"Q1 3 extra", "Q1", 3}, {" 4", "", 4},        {"E 99999999999", "E", 2147483647},
    };
    for (const auto& c : cases) {
        MessageSpec parts;
        ASSERT_TRUE(splitMessageSpec(c.spec, parts)) << c.spec;
        EXPECT_EQ(parts.key, c.key) << c.spec;
        EXPECT_EQ(parts.index, c.index) << c.spec;
    }
}

TEST(MessageSpec, WithoutSpaceIsVerbatim) {
    for (const char* spec : {"", "E5", "Ready", "E\t5"}) {
        MessageSpec parts;
        EXPECT_FALSE(splitMessageSpec(spec, parts)) << spec;
    }
}

TEST(MessageSpec, LongKeysAreCutAtNinetyNineCharacters) {
    const std::string key(150, 'K');
    MessageSpec parts;
    ASSERT_TRUE(splitMessageSpec(key + " 2", parts));
    EXPECT_EQ(parts.key, std::string(99, 'K'));
    EXPECT_EQ(parts.index, 2);
    ASSERT_TRUE(splitMessageSpec(std::string(99, 'K') + " 1", parts));
    EXPECT_EQ(parts.key.size(), 99u);
}

}  // namespace
