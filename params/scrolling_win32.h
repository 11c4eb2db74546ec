// Scrolling and painting of the parameter area: whole-row scrolling by the
// area's own vertical scroll bar, and the separator lines between rows.
//
// User-interface thread only.
#pragma once

#include <windows.h>

// wParam of WM_VSCROLL; only its low word, the request, is used.
void scrollParameterArea(WPARAM request);
// Called between BeginPaint and EndPaint for every window of the main
// class; draws only for the parameter area.
void paintParameterArea(HDC dc, HWND window);
