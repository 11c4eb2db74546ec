// The main window as the window tests use it: made without a unit, sized by
// its client area, and messages pumped for a while.
#pragma once

#include "app/app_state.h"
#include "app/main_window_win32.h"
#include "resources/resource.h"

#include <windows.h>
#include <commctrl.h>

// Without a unit the status refresh would lock the form whenever messages
// are dispatched: these programs drive every state themselves.
inline bool createTestMainWindow() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    registerMainClass(GetModuleHandleA(nullptr));
    if (!createMainWindow(GetModuleHandleA(nullptr), SW_SHOWNORMAL)) return false;
    KillTimer(appState.mainWindow, IDT_STATUS_TIMER);
    KillTimer(appState.parameterArea, IDT_STATUS_TIMER);
    return true;
}

// Sizes the main window so that its client area is width x height.
inline void setClientSize(int width, int height) {
    HWND window = appState.mainWindow;
    ShowWindow(window, SW_RESTORE);
    RECT r = {0, 0, width, height};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, TRUE, 0);
    SetWindowPos(window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOMOVE);
    RECT client = {};
    GetClientRect(window, &client);
    // A menu bar that wraps changes the client height; correct once.
    if (client.bottom != height) {
        GetWindowRect(window, &r);
        SetWindowPos(window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top + height - client.bottom,
                     SWP_NOZORDER | SWP_NOMOVE);
    }
}

inline SCROLLINFO scrollInfo(HWND window) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(window, SB_VERT, &info);
    return info;
}

inline void pumpFor(DWORD milliseconds) {
    MSG message;
    for (const DWORD until = GetTickCount() + milliseconds; GetTickCount() < until; Sleep(10)) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}
