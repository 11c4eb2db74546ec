// Geometry of the main window, in client pixels: the parameter area on top,
// the fixed strip of text fields, buttons and status line at the bottom, and
// whole-row scrolling of the parameter list. Pure arithmetic; the Win32
// builder and scroller apply it to the windows.
#pragma once

#include "params/control_registry.h"

#include <cstdint>
#include <vector>

// Height of the strip below the parameter area.
constexpr int32_t kFixedStripHeight = 230;
// Gap between rows; the white separator line is drawn 2 px into it.
constexpr int32_t kRowGap = 4;

struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

// Left edge of a group of `groupWidth` centred in `clientWidth`: half the
// difference, truncated toward zero (negative when the client is narrower).
int32_t centringOffset(int32_t clientWidth, int32_t groupWidth);

// The parameter area takes what the strip leaves, never a negative height.
int32_t parameterAreaHeight(int32_t clientHeight);

// Row pitch and the top of the row with visible index v in the unscrolled list.
int32_t rowPitch(int32_t rowHeight);
int32_t rowTop(int32_t rowHeight, int32_t visibleIndex);

// Where a fixed control's windows go for a client of W x H.
Point fixedFirstWindowPosition(const ControlRecord& record, int32_t clientWidth, int32_t clientHeight);
Point fixedSecondWindowPosition(const ControlRecord& record, int32_t clientWidth, int32_t clientHeight);

// Where a parameter row's caption and choice list go in an area of
// `areaWidth` scrolled to `position` (rows above it get negative y).
Point rowCaptionPosition(const ControlRecord& record, int32_t areaWidth, int32_t rowHeight, int32_t position);
Point rowChoicePosition(const ControlRecord& record, int32_t areaWidth, int32_t rowHeight, int32_t position);

// Column widths and row height measured from the definition texts: start
// values, raised by every measured text, then padded.
struct LayoutMetrics {
    int32_t captionWidth = 20;
    int32_t choiceWidth = 50;
    int32_t rowHeight = 15;
};
void measureCaption(LayoutMetrics& metrics, int32_t width, int32_t height);
void measureChoice(LayoutMetrics& metrics, int32_t width);
void padMetrics(LayoutMetrics& metrics);

// Scroll requests, numbered as the platform's scroll-bar codes (SB_LINEUP
// ... SB_ENDSCROLL) so the window procedure's wParam maps directly.
enum ScrollRequest : int32_t {
    kScrollLineUp = 0,
    kScrollLineDown = 1,
    kScrollPageUp = 2,
    kScrollPageDown = 3,
    kScrollThumbPosition = 4,
    kScrollThumbTrack = 5,
    kScrollTop = 6,
    kScrollBottom = 7,
    kScrollEnd = 8,
};

// The vertical scroll bar of the parameter area, in rows.
struct ScrollState {
    int32_t minimum = 0;
    int32_t maximum = 0;  // the number of visible rows, not that number minus one
    int32_t page = 1;
    int32_t position = 0;
    int32_t trackPosition = 0;
};

// Rows that fit in an area of `clientHeight`, at least 1.
int32_t scrollPage(int32_t clientHeight, int32_t rowHeight);
// The new first row for a request, limited to what the scroll bar accepts:
// not below the minimum, not above maximum - page + 1.
int32_t scrolledPosition(const ScrollState& state, int32_t request);

// The y of every separator line of an area showing `count` rows from
// `position`: one in the gap below each shown row.
std::vector<int32_t> separatorLines(int32_t count, int32_t position, int32_t rowHeight);
