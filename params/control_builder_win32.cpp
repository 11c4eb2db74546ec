#include "params/control_builder_win32.h"

#include "defs/app_state.h"
#include "defs/handles_win32.h"
#include "params/control_registry.h"
#include "params/layout.h"
#include "params/parameter_list.h"
#include "params/scrolling_win32.h"
#include "params/text_fields.h"
#include "resources/resource.h"

#include <commctrl.h>

namespace {

// Button row: captions from row "Q1", 60 px above the bottom, in a 400 px
// group. Text fields: 305 px group, caption then edit at +155, 150 x 20 px,
// slot s standing 25 * s + 95 px above the bottom.
inline constexpr const char* kButtonRow = "Q1";
constexpr int32_t kButtonGroupWidth = 400;
constexpr int32_t kButtonDistance = 60;
constexpr int32_t kButtonWidth = 100, kButtonHeight = 25;
constexpr int32_t kFieldGroupWidth = 305;
constexpr int32_t kFieldEditX = 155;
constexpr int32_t kFieldWidth = 150, kFieldHeight = 20;
constexpr int32_t kFieldSlotPitch = 25, kFieldBaseDistance = 95;
constexpr int32_t kStatusDistance = 25;
constexpr int32_t kStatusWidth = 400, kStatusHeight = 20;

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

HWND mainWindow() {
    return toHwnd(appState.mainWindow);
}

RECT mainClientRect() {
    RECT client = {};
    GetClientRect(mainWindow(), &client);
    return client;
}

HWND createChild(const char* className, DWORD style, int32_t x, int32_t y, int32_t width, int32_t height,
                 int32_t controlId) {
    HWND child = CreateWindowExA(0, className, "", style, x, y, width, height, mainWindow(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), windowInstance(mainWindow()),
                                 nullptr);
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(toHfont(appState.guiFont)), TRUE);
    return child;
}

// The progress bar and the status line share one place at the foot.
HWND createFootControl(const char* className, DWORD style, int32_t controlId, int32_t clientBottom) {
    HWND control = createChild(className, style, 0, clientBottom - kStatusDistance, kStatusWidth, kStatusHeight,
                               controlId);
    storeControl(appState.fixedControls, controlId,
                 ControlRecord{toWindowHandle(control), nullptr, kStatusDistance, 0, 0, kStatusWidth});
    return control;
}

// Moves a window keeping its outer size.
void moveTo(WindowHandle window, Point position) {
    if (!window) return;
    RECT r = {};
    GetWindowRect(toHwnd(window), &r);
    MoveWindow(toHwnd(window), position.x, position.y, r.right - r.left, r.bottom - r.top, TRUE);
}

void showFieldWindows(const ControlRecord& field, bool shown) {
    ShowWindow(toHwnd(field.firstWindow), shown ? SW_SHOW : SW_HIDE);
    ShowWindow(toHwnd(field.secondWindow), shown ? SW_SHOW : SW_HIDE);
}

}  // namespace

void buildFixedControls() {
    const int32_t bottom = mainClientRect().bottom;
    for (const CommandButton& c : kCommandButtons)
        createCommandButton(c.textIndex, c.controlId, c.groupX, bottom,
                            !c.needsConfiguration || formAvailable());
    for (const TextFieldLimit& field : TextFieldLimits) createTextField(bottom, field.controlId, field.slot);
    if (!findControl(appState.fixedControls, IDC_PROGRESS))
        appState.progressBar = toWindowHandle(
            createFootControl(PROGRESS_CLASSA, WS_CHILD | WS_CLIPSIBLINGS, IDC_PROGRESS, bottom));
    if (!findControl(appState.fixedControls, IDC_STATUS_LINE))
        appState.statusLine = toWindowHandle(createFootControl(
            "STATIC", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_BORDER | SS_CENTER | SS_CENTERIMAGE,
            IDC_STATUS_LINE, bottom));
}

void createCommandButton(int32_t textIndex, int32_t controlId, int32_t groupX, int32_t clientBottom, bool enabled) {
    const ControlRecord* record = findControl(appState.fixedControls, controlId);
    HWND button = record ? toHwnd(record->firstWindow) : nullptr;
    if (!record) {
        button = createChild("BUTTON", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, groupX,
                             clientBottom - kButtonDistance, kButtonWidth, kButtonHeight, controlId);
        storeControl(appState.fixedControls, controlId,
                     ControlRecord{toWindowHandle(button), nullptr, kButtonDistance, groupX, 0, kButtonGroupWidth});
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
        if (record) {
            DestroyWindow(toHwnd(record->firstWindow));
            DestroyWindow(toHwnd(record->secondWindow));
            removeControl(appState.fixedControls, controlId);
        }
        return;
    }
    if (!record) {
        const int32_t distance = kFieldSlotPitch * slot + kFieldBaseDistance;
        const int32_t y = clientBottom - distance;
        HWND label = createChild("STATIC", WS_CHILD | WS_CLIPSIBLINGS | SS_RIGHT, 0, y, kFieldWidth, kFieldHeight, 0);
        HWND edit = createChild("EDIT", WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | ES_NUMBER | ES_READONLY | ES_PASSWORD,
                                kFieldEditX, y, kFieldWidth, kFieldHeight, controlId);
        storeControl(appState.fixedControls, controlId,
                     ControlRecord{toWindowHandle(label), toWindowHandle(edit), distance, 0, kFieldEditX,
                                   kFieldGroupWidth});
        record = findControl(appState.fixedControls, controlId);
    }
    SetWindowTextA(toHwnd(record->firstWindow), caption.c_str());
    showFieldWindows(*record, formAvailable());
}

void layoutMainWindow() {
    if (!appState.mainWindow) return;
    const RECT client = mainClientRect();
    const int32_t width = client.right, height = client.bottom;
    for (const auto& [id, record] : appState.fixedControls) {
        moveTo(record.firstWindow, fixedFirstWindowPosition(record, width, height));
        moveTo(record.secondWindow, fixedSecondWindowPosition(record, width, height));
    }
    MoveWindow(toHwnd(appState.parameterArea), 0, 0, width, parameterAreaHeight(height), TRUE);
    resetScrollRange();
    if (!formAvailable()) return;
    forEachParameterRow(appState.parameterRows, [](int32_t, const ControlRecord& row) {
        if (!row.secondWindow) return;
        ShowWindow(toHwnd(row.firstWindow), SW_SHOW);
        ShowWindow(toHwnd(row.secondWindow), SW_SHOW);
    });
}
