// window-preview.exe: the main window with its rows shown, as a read from a
// unit would leave it, for screenshots. A test program, not part of the
// product; it stores no settings.
//
//   window-preview.exe [--language NAME] [--size WxH] [--scroll top|middle|bottom] [--seconds S]
#include "app/command_dispatch_win32.h"
#include "app/main_window_win32.h"
#include "defs/app_state.h"
#include "params/scrolling_win32.h"
#include "resources/resource.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Options {
    std::string language = "English";
    int width = 720, height = 600;
    std::string scroll = "top";
    int seconds = 5;
};

bool parseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--language")) o.language = argv[i + 1];
        else if (!std::strcmp(argv[i], "--size")) {
            if (std::sscanf(argv[i + 1], "%dx%d", &o.width, &o.height) != 2) return false;
        } else if (!std::strcmp(argv[i], "--scroll")) o.scroll = argv[i + 1];
        else if (!std::strcmp(argv[i], "--seconds")) o.seconds = std::atoi(argv[i + 1]);
        else return false;
    }
    return true;
}

void setClientSize(HWND window, int width, int height) {
    RECT r = {0, 0, width, height};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, TRUE, 0);
    SetWindowPos(window, nullptr, 20, 20, r.right - r.left, r.bottom - r.top, SWP_NOZORDER);
}

void scrollTo(const std::string& where) {
    HWND area = reinterpret_cast<HWND>(appState.parameterArea);
    if (where == "bottom") SendMessageA(area, WM_VSCROLL, SB_BOTTOM, 0);
    if (where != "middle") return;
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(area, SB_VERT, &info);
    for (int i = 0; i < (info.nMax - static_cast<int>(info.nPage)) / 2; ++i)
        SendMessageA(area, WM_VSCROLL, SB_LINEDOWN, 0);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: window-preview [--language NAME] [--size WxH] [--scroll top|middle|bottom] "
                             "[--seconds S]\n");
        return 2;
    }
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    appState.configurationLoaded = true;
    registerMainClass(instance);
    if (!createMainWindow(instance, SW_SHOWNORMAL)) return 1;
    HWND window = mainWindowHandle();
    // No unit here: the status refresh would hide the rows again.
    KillTimer(window, IDT_STATUS_TIMER);
    KillTimer(reinterpret_cast<HWND>(appState.parameterArea), IDT_STATUS_TIMER);
    ShowWindow(window, SW_RESTORE);
    setClientSize(window, options.width, options.height);
    applyLanguage(options.language);
    scrollTo(options.scroll);
    const DWORD until = GetTickCount() + static_cast<DWORD>(options.seconds) * 1000;
    MSG message;
    while (GetTickCount() < until) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(20);
    }
    ExitProcess(0);  // without WM_DESTROY: the preview stores no placement
}
