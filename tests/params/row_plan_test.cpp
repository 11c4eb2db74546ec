#include "params/row_plan.h"

#include "params/layout.h"
#include "tests/defs/store_of.h"

#include <gtest/gtest.h>

namespace {

// Row 3 hidden; variant 7's row is not in the list.
TEST(RowPlan, HiddenRowsTakeNoPlaceNumbersStayAndEveryDefinedTextIsMeasured) {
    const DefinitionStore store = storeOf(
        "Y;\"English\"\nXI;\"#%d\"\nX;\"Entry delay\";\"10 s\";\"20 s\"\nX;\"Siren\";\"Off\";\"On\";\"0\"\n"
        "X;\"0\";\"a\";\"b\"\nX;\"Outputs\"\nV;7\nX;\"A much longer caption than any\";\"x\"\n");
    const auto plans = planParameterRows(store, {}, 20);
    ASSERT_EQ(plans.size(), 4u);
    const struct { const char* caption; int32_t slot; } rows[] = {
        {"1. Entry delay", 0}, {"2. Siren", 1}, {"", 2}, {"4. Outputs", 2}};  // the row after a hidden one moves up
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(plans[i].caption, rows[i].caption);
        EXPECT_EQ(plans[i].visible, i != 2);
        EXPECT_EQ(plans[i].offsetY, rowTop(20, rows[i].slot)) << i;
    }
    EXPECT_TRUE(plans[2].choices.empty());
    const MeasuredTexts texts = measuredTexts(store);
    EXPECT_EQ(texts.captions, std::vector<std::string>({"Entry delay", "Siren", "0", "Outputs"}));
    EXPECT_EQ(texts.choices, std::vector<std::string>({"10 s", "20 s", "Off", "On", "0", "a", "b"}));
}

}  // namespace
