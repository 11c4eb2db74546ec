// The start-up load with the table that ships in the program. The table's
// wording is not the concern here, only that it loads and what the
// construction derives from it.
#include "defs/app_state.h"
#include "params/parameter_list.h"

#include <gtest/gtest.h>

namespace {

TEST(StartupLoad, BuiltInTableLoads) {
    EXPECT_EQ(startupError(), "");
    ASSERT_NE(appState.definitions.database, nullptr);
    EXPECT_EQ(appState.definitions.database->firstLanguage, "English");
    EXPECT_EQ(currentLanguageName(appState.definitions), "English");
    EXPECT_EQ(appState.definitions.currentVariant, 0);
}

TEST(StartupLoad, ChoiceCountsComeFromVariantZeroOfTheFirstLanguage) {
    DefinitionStore& store = appState.definitions;
    ASSERT_EQ(store.selectedLanguage, nullptr);
    ASSERT_EQ(store.currentVariant, 0);
    const int32_t length = parameterListLength(store);
    ASSERT_GT(length, 0);
    ASSERT_EQ(appState.choiceCounts.size(), static_cast<size_t>(length));
    for (const auto& [n, count] : appState.choiceCounts)
        EXPECT_EQ(count, static_cast<int32_t>(findRow(store, parameterKey(n))->size()) - 1) << n;
}

TEST(StartupLoad, EverythingElseStartsEmpty) {
    EXPECT_FALSE(appState.configurationLoaded);
    EXPECT_FALSE(appState.connected);
    EXPECT_TRUE(appState.fixedControls.empty());
    EXPECT_TRUE(appState.parameterRows.empty());
    EXPECT_EQ(appState.mainWindow, nullptr);
    EXPECT_EQ(appState.progressBar, nullptr);
    EXPECT_EQ(appState.statusLine, nullptr);
    EXPECT_EQ(appState.guiFont, platformDefaultGuiFont());
#ifdef _WIN32
    EXPECT_NE(appState.guiFont, nullptr);
#endif
}

}  // namespace
