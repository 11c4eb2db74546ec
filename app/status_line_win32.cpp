#include "app/status_line_win32.h"

#include "app/app_state.h"
#include "app/form_win32.h"
#include "link/link.h"

#include <cstdio>

namespace {

// Shown while no unit is connected.
inline constexpr const char* kNoDeviceText = "???";
// "COM3 <label> 1.05", the label being text("P", 2).
inline constexpr const char* kConnectedFormat = "COM%d %s %s";
inline constexpr const char* kLabelKey = "P";
constexpr int32_t kLabelIndex = 2;
// The status text is kept to 99 characters; a longer label is cut.
constexpr size_t kStatusTextBuffer = 100;

std::string connectedText(const LinkConnection& connection) {
    char buffer[kStatusTextBuffer];
    const std::string label = text(appState.definitions, kLabelKey, kLabelIndex);
    std::snprintf(buffer, sizeof buffer, kConnectedFormat, connection.portNumber, label.c_str(),
                  formatDeviceVersion(connection).c_str());
    return buffer;
}

// The line paints its text on a transparent background, so the window
// beneath it is repainted too: otherwise the old text would show through.
void showStatusText(const std::string& status) {
    if (status == appState.statusText || !appState.statusLine) return;
    appState.statusText = status;
    HWND line = appState.statusLine;
    SetWindowTextA(line, status.c_str());
    RECT area = {};
    GetWindowRect(line, &area);
    MapWindowPoints(HWND_DESKTOP, GetParent(line), reinterpret_cast<POINT*>(&area), 2);
    InvalidateRect(GetParent(line), &area, TRUE);
    InvalidateRect(line, nullptr, TRUE);
}

}  // namespace

// The port number and identity come from one snapshot, so they always
// belong to the same connection.
void updateConnectionStatus() {
    const LinkConnection connection = unitConnection();
    std::string status;
    if (connection.portNumber == 0) {
        appState.connected = false;
        status = kNoDeviceText;
        lockForm();
    } else {
        selectVariant(appState.definitions, connection.deviceId);
        status = connectedText(connection);
        appState.connected = true;
        formBelongsToUnit();
    }
    showStatusText(status);
}
