// The parameter rows: one caption and one drop-down choice list per
// parameter of the list, children of the parameter area. Rows are created
// once and refreshed on every build (start-up, language switch, read from a
// unit), keeping each list's selection while it is still valid.
#include "app/app_state.h"
#include "app/form_win32.h"
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
    HWND window = appState.mainWindow;
    HDC dc = GetDC(window);
    HGDIOBJ previous = SelectObject(dc, appState.guiFont);
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
    HWND child = CreateWindowExA(0, className, "", style, 0, 0, 0, 0, appState.parameterArea,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), programInstance(), nullptr);
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(appState.guiFont), TRUE);
    return child;
}

// A list comes right after its caption in the z-order, also when it is made
// again after its row was hidden: Tab follows the z-order, and a screen
// reader names a control after the window before it.
HWND createChoiceList(int32_t number, HWND caption) {
    HWND list = createRowWindow("COMBOBOX", WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | WS_TABSTOP | CBS_DROPDOWNLIST,
                                number);
    SetWindowPos(list, caption, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    installListInput(list);
    return list;
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
    const LayoutMetrics& metrics = appState.layoutMetrics;
    const ControlRecord* existing = findControl(appState.parameterRows, plan.number);
    ControlRecord row = existing ? *existing : ControlRecord{};
    if (!row.firstWindow) row.firstWindow = createRowWindow("STATIC", WS_CHILD | WS_CLIPSIBLINGS, 0);
    if (!plan.visible && row.secondWindow) {
        DestroyWindow(row.secondWindow);
        row.secondWindow = nullptr;
    }
    if (plan.visible && !row.secondWindow) row.secondWindow = createChoiceList(plan.number, rowCaption(row));
    row.place = ControlPlace{plan.offsetY, 0, metrics.captionWidth, metrics.captionWidth + metrics.choiceWidth};
    storeControl(appState.parameterRows, plan.number, row);

    MoveWindow(rowCaption(row), 0, plan.offsetY, metrics.captionWidth, metrics.rowHeight, TRUE);
    SetWindowTextA(rowCaption(row), plan.caption.c_str());
    if (!rowList(row)) return;
    MoveWindow(rowList(row), row.place.secondX, plan.offsetY, metrics.choiceWidth, kDroppedRows * metrics.rowHeight,
               TRUE);
    fillChoiceList(rowList(row), plan.choices);
}

// Rows beyond the current list (an earlier build for a unit with more
// parameters) are destroyed and forgotten, so no walk reaches a parameter
// the connected unit does not define.
void removeRowsFrom(int32_t first) {
    for (int32_t n = first; n <= kMaxParamNumber; ++n) {
        const ControlRecord* row = findControl(appState.parameterRows, n);
        if (!row) break;
        DestroyWindow(rowCaption(*row));
        DestroyWindow(rowList(*row));
        removeControl(appState.parameterRows, n);
    }
}

}  // namespace

void buildParameterRows() {
    hideParameterRows();
    appState.layoutMetrics = measureParameterTexts();
    const std::vector<RowPlan> plans =
        planParameterRows(appState.definitions, appState.choiceCounts, appState.layoutMetrics.rowHeight);
    for (const RowPlan& plan : plans) buildParameterRow(plan);
    removeRowsFrom(static_cast<int32_t>(plans.size()) + 1);
}

void hideParameterRows() {
    forEachParameterRow(appState.parameterRows, [](int32_t, const ControlRecord& row) {
        if (!rowList(row)) return;
        ShowWindow(rowCaption(row), SW_HIDE);
        ShowWindow(rowList(row), SW_HIDE);
    });
}

void resetToDefaults() {
    forEachParameterRow(appState.parameterRows, [](int32_t, const ControlRecord& row) {
        if (rowList(row)) SendMessageA(rowList(row), CB_SETCURSEL, 0, 0);
    });
}
