// Scrolling and painting of the parameter area: whole-row scrolling by the
// area's own vertical scroll bar (rows are moved, no window content is
// scrolled), and the white separator lines between rows.
#include "app/app_state.h"
#include "app/form_win32.h"
#include "params/layout.h"
#include "params/parameter_list.h"

static_assert(kScrollLineUp == SB_LINEUP && kScrollLineDown == SB_LINEDOWN && kScrollPageUp == SB_PAGEUP &&
                  kScrollPageDown == SB_PAGEDOWN && kScrollThumbPosition == SB_THUMBPOSITION &&
                  kScrollThumbTrack == SB_THUMBTRACK && kScrollTop == SB_TOP && kScrollBottom == SB_BOTTOM &&
                  kScrollEnd == SB_ENDSCROLL,
              "scroll requests are the scroll-bar codes");
static_assert(kWheelPageScroll == WHEEL_PAGESCROLL && kWheelDelta == WHEEL_DELTA, "wheel units are the system's");

namespace {

HWND area() { return appState.parameterArea; }

ScrollState readScrollState() {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(area(), SB_VERT, &info);
    return ScrollState{info.nMin, info.nMax, static_cast<int32_t>(info.nPage), info.nPos, info.nTrackPos};
}

// Parts of a wheel notch not yet turned into a row (1/120 rows).
int32_t pendingWheel = 0;

// The separator lines follow the first shown row, so the area is repainted
// whenever the position changes.
void scrollTo(const ScrollState& state, int32_t position) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    info.nPos = position;
    SetScrollInfo(area(), SB_VERT, &info, TRUE);
    placeParameterRows(position);
    if (position != state.position) InvalidateRect(area(), nullptr, TRUE);
}

}  // namespace

void moveKeepingSize(HWND window, Point position) {
    if (!window) return;
    RECT r = {};
    GetWindowRect(window, &r);
    MoveWindow(window, position.x, position.y, r.right - r.left, r.bottom - r.top, TRUE);
}

void resetScrollRange() {
    RECT client = {};
    GetClientRect(area(), &client);
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = countVisibleParameters(appState.definitions);
    info.nPage = static_cast<UINT>(scrollPage(client.bottom, appState.layoutMetrics.rowHeight));
    info.nPos = 0;
    SetScrollInfo(area(), SB_VERT, &info, TRUE);
    scrollParameterArea(SB_ENDSCROLL);
}

void scrollParameterArea(WPARAM request) {
    const ScrollState state = readScrollState();
    scrollTo(state, scrolledPosition(state, LOWORD(request)));
}

void scrollParameterAreaByWheel(WPARAM wheel) {
    UINT lines = 3;  // the system's default, should the setting be unreadable
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    const ScrollState state = readScrollState();
    const int32_t rows = wheelRows(pendingWheel, GET_WHEEL_DELTA_WPARAM(wheel), lines, state.page);
    if (rows != 0) scrollTo(state, scrolledBy(state, rows));
}

void scrollRowIntoView(int32_t number) {
    const int32_t index = visibleIndex(appState.definitions, number);
    if (index < 0) return;
    const ScrollState state = readScrollState();
    const int32_t position = positionShowing(state, index);
    if (position != state.position) scrollTo(state, position);
}

void placeParameterRows(int32_t position) {
    RECT client = {};
    GetClientRect(area(), &client);
    forEachParameterRow(appState.parameterRows, [&](int32_t, const ControlRecord& row) {
        if (!rowList(row)) return;
        const int32_t rowHeight = appState.layoutMetrics.rowHeight;
        moveKeepingSize(rowCaption(row), rowCaptionPosition(row.place, client.right, rowHeight, position));
        moveKeepingSize(rowList(row), rowChoicePosition(row.place, client.right, rowHeight, position));
    });
}

void paintParameterArea(HDC dc, HWND window) {
    if (window != area()) return;
    RECT client = {};
    GetClientRect(window, &client);
    const int32_t count = countVisibleParameters(appState.definitions);
    const int32_t position = GetScrollPos(window, SB_VERT);
    HGDIOBJ previous = SelectObject(dc, GetStockObject(WHITE_PEN));
    for (int32_t y : separatorLines(count, position, appState.layoutMetrics.rowHeight)) {
        MoveToEx(dc, 0, y, nullptr);
        LineTo(dc, client.right, y);
    }
    SelectObject(dc, previous);
}
