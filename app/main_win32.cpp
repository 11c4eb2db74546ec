// The Windows entry point. The AppState, with the definitions unsealed and
// parsed, already exists when WinMain runs (it has static storage duration).
// The program reads no command line and no environment.
#include "app/app_state.h"
#include "app/dialogs.h"
#include "app/form_win32.h"
#include "app/main_window_win32.h"

#include <commctrl.h>

#include <string>

namespace {

inline constexpr const char* kStartupErrorTitle = "Startup error";
constexpr int kStartupErrorExitCode = 1;

// A GetMessage failure (-1) ends the loop like WM_QUIT instead of spinning
// on the same error for ever.
int runMessageLoop() {
    MSG message = {};
    BOOL got;
    while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) dispatchFormMessage(message);
    return got == 0 ? static_cast<int>(message.wParam) : 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    const std::string error = startupError();
    if (!error.empty()) {
        MessageBoxA(nullptr, error.c_str(), kStartupErrorTitle, MB_OK);
        return kStartupErrorExitCode;
    }
    showSplashDialog();
    // The progress bar's class is asked for by name as well: only version 6
    // of the common controls registers every class on its own.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    registerMainClass(instance);
    if (!createMainWindow(instance, showCommand)) return 0;
    startUnitLink();
    return runMessageLoop();
}
