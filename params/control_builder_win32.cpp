#include "params/control_builder_win32.h"

#include "app/handles_win32.h"
#include "app/main_window_win32.h"
#include "defs/app_state.h"
#include "params/parameter_list.h"
#include "params/text_fields.h"
#include "resources/resource.h"

#include <commctrl.h>

namespace {

// Button row: captions from row "Q1", 60 px above the bottom, in a 400 px
// group. Text fields: 305 px group, caption then edit at +155, 150 x 20 px.
inline constexpr const char* kButtonRow = "Q1";
constexpr int32_t kButtonGroupWidth = 400;
constexpr int32_t kButtonDistance = 60;
constexpr int32_t kButtonWidth = 100, kButtonHeight = 25;
constexpr int32_t kFieldGroupWidth = 305;
constexpr int32_t kFieldEditX = 155;
constexpr int32_t kFieldWidth = 150, kFieldHeight = 20;
constexpr int32_t kStatusDistance = 25;
constexpr int32_t kStatusWidth = 400, kStatusHeight = 20;
// The parameter area leaves this much of the client area to the strip.
constexpr int32_t kFixedStripHeight = 230;
constexpr int32_t kInitialAreaSize = 500;

struct Command {
    int32_t textIndex;
    int32_t controlId;
    int32_t groupX;
    bool needsConfiguration;
};

const Command kCommands[] = {
    {0, IDC_RESET_DEFAULTS, 0, true},
    {1, IDC_WRITE_DEVICE, 150, true},
    {2, IDC_READ_DEVICE, 300, false},
};

RECT mainClientRect() {
    RECT client = {};
    GetClientRect(mainWindowHandle(), &client);
    return client;
}

HWND createChild(const char* className, DWORD style, int32_t x, int32_t y, int32_t width, int32_t height,
                 HWND parent, int32_t controlId) {
    HWND child = CreateWindowExA(0, className, "", style, x, y, width, height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), programInstance(), nullptr);
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(toHfont(appState.guiFont)), TRUE);
    return child;
}

// The progress bar and the status line share one place at the foot.
HWND createFootControl(const char* className, DWORD style, int32_t controlId, int32_t clientBottom) {
    HWND control = createChild(className, style, 0, clientBottom - kStatusDistance, kStatusWidth, kStatusHeight,
                               mainWindowHandle(), controlId);
    storeControl(appState.fixedControls, controlId,
                 ControlRecord{toWindowHandle(control), nullptr, kStatusDistance, 0, 0, kStatusWidth});
    return control;
}

void moveInGroup(WindowHandle window, int32_t x, int32_t y) {
    if (!window) return;
    RECT r = {};
    GetWindowRect(toHwnd(window), &r);
    MoveWindow(toHwnd(window), x, y, r.right - r.left, r.bottom - r.top, TRUE);
}

}  // namespace

void createParameterArea() {
    HWND area = CreateWindowExA(0, kMainClassName, "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL, 0, 0,
                                kInitialAreaSize, kInitialAreaSize, mainWindowHandle(), nullptr, programInstance(), nullptr);
    appState.parameterArea = toWindowHandle(area);
}

void buildFixedControls() {
    const int32_t bottom = mainClientRect().bottom;
    for (const Command& c : kCommands)
        createCommandButton(c.textIndex, c.controlId, c.groupX, bottom,
                            !c.needsConfiguration || appState.configurationLoaded);
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
                             clientBottom - kButtonDistance, kButtonWidth, kButtonHeight, mainWindowHandle(), controlId);
        storeControl(appState.fixedControls, controlId,
                     ControlRecord{toWindowHandle(button), nullptr, kButtonDistance, groupX, 0, kButtonGroupWidth});
    }
    SetWindowTextA(button, text(appState.definitions, kButtonRow, textIndex).c_str());
    EnableWindow(button, enabled);
}

// A field whose caption is missing (or "0") in the current language and
// variant leaves the registry, so reading, writing, saving and opening skip
// it; its windows stay hidden until a later build finds a caption again.
void createTextField(int32_t clientBottom, int32_t controlId, int32_t slot) {
    const int32_t distance = 25 * slot + 95;
    const ControlRecord* record = findControl(appState.fixedControls, controlId);
    ControlRecord field = record ? *record : ControlRecord{};
    if (!record) {
        const int32_t y = clientBottom - distance;
        HWND caption = createChild("STATIC", WS_CHILD | WS_CLIPSIBLINGS | SS_RIGHT, 0, y, kFieldWidth, kFieldHeight,
                                   mainWindowHandle(), 0);
        HWND edit = createChild("EDIT", WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | ES_NUMBER | ES_READONLY | ES_PASSWORD,
                                kFieldEditX, y, kFieldWidth, kFieldHeight, mainWindowHandle(), controlId);
        field = ControlRecord{toWindowHandle(caption), toWindowHandle(edit), distance, 0, kFieldEditX, kFieldGroupWidth};
        storeControl(appState.fixedControls, controlId, field);
    }
    const TextFieldLimit* limits = findTextField(controlId);
    const std::string caption = limits ? text(appState.definitions, limits->key, 0) : std::string();
    bool shown = appState.configurationLoaded;
    if (!isVisibleCaption(caption)) {
        removeControl(appState.fixedControls, controlId);
        shown = false;
    }
    SetWindowTextA(toHwnd(field.firstWindow), caption.c_str());
    ShowWindow(toHwnd(field.firstWindow), shown ? SW_SHOW : SW_HIDE);
    ShowWindow(toHwnd(field.secondWindow), shown ? SW_SHOW : SW_HIDE);
}

// Parameter rows arrive with the parameter list; until then the list is
// empty and there is nothing to build or hide.
void buildParameterRows() {}

void hideParameterRows() {}

void layoutMainWindow() {
    if (!appState.mainWindow) return;
    const RECT client = mainClientRect();
    const int32_t width = client.right, height = client.bottom;
    for (const auto& [id, record] : appState.fixedControls) {
        const int32_t half = (width - record.groupWidth) / 2;
        moveInGroup(record.firstWindow, record.firstX + half, height - record.offsetY);
        moveInGroup(record.secondWindow, record.secondX + half, height - record.offsetY);
    }
    // A client lower than the fixed strip leaves the area empty, never
    // negative in size.
    const int32_t areaHeight = height > kFixedStripHeight ? height - kFixedStripHeight : 0;
    MoveWindow(toHwnd(appState.parameterArea), 0, 0, width, areaHeight, TRUE);
}
