// The fixed controls of the main window, the parameter area above them, and
// the layout of both. Positions are pixels of the main client area; fixed
// controls are kept as distances above its bottom and centred as groups.
#include "app/app_state.h"
#include "app/form_win32.h"
#include "params/layout.h"
#include "params/parameter_list.h"
#include "params/text_fields.h"
#include "resources/resource.h"

#include <commctrl.h>

namespace {

// Button captions: row "Q1".
inline constexpr const char* kButtonRow = "Q1";
// The parameter area's size until the first layout.
constexpr int32_t kInitialAreaSize = 500;

struct CommandButton {
    int32_t textIndex;
    int32_t controlId;
    int32_t groupX;
    bool needsConfiguration;
};

const CommandButton kCommandButtons[] = {
    {0, IDC_RESET_DEFAULTS, 0, true},
    {1, IDC_WRITE_DEVICE, 150, true},
    {2, IDC_READ_DEVICE, 300, false},
};

RECT mainClientRect() {
    RECT client = {};
    GetClientRect(appState.mainWindow, &client);
    return client;
}

HWND createChild(const char* className, DWORD style, int32_t x, int32_t y, int32_t width, int32_t height,
                 int32_t controlId) {
    HWND child = CreateWindowExA(0, className, "", style, x, y, width, height, appState.mainWindow,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), programInstance(), nullptr);
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(appState.guiFont), TRUE);
    return child;
}

// The progress bar and the status line share one place at the foot.
HWND createFootControl(const char* className, DWORD style, int32_t controlId, int32_t clientBottom) {
    const ControlPlace place = footPlace();
    HWND control = createChild(className, style, 0, clientBottom - place.offsetY, kFootWidth, kFootHeight, controlId);
    storeControl(appState.fixedControls, controlId, ControlRecord{control, nullptr, place});
    return control;
}

void showFieldWindows(const ControlRecord& field, bool shown) {
    ShowWindow(fieldCaption(field), shown ? SW_SHOW : SW_HIDE);
    ShowWindow(fieldEdit(field), shown ? SW_SHOW : SW_HIDE);
}

// Tab and screen readers follow the z-order: after the parameter area with
// its rows come the fields top to bottom, each right after its caption, then
// the buttons as they stand. Fields are made again after a language without
// their caption, so the order is set after every build.
void orderFixedControls() {
    HWND previous = appState.parameterArea;
    const auto follow = [&previous](HWND window) {
        if (!window) return;
        SetWindowPos(window, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = window;
    };
    for (const TextFieldLimit& field : TextFieldLimits) {
        if (const ControlRecord* record = findControl(appState.fixedControls, field.controlId)) {
            follow(fieldCaption(*record));
            follow(fieldEdit(*record));
        }
    }
    for (const CommandButton& button : kCommandButtons)
        if (const ControlRecord* record = findControl(appState.fixedControls, button.controlId))
            follow(controlWindow(*record));
}

void removeTextField(int32_t controlId, const ControlRecord& field) {
    DestroyWindow(fieldCaption(field));
    DestroyWindow(fieldEdit(field));
    removeControl(appState.fixedControls, controlId);
}

}  // namespace

// The rows' lists are reached with Tab from the main window through the
// area (a control parent).
void createParameterArea() {
    appState.parameterArea =
        CreateWindowExA(WS_EX_CONTROLPARENT, kMainClassName, "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL, 0, 0,
                        kInitialAreaSize, kInitialAreaSize, appState.mainWindow, nullptr, programInstance(), nullptr);
}

void buildFixedControls() {
    const int32_t bottom = mainClientRect().bottom;
    for (const CommandButton& c : kCommandButtons)
        createCommandButton(c.textIndex, c.controlId, c.groupX, bottom, !c.needsConfiguration || formAvailable());
    for (const TextFieldLimit& field : TextFieldLimits) createTextField(bottom, field.controlId, field.slot);
    if (!findControl(appState.fixedControls, IDC_PROGRESS))
        appState.progressBar = createFootControl(PROGRESS_CLASSA, WS_CHILD | WS_CLIPSIBLINGS, IDC_PROGRESS, bottom);
    if (!findControl(appState.fixedControls, IDC_STATUS_LINE))
        appState.statusLine = createFootControl(
            "STATIC", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_BORDER | SS_CENTER | SS_CENTERIMAGE,
            IDC_STATUS_LINE, bottom);
    orderFixedControls();
}

void createCommandButton(int32_t textIndex, int32_t controlId, int32_t groupX, int32_t clientBottom, bool enabled) {
    const ControlRecord* record = findControl(appState.fixedControls, controlId);
    HWND button = record ? controlWindow(*record) : nullptr;
    if (!record) {
        const ControlPlace place = commandButtonPlace(groupX);
        button = createChild("BUTTON", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, groupX,
                             clientBottom - place.offsetY, kButtonWidth, kButtonHeight, controlId);
        storeControl(appState.fixedControls, controlId, ControlRecord{button, nullptr, place});
    }
    SetWindowTextA(button, text(appState.definitions, kButtonRow, textIndex).c_str());
    EnableWindow(button, enabled);
}

// A field whose caption is missing (or "0") in the current language and
// variant does not exist: its windows are destroyed and its record removed,
// so reading, writing, saving and opening skip it. A later build that finds
// a caption creates it again, empty.
void createTextField(int32_t clientBottom, int32_t controlId, int32_t slot) {
    const TextFieldLimit* limits = findTextField(controlId);
    const std::string caption = limits ? text(appState.definitions, limits->key, 0) : std::string();
    const ControlRecord* record = findControl(appState.fixedControls, controlId);
    if (!isVisibleCaption(caption)) {
        if (record) removeTextField(controlId, *record);
        return;
    }
    if (!record) {
        const ControlPlace place = textFieldPlace(slot);
        const int32_t y = clientBottom - place.offsetY;
        HWND label = createChild("STATIC", WS_CHILD | WS_CLIPSIBLINGS | SS_RIGHT, place.firstX, y, kFieldWidth,
                                 kFieldHeight, 0);
        HWND edit = createChild("EDIT",
                                WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | WS_TABSTOP | ES_NUMBER | ES_READONLY | ES_PASSWORD,
                                place.secondX, y, kFieldWidth, kFieldHeight, controlId);
        installFieldInput(edit);
        storeControl(appState.fixedControls, controlId, ControlRecord{label, edit, place});
        record = findControl(appState.fixedControls, controlId);
    }
    SetWindowTextA(fieldCaption(*record), caption.c_str());
    showFieldWindows(*record, formAvailable());
}

void layoutMainWindow() {
    if (!appState.mainWindow) return;
    const RECT client = mainClientRect();
    const int32_t width = client.right, height = client.bottom;
    for (const auto& [id, record] : appState.fixedControls) {
        moveKeepingSize(record.firstWindow, fixedFirstWindowPosition(record.place, width, height));
        moveKeepingSize(record.secondWindow, fixedSecondWindowPosition(record.place, width, height));
    }
    MoveWindow(appState.parameterArea, 0, 0, width, parameterAreaHeight(height), TRUE);
    resetScrollRange();
    if (!formAvailable()) return;
    forEachParameterRow(appState.parameterRows, [](int32_t, const ControlRecord& row) {
        if (!rowList(row)) return;
        ShowWindow(rowCaption(row), SW_SHOW);
        ShowWindow(rowList(row), SW_SHOW);
    });
}
