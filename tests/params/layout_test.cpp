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
    const struct { int32_t height, page; } cases[] = {{240, 10}, {263, 10}, {10, 1}, {0, 1}};
    for (const auto& c : cases) EXPECT_EQ(scrollPage(c.height, 20), c.page) << c.height;
}

TEST(Scrolling, RequestsAreLimitedToWhatTheScrollBarAccepts) {
    // Mostly 30 rows, 10 fit: the last position shows nine rows and one
    // empty slot. Empty or short lists stay at the top.
    struct Case { int32_t rows, position, track, request, expected; };
    const Case cases[] = {
        {30, 5, 17, kScrollBottom, 21},       {30, 5, 17, kScrollTop, 0},         {30, 0, 17, kScrollLineUp, 0},
        {30, 21, 17, kScrollLineDown, 21},    {30, 5, 17, kScrollLineDown, 6},    {30, 5, 17, kScrollPageDown, 15},
        {30, 15, 17, kScrollPageDown, 21},    {30, 5, 17, kScrollPageUp, 0},      {30, 5, 17, kScrollThumbTrack, 17},
        {30, 5, 17, kScrollThumbPosition, 5}, {30, 5, 17, kScrollEnd, 5},         {30, 5, 17, 1234, 5},
        {30, 0, 40, kScrollThumbTrack, 21},   {0, 0, 0, kScrollBottom, 0},        {0, 0, 0, kScrollLineDown, 0},
        {4, 0, 0, kScrollBottom, 0},          {4, 0, 0, kScrollPageDown, 0},
    };
    for (const auto& c : cases) {
        const ScrollState s{0, c.rows, 10, c.position, c.track};
        EXPECT_EQ(scrolledPosition(s, c.request), c.expected) << c.rows << " rows: " << c.request << " from " << c.position;
    }
}

}  // namespace
