#include "app/command_table.h"

#include "defs/definition_store.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandTable, MenuAndButtonIdsActWhateverTheCode) {
    struct Case { int32_t id; CommandAction action; };
    const Case cases[] = {
        {1000, CommandAction::Save},  {1001, CommandAction::Open},   {1002, CommandAction::Print},
        {1003, CommandAction::About}, {1004, CommandAction::Exit},   {5000, CommandAction::Reset},
        {5001, CommandAction::Read},  {5002, CommandAction::Write},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(classifyCommand(c.id, 0).action, c.action) << c.id;
        EXPECT_EQ(classifyCommand(c.id, 5).action, c.action) << c.id;
    }
}

TEST(CommandTable, TextFieldsOpenTheEntryDialogOnlyWhenFocused) {
    for (int32_t id : {5003, 5004, 15005, 15006, 5005, 5006}) {
        const Command c = classifyCommand(id, kNotifySetFocus);
        EXPECT_EQ(c.action, CommandAction::EditField) << id;
        EXPECT_EQ(c.controlId, id);
        EXPECT_EQ(c.requiredLength, id == 5005 ? 6 : -1) << id;
        EXPECT_EQ(classifyCommand(id, 0x300).action, CommandAction::NotHandled) << id;
        EXPECT_EQ(classifyCommand(id, 512).action, CommandAction::NotHandled) << id;
    }
}

TEST(CommandTable, LanguageRangeAndEverythingElse) {
    EXPECT_EQ(classifyCommand(10000, 0).languageIndex, 0);
    EXPECT_EQ(classifyCommand(19998, 0).languageIndex, 9998);
    EXPECT_EQ(classifyCommand(19999, 0).action, CommandAction::NotHandled);
    EXPECT_EQ(classifyCommand(9999, 0).action, CommandAction::NotHandled);
    EXPECT_EQ(classifyCommand(7, 1).action, CommandAction::NotHandled) << "choice lists are not commands";
    EXPECT_EQ(classifyCommand(5008, 0).action, CommandAction::NotHandled);
}

const char* kTable =
    "Y;\"English\"\nQ;\"Save\";\"Open\";\"Print\";\"Language\"\n"
    "Y;\"Deutsch\"\nQ;\"Speichern\";\"\xd6" "ffnen\";\"Drucken\";\"Sprache\";\"Info\";\"Ende\"\n"
    "Y;\"Polski\"\n";

TEST(MenuModel, BuiltFromRowQWithPlaceholdersAndLanguages) {
    DefinitionStore store;
    loadDefinitionText(store, kTable);
    auto bar = buildMenuModel(store, false);
    ASSERT_EQ(bar.size(), 6u);
    EXPECT_EQ(bar[0].text, "Save");
    EXPECT_FALSE(bar[0].enabled);
    EXPECT_FALSE(bar[2].enabled);
    EXPECT_TRUE(bar[3].enabled);
    EXPECT_EQ(bar[4].text, "???");
    EXPECT_EQ(bar[5].text, "???");
    EXPECT_EQ(bar[5].id, 1004);
    ASSERT_EQ(bar[3].popup.size(), 3u);
    EXPECT_EQ(bar[3].popup[0].text, "Deutsch");
    EXPECT_EQ(bar[3].popup[1].text, "English");
    EXPECT_EQ(bar[3].popup[2].id, 10002);
    EXPECT_TRUE(bar[3].popup[1].checked) << "the default language is the one in effect";
    EXPECT_FALSE(bar[3].popup[0].checked);
    EXPECT_TRUE(buildMenuModel(store, true)[1].enabled);
}

TEST(MenuModel, SelectedLanguageIsCheckedAndAMissingRowFallsBack) {
    DefinitionStore store;
    loadDefinitionText(store, kTable);
    selectLanguage(store, "Polski");
    auto bar = buildMenuModel(store, false);
    ASSERT_EQ(bar.size(), 6u) << "Polski has no Q: the first language's row is used";
    EXPECT_EQ(bar[0].text, "Save");
    EXPECT_TRUE(bar[3].popup[2].checked);
    selectLanguage(store, "Klingon");
    EXPECT_TRUE(buildMenuModel(store, false)[3].popup[1].checked);
}

TEST(MenuModel, NoRowQGivesAnEmptyBar) {
    DefinitionStore store;
    loadDefinitionText(store, "Y;\"English\"\nE;\"x\"\n");
    EXPECT_TRUE(buildMenuModel(store, true).empty());
}

}  // namespace
