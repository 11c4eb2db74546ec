#include "params/scrolling_win32.h"

#include "defs/app_state.h"
#include "defs/handles_win32.h"
#include "params/control_registry.h"
#include "params/layout.h"
#include "params/parameter_list.h"

static_assert(kScrollLineUp == SB_LINEUP && kScrollLineDown == SB_LINEDOWN && kScrollPageUp == SB_PAGEUP &&
                  kScrollPageDown == SB_PAGEDOWN && kScrollThumbPosition == SB_THUMBPOSITION &&
                  kScrollThumbTrack == SB_THUMBTRACK && kScrollTop == SB_TOP && kScrollBottom == SB_BOTTOM &&
                  kScrollEnd == SB_ENDSCROLL,
              "scroll requests are the scroll-bar codes");

namespace {

HWND area() { return toHwnd(appState.parameterArea); }

ScrollState readScrollState() {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(area(), SB_VERT, &info);
    return ScrollState{info.nMin, info.nMax, static_cast<int32_t>(info.nPage), info.nPos, info.nTrackPos};
}

void moveKeepingSize(HWND window, Point position) {
    RECT r = {};
    GetWindowRect(window, &r);
    MoveWindow(window, position.x, position.y, r.right - r.left, r.bottom - r.top, TRUE);
}

}  // namespace

void resetScrollRange() {
    RECT client = {};
    GetClientRect(area(), &client);
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = countVisibleParameters(appState.definitions);
    info.nPage = static_cast<UINT>(scrollPage(client.bottom, appState.rowHeight));
    info.nPos = 0;
    SetScrollInfo(area(), SB_VERT, &info, TRUE);
    scrollParameterArea(SB_ENDSCROLL);
}

// The separator lines follow the first shown row, so the area is repainted
// whenever the position changes.
void scrollParameterArea(WPARAM request) {
    const ScrollState state = readScrollState();
    const int32_t position = scrolledPosition(state, LOWORD(request));
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    info.nPos = position;
    SetScrollInfo(area(), SB_VERT, &info, TRUE);
    placeParameterRows(position);
    if (position != state.position) InvalidateRect(area(), nullptr, TRUE);
}

void placeParameterRows(int32_t position) {
    RECT client = {};
    GetClientRect(area(), &client);
    forEachParameterRow(appState.parameterRows, [&](int32_t, const ControlRecord& row) {
        if (!row.secondWindow) return;
        moveKeepingSize(toHwnd(row.firstWindow), rowCaptionPosition(row, client.right, appState.rowHeight, position));
        moveKeepingSize(toHwnd(row.secondWindow), rowChoicePosition(row, client.right, appState.rowHeight, position));
    });
}

void paintParameterArea(HDC dc, HWND window) {
    if (window != area()) return;
    RECT client = {};
    GetClientRect(window, &client);
    const int32_t count = countVisibleParameters(appState.definitions);
    const int32_t position = GetScrollPos(window, SB_VERT);
    HGDIOBJ previous = SelectObject(dc, GetStockObject(WHITE_PEN));
    for (int32_t y : separatorLines(count, position, appState.rowHeight)) {
        MoveToEx(dc, 0, y, nullptr);
        LineTo(dc, client.right, y);
    }
    SelectObject(dc, previous);
}
