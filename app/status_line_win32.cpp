#include "app/status_line_win32.h"

#include "app/command_dispatch_win32.h"
#include "defs/app_state.h"
#include "defs/handles_win32.h"
#include "link/link.h"
#include "params/control_builder_win32.h"
#include "params/control_registry.h"
#include "params/text_fields.h"
#include "resources/resource.h"

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

void disableFirstWindow(int32_t controlId) {
    if (const ControlRecord* record = findControl(appState.fixedControls, controlId))
        EnableWindow(toHwnd(record->firstWindow), FALSE);
}

// Without a unit nothing that needs one may be used: the reset and write
// buttons, save, open and print, the rows and fields. The form stays locked
// until the next read, whatever is rebuilt in between.
void lockWithoutDevice() {
    appState.unitLost = true;
    if (findControl(appState.fixedControls, IDC_RESET_DEFAULTS)) {
        disableFirstWindow(IDC_RESET_DEFAULTS);
        disableFirstWindow(IDC_WRITE_DEVICE);
    }
    setConfigurationMenuEnabled(false);
    hideParameterRows();
    for (const TextFieldLimit& field : TextFieldLimits) {
        const ControlRecord* record = findControl(appState.fixedControls, field.controlId);
        if (!record) continue;
        ShowWindow(toHwnd(record->firstWindow), SW_HIDE);
        ShowWindow(toHwnd(record->secondWindow), SW_HIDE);
    }
}

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
    HWND line = toHwnd(appState.statusLine);
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
    const LinkConnection connection = linkConnection();
    std::string status;
    if (connection.portNumber == 0) {
        appState.connected = false;
        status = kNoDeviceText;
        lockWithoutDevice();
    } else {
        selectVariant(appState.definitions, connection.deviceId);
        status = connectedText(connection);
        appState.connected = true;
    }
    showStatusText(status);
}
