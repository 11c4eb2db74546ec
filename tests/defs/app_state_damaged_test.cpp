// The start-up load of a program built with a damaged table: the
// construction completes and leaves the error for the entry point.
#include "defs/app_state.h"

#include <gtest/gtest.h>

namespace {

TEST(StartupLoad, DamagedTableLeavesTheStartupError) {
    EXPECT_EQ(startupError(), "Error decrypt internal data");
    EXPECT_EQ(appState.definitions.database, nullptr);
    EXPECT_TRUE(appState.choiceCounts.empty());
    EXPECT_EQ(text(appState.definitions, "Q", 0), "");
    EXPECT_EQ(appState.guiFont, platformDefaultGuiFont());
}

}  // namespace
