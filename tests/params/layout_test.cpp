#include "params/layout.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// The fixed strip at the foot of a client of 640 x 560 and of 300 x 400
// (narrower than the groups: they overhang to the left, the halves
// truncated toward zero), and the parameter area above it.
TEST(Layout, FixedStripAboveTheBottomRowsCentredAndScrolledMetricsGrowWithTexts) {
    const struct { const char* what; ControlPlace place; int32_t width, height; Point first, second; } cases[] = {
        {"Read", commandButtonPlace(300), 640, 560, {420, 500}, {120, 500}},
        {"Defaults", commandButtonPlace(0), 300, 400, {-50, 340}, {-50, 340}},
        {"T1", textFieldPlace(5), 640, 560, {167, 340}, {322, 340}},
        {"H", textFieldPlace(1), 300, 400, {-2, 280}, {153, 280}},
        {"K", textFieldPlace(0), 640, 560, {167, 465}, {322, 465}},
        {"status line", footPlace(), 640, 560, {120, 535}, {120, 535}}};
    for (const auto& c : cases) {
        const Point first = fixedFirstWindowPosition(c.place, c.width, c.height);
        const Point second = fixedSecondWindowPosition(c.place, c.width, c.height);
        EXPECT_EQ(std::make_pair(first.x, first.y), std::make_pair(c.first.x, c.first.y)) << c.what;
        EXPECT_EQ(std::make_pair(second.x, second.y), std::make_pair(c.second.x, c.second.y)) << c.what;
    }
    EXPECT_EQ(parameterAreaHeight(560), 330);
    EXPECT_EQ(parameterAreaHeight(150), 0) << "lower than the strip: no negative height";
    // Rows of height 16 (pitch 20) in an area 500 px wide, groups 300 px wide
    // with the list 180 px right of the caption, scrolled by whole rows.
    const ControlPlace third{rowTop(16, 2), 0, 180, 300};
    EXPECT_EQ(third.offsetY, 44);
    const struct { int32_t position; int32_t y; } rows[] = {{0, 44}, {2, 4}, {5, -56}};
    for (const auto& c : rows) {
        EXPECT_EQ(rowCaptionPosition(third, 500, 16, c.position).x, 100);
        EXPECT_EQ(rowChoicePosition(third, 500, 16, c.position).x, 280);
        EXPECT_EQ(rowChoicePosition(third, 500, 16, c.position).y, c.y) << c.position;
    }
    EXPECT_EQ(separatorLines(3, 1, 16), (std::vector<int32_t>{22, 42})) << "one below each shown row";
    EXPECT_TRUE(separatorLines(3, 3, 16).empty());
    LayoutMetrics m, measured;
    padMetrics(m);
    EXPECT_EQ((std::vector<int32_t>{m.captionWidth, m.choiceWidth, m.rowHeight}), (std::vector<int32_t>{50, 80, 20}));
    measureCaption(measured, 140, 13);
    measureCaption(measured, 90, 16);
    measureChoice(measured, 70);
    measureChoice(measured, 40);
    padMetrics(measured);
    EXPECT_EQ((std::vector<int32_t>{measured.captionWidth, measured.choiceWidth, measured.rowHeight}),
              (std::vector<int32_t>{170, 100, 21}));
}

TEST(Scrolling, PagesRequestsMovesAndWheelTurnsWithinWhatTheScrollBarAccepts) {
    const struct { int32_t height, page; } pages[] = {{240, 10}, {263, 10}, {10, 1}, {0, 1}};
    for (const auto& c : pages) EXPECT_EQ(scrollPage(c.height, 20), c.page) << c.height;
    // Mostly 30 rows, 10 fit: the last position shows nine rows and one
    // empty slot. Empty or short lists stay at the top.
    const struct { int32_t rows, position, track, request, expected; } cases[] = {
        {30, 5, 17, kScrollBottom, 21},       {30, 5, 17, kScrollTop, 0},         {30, 0, 17, kScrollLineUp, 0},
        {30, 21, 17, kScrollLineDown, 21},    {30, 5, 17, kScrollLineDown, 6},    {30, 5, 17, kScrollPageDown, 15},
        {30, 15, 17, kScrollPageDown, 21},    {30, 5, 17, kScrollPageUp, 0},      {30, 5, 17, kScrollThumbTrack, 17},
        {30, 5, 17, kScrollThumbPosition, 5}, {30, 5, 17, kScrollEnd, 5},         {30, 5, 17, 1234, 5},
        {30, 0, 40, kScrollThumbTrack, 21},   {0, 0, 0, kScrollBottom, 0},        {0, 0, 0, kScrollLineDown, 0},
        {4, 0, 0, kScrollBottom, 0},          {4, 0, 0, kScrollPageDown, 0}};
    for (const auto& c : cases) {
        const ScrollState s{0, c.rows, 10, c.position, c.track};
        EXPECT_EQ(scrolledPosition(s, c.request), c.expected) << c.rows << " rows: " << c.request << " from " << c.position;
    }
    // 30 rows, 10 fit: by whole rows within the same limits, and the least
    // move that shows a row.
    const ScrollState s{0, 30, 10, 5, 0};
    const struct { int32_t rows, by; } moves[] = {{3, 8}, {-3, 2}, {-9, 0}, {40, 21}, {0, 5}};
    for (const auto& m : moves) EXPECT_EQ(scrolledBy(s, m.rows), m.by) << m.rows;
    const struct { int32_t index, position; } shows[] = {{5, 5}, {14, 5}, {15, 6}, {29, 20}, {4, 4}, {0, 0}};
    for (const auto& c : shows) EXPECT_EQ(positionShowing(s, c.index), c.position) << c.index;
    // Deltas of one wheel turn after another, from nothing pending: notches,
    // fine wheels that add up, a turn back, "one screen" and wheel scrolling off.
    const struct { const char* what; uint32_t lines; std::vector<int32_t> deltas, rows; } turns[] = {
        {"a notch down, three lines", 3, {-120}, {3}}, {"a notch up", 3, {120}, {-3}}, {"two notches", 3, {-240}, {6}},
        {"fine wheel: 30 a turn adds up to rows", 3, {-30, -30, -30, -30}, {0, 1, 1, 1}},
        {"seven lines: 1/120 rows exactly", 7, {-10, -10, -100}, {0, 1, 6}},
        {"a turn back drops the part pending", 3, {-30, 30, 30}, {0, 0, -1}},
        {"one screen a notch", kWheelPageScroll, {-120, 60, 60}, {10, -5, -5}},
        {"wheel scrolling off", 0, {-120, -120}, {0, 0}}};
    for (const auto& c : turns) {
        int32_t pending = 0;
        std::vector<int32_t> rows;
        for (int32_t delta : c.deltas) rows.push_back(wheelRows(pending, delta, c.lines, 10));
        EXPECT_EQ(rows, c.rows) << c.what;
    }
}

}  // namespace
