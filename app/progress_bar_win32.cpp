#include "app/progress_bar_win32.h"

#include "app/app_state.h"
#include "app/form_win32.h"

#include <commctrl.h>

void beginProgress(int32_t steps) {
    HWND bar = appState.progressBar;
    SendMessageA(bar, PBM_SETRANGE32, 0, steps);
    SendMessageA(bar, PBM_SETSTEP, 1, 0);
    SendMessageA(bar, PBM_SETPOS, 0, 0);
    ShowWindow(bar, SW_SHOW);
    ShowWindow(appState.statusLine, SW_HIDE);
}

// A WM_QUIT taken from the queue here (the window was closed during the
// transfer) is posted again, so that the message loop still ends the
// program once the transfer has returned.
bool stepProgress() {
    SendMessageA(appState.progressBar, PBM_STEPIT, 0, 0);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        dispatchFormMessage(message);
    }
    return appState.mainWindow && IsWindow(appState.mainWindow);
}

void endProgress() {
    HWND bar = appState.progressBar;
    SendMessageA(bar, PBM_SETPOS, 0, 0);
    ShowWindow(bar, SW_HIDE);
    ShowWindow(appState.statusLine, SW_SHOW);
}
