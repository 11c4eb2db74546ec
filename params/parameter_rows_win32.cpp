// The parameter rows: one caption and one drop-down choice list per
// parameter of the list, children of the parameter area. Rows are created
// once and refreshed on every build (start-up, language switch, read from a
// unit), keeping each list's selection while it is still valid.
#include "params/control_builder_win32.h"

#include "defs/app_state.h"
#include "defs/handles_win32.h"
#include "params/control_registry.h"
#include "params/layout.h"
#include "params/parameter_list.h"
#include "params/row_plan.h"

namespace {

// The dropped-down list shows up to ten rows' worth of choices.
constexpr int32_t kDroppedRows = 10;

int32_t measureWidth(HDC dc, const std::string& text, int32_t* height) {
    RECT r = {0, 0, 0, 0};
    DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT);
    if (height) *height = r.bottom - r.top;
    return r.right - r.left;
}

// Column widths and row height from the texts of the definitions as written,
// in the font every control uses.
LayoutMetrics measureParameterTexts() {
    LayoutMetrics metrics;
    const MeasuredTexts texts = measuredTexts(appState.definitions);
    HWND window = toHwnd(appState.mainWindow);
    HDC dc = GetDC(window);
    HGDIOBJ previous = SelectObject(dc, toHfont(appState.guiFont));
    for (const std::string& caption : texts.captions) {
        int32_t height = 0;
        const int32_t width = measureWidth(dc, caption, &height);
        measureCaption(metrics, width, height);
    }
    for (const std::string& choice : texts.choices) measureChoice(metrics, measureWidth(dc, choice, nullptr));
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    padMetrics(metrics);
    return metrics;
}

HWND createRowWindow(const char* className, DWORD style, int32_t controlId) {
    HWND child = CreateWindowExA(0, className, "", style, 0, 0, 0, 0, toHwnd(appState.parameterArea),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), 
                                 windowInstance(toHwnd(appState.parameterArea)), nullptr);
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(toHfont(appState.guiFont)), TRUE);
    return child;
}

void fillChoiceList(HWND list, const std::vector<std::string>& choices) {
    const LRESULT current = SendMessageA(list, CB_GETCURSEL, 0, 0);
    const int32_t remembered = current == CB_ERR ? 0 : static_cast<int32_t>(current);
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    for (const std::string& choice : choices)
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.c_str()));
    const int32_t count = static_cast<int32_t>(choices.size());
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(keptSelection(remembered, count)), 0);
}

void buildParameterRow(const RowPlan& plan) {
    const ControlRecord* existing = findControl(appState.parameterRows, plan.number);
    ControlRecord row = existing ? *existing : ControlRecord{};
    if (!row.firstWindow) row.firstWindow = toWindowHandle(createRowWindow("STATIC", WS_CHILD | WS_CLIPSIBLINGS, 0));
    if (!plan.visible && row.secondWindow) {
        DestroyWindow(toHwnd(row.secondWindow));
        row.secondWindow = nullptr;
    }
    if (plan.visible && !row.secondWindow)
        row.secondWindow = toWindowHandle(createRowWindow(
            "COMBOBOX", WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | CBS_DROPDOWNLIST, plan.number));
    row.offsetY = plan.offsetY;
    row.firstX = 0;
    row.secondX = appState.captionWidth;
    row.groupWidth = appState.captionWidth + appState.choiceWidth;
    storeControl(appState.parameterRows, plan.number, row);

    MoveWindow(toHwnd(row.firstWindow), 0, row.offsetY, appState.captionWidth, appState.rowHeight, TRUE);
    SetWindowTextA(toHwnd(row.firstWindow), plan.caption.c_str());
    if (!row.secondWindow) return;
    MoveWindow(toHwnd(row.secondWindow), row.secondX, row.offsetY, appState.choiceWidth,
               kDroppedRows * appState.rowHeight, TRUE);
    fillChoiceList(toHwnd(row.secondWindow), plan.choices);
}

// Rows beyond the current list (an earlier build for a unit with more
// parameters) are destroyed and forgotten, so no walk reaches a parameter
// the connected unit does not define.
void removeRowsFrom(int32_t first) {
    for (int32_t n = first; n <= kMaxParamNumber; ++n) {
        const ControlRecord* row = findControl(appState.parameterRows, n);
        if (!row) break;
        DestroyWindow(toHwnd(row->firstWindow));
        DestroyWindow(toHwnd(row->secondWindow));
        removeControl(appState.parameterRows, n);
    }
}

}  // namespace

void buildParameterRows() {
    hideParameterRows();
    const LayoutMetrics metrics = measureParameterTexts();
    appState.captionWidth = metrics.captionWidth;
    appState.choiceWidth = metrics.choiceWidth;
    appState.rowHeight = metrics.rowHeight;
    const std::vector<RowPlan> plans = planParameterRows(appState.definitions, appState.choiceCounts,
                                                         appState.rowHeight);
    for (const RowPlan& plan : plans) buildParameterRow(plan);
    removeRowsFrom(static_cast<int32_t>(plans.size()) + 1);
}

void hideParameterRows() {
    forEachParameterRow(appState.parameterRows, [](int32_t, const ControlRecord& row) {
        if (!row.secondWindow) return;
        ShowWindow(toHwnd(row.firstWindow), SW_HIDE);
        ShowWindow(toHwnd(row.secondWindow), SW_HIDE);
    });
}

void resetToDefaults() {
    forEachParameterRow(appState.parameterRows, [](int32_t, const ControlRecord& row) {
        if (row.secondWindow) SendMessageA(toHwnd(row.secondWindow), CB_SETCURSEL, 0, 0);
    });
}
