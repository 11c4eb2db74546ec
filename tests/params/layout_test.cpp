#include "params/layout.h"

#include <gtest/gtest.h>

namespace {

TEST(Layout, CentringTruncatesTowardZeroAndGoesNegativeWhenNarrow) {
    struct Case { int32_t width, group, offset; };
    const Case cases[] = {{800, 400, 200}, {801, 400, 200}, {400, 400, 0}, {399, 400, 0}, {397, 400, -1},
                          {300, 400, -50}, {0, 305, -152}};
    for (const auto& c : cases) EXPECT_EQ(centringOffset(c.width, c.group), c.offset) << c.width;
}

TEST(Layout, FixedControlsStandAtTheirDistanceAboveTheBottom) {
    ControlRecord button{nullptr, nullptr, 60, 300, 0, 400};
    Point p = fixedFirstWindowPosition(button, 640, 480);
    EXPECT_EQ(p.x, 300 + 120);
    EXPECT_EQ(p.y, 420);
    ControlRecord field{nullptr, nullptr, 220, 0, 155, 305};
    EXPECT_EQ(fixedSecondWindowPosition(field, 640, 480).x, 155 + 167);
    EXPECT_EQ(fixedSecondWindowPosition(field, 640, 480).y, 260);
    // A client narrower than the group pushes the group left of the edge.
    EXPECT_EQ(fixedFirstWindowPosition(button, 300, 480).x, 300 - 50);
}

TEST(Layout, ParameterAreaNeverGetsANegativeHeight) {
    EXPECT_EQ(parameterAreaHeight(600), 370);
    EXPECT_EQ(parameterAreaHeight(230), 0);
    EXPECT_EQ(parameterAreaHeight(100), 0);
    EXPECT_EQ(parameterAreaHeight(0), 0);
}

TEST(Layout, RowsStackAtThePitchAndScrollByWholeRows) {
    EXPECT_EQ(rowTop(20, 0), 4);
    EXPECT_EQ(rowTop(20, 3), 76);
    ControlRecord row{nullptr, nullptr, rowTop(20, 5), 0, 180, 300};
    EXPECT_EQ(rowCaptionPosition(row, 500, 20, 0).y, 124);
    EXPECT_EQ(rowCaptionPosition(row, 500, 20, 2).y, 124 - 48);
    EXPECT_EQ(rowCaptionPosition(row, 500, 20, 9).y, 124 - 216);
    EXPECT_EQ(rowCaptionPosition(row, 500, 20, 0).x, 100);
    EXPECT_EQ(rowChoicePosition(row, 500, 20, 0).x, 280);
}

TEST(Layout, MetricsStartSmallGrowWithTextsAndArePadded) {
    LayoutMetrics m;
    padMetrics(m);
    EXPECT_EQ(m.captionWidth, 50);
    EXPECT_EQ(m.choiceWidth, 80);
    EXPECT_EQ(m.rowHeight, 20);
    LayoutMetrics measured;
    measureCaption(measured, 140, 13);
    measureCaption(measured, 90, 16);
    measureChoice(measured, 70);
    measureChoice(measured, 40);
    padMetrics(measured);
    EXPECT_EQ(measured.captionWidth, 170);
    EXPECT_EQ(measured.rowHeight, 21);
    EXPECT_EQ(measured.choiceWidth, 100);
}

TEST(Scrolling, PageIsWholeRowsAndAtLeastOne) {
    EXPECT_EQ(scrollPage(240, 20), 10);
    EXPECT_EQ(scrollPage(263, 20), 10);
    EXPECT_EQ(scrollPage(10, 20), 1);
    EXPECT_EQ(scrollPage(0, 20), 1);
}

TEST(Scrolling, RequestsAreLimitedToWhatTheScrollBarAccepts) {
    // 30 rows, 10 fit: the last position shows nine rows and one empty slot.
    ScrollState s{0, 30, 10, 5, 17};
    struct Case { int32_t position; int32_t request; int32_t expected; };
    const Case cases[] = {
        {5, kScrollBottom, 21},       {5, kScrollTop, 0},           {0, kScrollLineUp, 0},
        {21, kScrollLineDown, 21},    {5, kScrollLineDown, 6},      {5, kScrollPageDown, 15},
        {15, kScrollPageDown, 21},    {5, kScrollPageUp, 0},        {5, kScrollThumbTrack, 17},
        {5, kScrollThumbPosition, 5}, {5, kScrollEnd, 5},           {5, 1234, 5},
    };
    for (const auto& c : cases) {
        s.position = c.position;
        EXPECT_EQ(scrolledPosition(s, c.request), c.expected) << c.request << " from " << c.position;
    }
    s.trackPosition = 40;
    s.position = 0;
    EXPECT_EQ(scrolledPosition(s, kScrollThumbTrack), 21);
}

TEST(Scrolling, EmptyOrShortListsStayAtTheTop) {
    ScrollState none{0, 0, 10, 0, 0};
    EXPECT_EQ(scrolledPosition(none, kScrollBottom), 0);
    EXPECT_EQ(scrolledPosition(none, kScrollLineDown), 0);
    ScrollState few{0, 4, 10, 0, 0};
    EXPECT_EQ(scrolledPosition(few, kScrollBottom), 0);
    EXPECT_EQ(scrolledPosition(few, kScrollPageDown), 0);
}

TEST(Painting, SeparatorLinesOnlyBelowShownRows) {
    EXPECT_TRUE(separatorLines(0, 0, 20).empty());
    EXPECT_EQ(separatorLines(3, 0, 20), std::vector<int32_t>({26, 50, 74}));
    EXPECT_EQ(separatorLines(5, 3, 20), std::vector<int32_t>({26, 50}));
    EXPECT_TRUE(separatorLines(5, 5, 20).empty());
}

}  // namespace
