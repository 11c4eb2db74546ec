// Geometry of the main window, in client pixels: the parameter area on top,
// the fixed strip of text fields, buttons and status line at the bottom, and
// whole-row scrolling of the parameter list. Pure arithmetic; the Win32
// builder and scroller apply it to the windows.
#pragma once

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

// Where one control group of the form belongs, without its windows:
//   offsetY     rows: top in the unscrolled list; fixed controls: distance
//               of the top edge above the bottom of the main client area
//   firstX      x of the first window (caption, button, bar) within its group
//   secondX     x of the second window (choice list, field edit) within it
//   groupWidth  width of the group that is centred horizontally
struct ControlPlace {
    int32_t offsetY = 0;
    int32_t firstX = 0;
    int32_t secondX = 0;
    int32_t groupWidth = 0;
};

// The fixed strip at the foot of the main window. Buttons: 100 x 25 px, 60
// px above the bottom, at 0, 150 and 300 in a 400 px group. Text fields:
// caption and edit of 150 x 20 px, the edit 155 px right of the caption, in
// a 305 px group, slot s standing 25 * s + 95 px above the bottom. The
// progress bar and the status line share one place: 400 x 20 px, 25 px
// above the bottom.
constexpr int32_t kButtonWidth = 100, kButtonHeight = 25;
constexpr int32_t kFieldWidth = 150, kFieldHeight = 20;
constexpr int32_t kFootWidth = 400, kFootHeight = 20;
ControlPlace commandButtonPlace(int32_t groupX);
ControlPlace textFieldPlace(int32_t slot);
ControlPlace footPlace();

// Left edge of a group of `groupWidth` centred in `clientWidth`: half the
// difference, truncated toward zero (negative when the client is narrower).
int32_t centringOffset(int32_t clientWidth, int32_t groupWidth);

// The parameter area takes what the strip leaves, never a negative height.
int32_t parameterAreaHeight(int32_t clientHeight);

// Row pitch and the top of the row with visible index v in the unscrolled list.
int32_t rowPitch(int32_t rowHeight);
int32_t rowTop(int32_t rowHeight, int32_t visibleIndex);

// Where a fixed control's windows go for a client of W x H.
Point fixedFirstWindowPosition(const ControlPlace& place, int32_t clientWidth, int32_t clientHeight);
Point fixedSecondWindowPosition(const ControlPlace& place, int32_t clientWidth, int32_t clientHeight);

// Where a parameter row's caption and choice list go in an area of
// `areaWidth` scrolled to `position` (rows above it get negative y).
Point rowCaptionPosition(const ControlPlace& place, int32_t areaWidth, int32_t rowHeight, int32_t position);
Point rowChoicePosition(const ControlPlace& place, int32_t areaWidth, int32_t rowHeight, int32_t position);

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
// The first row `rows` further down (negative: up), within the same limits.
int32_t scrolledBy(const ScrollState& state, int32_t rows);
// The first row that shows the row with visible index `index`: the position
// as it is when the row is already in view, else the least move that brings
// it into view.
int32_t positionShowing(const ScrollState& state, int32_t index);

// The mouse wheel. `delta` is the wheel message's: 120 a notch, less for
// fine wheels and touchpads, positive when turned away from the user (up
// the list). Each notch moves `linesPerNotch` rows (the system's wheel
// setting; kWheelPageScroll moves a page, 0 nothing). Parts of a row add up
// in `pending` (in 1/120 rows) until they make one; a turn the other way
// drops them. Returns the rows to move, positive down the list.
constexpr uint32_t kWheelPageScroll = 0xFFFFFFFFu;
constexpr int32_t kWheelDelta = 120;
int32_t wheelRows(int32_t& pending, int32_t delta, uint32_t linesPerNotch, int32_t page);

// The y of every separator line of an area showing `count` rows from
// `position`: one in the gap below each shown row.
std::vector<int32_t> separatorLines(int32_t count, int32_t position, int32_t rowHeight);
