#include "app/main_window_win32.h"

#include "app/app_state.h"
#include "app/command_dispatch_win32.h"
#include "app/form_win32.h"
#include "app/placement_text.h"
#include "app/settings.h"
#include "app/status_line_win32.h"
#include "link/link.h"
#include "resources/resource.h"

#include <cstring>

static_assert(sizeof(WINDOWPLACEMENT) == sizeof(PlacementRecord), "stored placement layout");

namespace {

LRESULT onCreate(HWND window) {
    buildUserInterface(window);
    SetTimer(window, IDT_STATUS_TIMER, kStatusTimerMilliseconds, nullptr);
    return 0;
}

// Only the main window's end ends the program; the parameter area, a window
// of the same class, is destroyed right after it and must not store again.
// The handle is forgotten, so that a transfer interrupted by the close
// touches none of the windows that are going.
LRESULT onDestroy(HWND window) {
    if (window != appState.mainWindow) return 0;
    saveWindowPlacement();
    appState.mainWindow = nullptr;
    return 0;
}

LRESULT onPaint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    paintParameterArea(dc, window);
    EndPaint(window, &paint);
    return 0;
}

LRESULT onCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    if (dispatchCommand(LOWORD(wParam), HIWORD(wParam))) return 0;
    return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
}

// The focus goes back to the control that had it (a field after its entry
// box, a list after a message), not to the main window itself.
LRESULT onActivate(HWND window, WPARAM wParam, LPARAM lParam) {
    if (window != appState.mainWindow) return DefWindowProcA(window, WM_ACTIVATE, wParam, lParam);
    if (LOWORD(wParam) == WA_INACTIVE) {
        rememberFocus();
        return DefWindowProcA(window, WM_ACTIVATE, wParam, lParam);
    }
    const LRESULT result = DefWindowProcA(window, WM_ACTIVATE, wParam, lParam);
    keepFocusVisible();
    return result;
}

LRESULT onCtlColorStatic(HWND window, WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(lParam) != appState.statusLine)
        return DefWindowProcA(window, WM_CTLCOLORSTATIC, wParam, lParam);
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, appState.connected ? kConnectedColour : kDisconnectedColour);
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

}  // namespace

void registerMainClass(HINSTANCE instance) {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APPLICATION_ICON));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kMainClassName;
    RegisterClassA(&windowClass);
}

bool createMainWindow(HINSTANCE instance, int showCommand) {
    appState.instance = instance;
    HWND window = CreateWindowExA(0, kMainClassName, kMainWindowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    if (!window) return false;
    ShowWindow(window, showCommand);
    // Focus rectangles always show, not only once the keyboard was used.
    SendMessageA(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    UpdateWindow(window);
    restoreWindowPlacement();
    return true;
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return onCreate(window);
    case WM_DESTROY: return onDestroy(window);
    case WM_SIZE: layoutMainWindow(); return 0;
    case WM_PAINT: return onPaint(window);
    case WM_COMMAND: return onCommand(window, wParam, lParam);
    case WM_TIMER: updateConnectionStatus(); return 0;
    case kLinkChangedMessage: updateConnectionStatus(); return 0;
    case WM_VSCROLL: scrollParameterArea(wParam); return 0;
    case WM_MOUSEWHEEL: scrollParameterAreaByWheel(wParam); return 0;
    case WM_ACTIVATE: return onActivate(window, wParam, lParam);
    case WM_CTLCOLORSTATIC: return onCtlColorStatic(window, wParam, lParam);
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

// The observer runs on the link's threads: it only posts. A message posted
// to a window that is gone is dropped.
void startUnitLink() {
    HWND window = appState.mainWindow;
    LinkOptions options;
    options.ports = allPorts();
    options.observer = [window](LinkChange, const LinkConnection&) { PostMessageA(window, kLinkChangedMessage, 0, 0); };
    appState.link = startLink(std::move(options));
}

void restoreWindowPlacement() {
    PlacementRecord record;
    if (!decodePlacementText(readSetting(kWindowPlacementSetting, ""), record)) return;
    WINDOWPLACEMENT placement;
    std::memcpy(&placement, &record, sizeof placement);
    SetWindowPlacement(appState.mainWindow, &placement);
}

void saveWindowPlacement() {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(appState.mainWindow, &placement);
    PlacementRecord record;
    std::memcpy(static_cast<void*>(&record), &placement, sizeof record);
    writeSetting(kWindowPlacementSetting, encodePlacementText(record));
    PostQuitMessage(0);
}
