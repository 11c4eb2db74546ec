// Scrolling and painting of the parameter area: whole-row scrolling by the
// area's own vertical scroll bar (rows are moved, no window content is
// scrolled), and the white separator lines between rows.
//
// User-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>

// Range 0..number of visible rows, page = rows that fit, position 0, and
// every row placed for it. Called by every layout.
void resetScrollRange();
// wParam of WM_VSCROLL; only its low word, the request, is used.
void scrollParameterArea(WPARAM request);
// Moves every row with a choice list to its place for first row `position`.
void placeParameterRows(int32_t position);
// Called between BeginPaint and EndPaint for every window of the main
// class; draws only for the parameter area.
void paintParameterArea(HDC dc, HWND window);
