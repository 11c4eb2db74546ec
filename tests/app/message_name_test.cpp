#include "app/message_name.h"
#include "app/messages.h"
#include "defs/definition_store.h"

#include <gtest/gtest.h>

namespace {

// A name with a space is a key and an index read like atoi, the key cut at
// 99 characters; without a space it is shown verbatim.
TEST(MessageName, KeyAndIndexOrVerbatimAndEveryKeyedMessageIsInEveryLanguage) {
    const std::string longKey(150, 'K'), key99(99, 'K');
    const struct { std::string name; bool keyed; std::string key; int32_t index; } cases[] = {
        {"E 5", true, "E", 5},         {"E1 3", true, "E1", 3},    {"E x", true, "E", 0},     {"E ", true, "E", 0},
        {"E  7", true, "E", 7},        {"E -2", true, "E", -2},    {"E +4", true, "E", 4},    {"E 12abc", true, "E", 12},
        {"Q1 3 extra", true, "Q1", 3}, {" 4", true, "", 4},        {"E 99999999999", true, "E", 2147483647},
        {longKey + " 2", true, key99, 2}, {key99 + " 1", true, key99, 1},
        {"", false, "", 0}, {"E5", false, "", 0}, {"Ready", false, "", 0}, {"E\t5", false, "", 0}};
    for (const auto& c : cases) {
        MessageName parts;
        ASSERT_EQ(splitMessageName(c.name, parts), c.keyed) << c.name;
        if (c.keyed) EXPECT_EQ(std::make_pair(parts.key, parts.index), std::make_pair(c.key, c.index)) << c.name;
    }
    // Every message the program shows, and its title, is a text that each
    // language of the built-in table holds itself: none falls back to another
    // language or shows empty.
    DefinitionStore store;
    loadDefinitionsFrom(store, SealedDefinitionTable);
    ASSERT_NE(store.database, nullptr) << startupError(store);
    for (const auto& [language, table] : store.database->languages) {
        for (const KeyedMessage& m : kKeyedMessages) {
            MessageName parts;
            ASSERT_TRUE(splitMessageName(m.message, parts)) << m.message;
            for (const MessageName& wanted : {parts, MessageName{m.titleKey, m.titleIndex}}) {
                const auto row = table.find(wanted.key);
                const bool present = row != table.end() && wanted.index >= 0 &&
                                     static_cast<size_t>(wanted.index) < row->second.size() &&
                                     !row->second[wanted.index].empty();
                EXPECT_TRUE(present) << language << ": " << wanted.key << " " << wanted.index << " for " << m.message;
            }
        }
    }
}

}  // namespace
