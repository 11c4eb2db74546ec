#include "params/layout.h"

#include <gtest/gtest.h>

// Where the window places its controls and rows with this arithmetic is
// checked in the real window (tests/win32); here: the rounding, limits and
// metrics that one window size does not show.

namespace {

TEST(Layout, CentringTruncatesTowardZeroAndGoesNegativeWhenNarrow) {
    struct Case { int32_t width, group, offset; };
    const Case cases[] = {{800, 400, 200}, {801, 400, 200}, {400, 400, 0}, {399, 400, 0}, {397, 400, -1},
                          {300, 400, -50}, {0, 305, -152}};
    for (const auto& c : cases) EXPECT_EQ(centringOffset(c.width, c.group), c.offset) << c.width;
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

}  // namespace
