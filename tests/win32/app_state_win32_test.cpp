// The application state as the program constructs it before its entry
// point: the table that ships in the program loads (its wording is not the
// concern here), and what the construction derives from it.
#include "app/app_state.h"

#include <gtest/gtest.h>

namespace {

TEST(StartupLoad, BuiltInTableLoadsWithTheCountsOfVariantZeroOfTheFirstLanguage) {
    EXPECT_EQ(startupError(), "");
    DefinitionStore& store = appState.definitions;
    ASSERT_NE(store.database, nullptr);
    EXPECT_EQ(currentLanguageName(store), "English");
    ASSERT_TRUE(store.selectedLanguage == nullptr && store.currentVariant == 0);
    const int32_t length = parameterListLength(store);
    ASSERT_GT(length, 0);
    ASSERT_EQ(appState.choiceCounts.size(), static_cast<size_t>(length));
    for (const auto& [n, count] : appState.choiceCounts)
        EXPECT_EQ(count, static_cast<int32_t>(findRow(store, parameterKey(n))->size()) - 1) << n;
    EXPECT_EQ(appState.guiFont, GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace
