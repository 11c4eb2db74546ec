#include "params/row_plan.h"

#include "params/layout.h"
#include "tests/defs/store_of.h"

#include <gtest/gtest.h>

namespace {

const char* kTable =
    "Y;\"English\"\n"
    "XI;\"#%d\"\n"
    "X;\"Entry delay\";\"10 s\";\"20 s\"\n"
    "X;\"Siren\";\"Off\";\"On\";\"0\"\n"
    "X;\"0\";\"a\";\"b\"\n"
    "X;\"Outputs\"\n"
    "V;7\n"
    "X;\"A much longer caption than any\";\"x\"\n";

TEST(RowPlan, HiddenRowsTakeNoPlaceAndNumbersStay) {
    ChoiceCountMap counts;
    const auto plans = planParameterRows(storeOf(kTable), counts, 20);
    ASSERT_EQ(plans.size(), 4u);
    EXPECT_EQ(plans[0].caption, "1. Entry delay");
    EXPECT_EQ(plans[1].caption, "2. Siren");
    EXPECT_EQ(plans[2].caption, "");
    EXPECT_FALSE(plans[2].visible);
    EXPECT_TRUE(plans[2].choices.empty());
    EXPECT_EQ(plans[3].caption, "4. Outputs");
    EXPECT_EQ(plans[0].offsetY, rowTop(20, 0));
    EXPECT_EQ(plans[1].offsetY, rowTop(20, 1));
    EXPECT_EQ(plans[2].offsetY, rowTop(20, 2));
    EXPECT_EQ(plans[3].offsetY, rowTop(20, 2)) << "the row after a hidden one moves up";
}

TEST(RowPlan, MeasuredTextsAreTheDefinitionsAsWrittenHiddenOnesIncluded) {
    const MeasuredTexts texts = measuredTexts(storeOf(kTable));
    EXPECT_EQ(texts.captions, std::vector<std::string>({"Entry delay", "Siren", "0", "Outputs"}));
    EXPECT_EQ(texts.choices, std::vector<std::string>({"10 s", "20 s", "Off", "On", "0", "a", "b"}));
}

}  // namespace
