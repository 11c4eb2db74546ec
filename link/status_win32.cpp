#include "link/status_win32.h"

#include "defs/app_state.h"

#include <windows.h>

namespace {

// Shown while no unit is connected.
inline constexpr const char* kNoDeviceText = "???";

}  // namespace

// Until the link worker publishes connections the program has none: the
// line says so in dark red. The text is set only when it changes, so a
// steady state causes no repainting.
void updateConnectionStatus() {
    appState.connected = false;
    const std::string status = kNoDeviceText;
    if (status == appState.statusText || !appState.statusLine) return;
    appState.statusText = status;
    HWND line = reinterpret_cast<HWND>(appState.statusLine);
    SetWindowTextA(line, status.c_str());
    InvalidateRect(line, nullptr, TRUE);
}
