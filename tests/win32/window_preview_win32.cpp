// window-preview.exe: the main window with its rows shown, as a read from a
// unit would leave it, for screenshots. A test program, not part of the
// product; it stores no settings.
//
//   window-preview.exe [--language NAME] [--size WxH] [--scroll top|middle|bottom] [--seconds S]
#include "app/command_dispatch_win32.h"
#include "tests/win32/test_window_win32.h"

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

void scrollTo(const std::string& where) {
    HWND area = reinterpret_cast<HWND>(appState.parameterArea);
    if (where == "bottom") SendMessageA(area, WM_VSCROLL, SB_BOTTOM, 0);
    if (where != "middle") return;
    const SCROLLINFO info = scrollInfo(area);
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
    appState.configurationLoaded = true;
    if (!createTestMainWindow()) return 1;
    setClientSize(options.width, options.height);
    applyLanguage(options.language);
    scrollTo(options.scroll);
    pumpFor(static_cast<DWORD>(options.seconds) * 1000);
    ExitProcess(0);  // without WM_DESTROY: the preview stores no placement
}
