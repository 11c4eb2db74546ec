// The form's lock: what a unit that is gone, or a form not read from the
// unit that is there, must not offer.
#include "app/app_state.h"
#include "app/form_win32.h"
#include "link/link.h"
#include "params/text_fields.h"
#include "resources/resource.h"

namespace {

// Save, open and print: the first three positions of the menu bar.
constexpr UINT kConfigurationMenuEntries = 3;

void disable(int32_t controlId) {
    if (const ControlRecord* record = findControl(appState.fixedControls, controlId))
        EnableWindow(controlWindow(*record), FALSE);
}

}  // namespace

void lockForm() {
    appState.unitLost = true;
    disable(IDC_RESET_DEFAULTS);
    disable(IDC_WRITE_DEVICE);
    setConfigurationMenuEnabled(false);
    hideParameterRows();
    for (const TextFieldLimit& field : TextFieldLimits) {
        const ControlRecord* record = findControl(appState.fixedControls, field.controlId);
        if (!record) continue;
        ShowWindow(fieldCaption(*record), SW_HIDE);
        ShowWindow(fieldEdit(*record), SW_HIDE);
    }
    keepFocusVisible();  // the focus may have been on what is hidden now
}

bool formBelongsToUnit() {
    if (!formAvailable()) return false;
    const LinkConnection now = unitConnection();
    if (now.portNumber != 0 && now.publication == appState.readConnection.publication) return true;
    lockForm();
    return false;
}

// Disabled, not greyed, as the unit's lock has always looked. The bar is
// redrawn only when a state changed, since the status refresh calls this
// every second.
void setConfigurationMenuEnabled(bool enabled) {
    HMENU bar = GetMenu(appState.mainWindow);
    if (!bar) return;
    const UINT wanted = enabled ? MF_ENABLED : MF_DISABLED;
    bool changed = false;
    for (UINT position = 0; position < kConfigurationMenuEntries; ++position) {
        const UINT state = GetMenuState(bar, position, MF_BYPOSITION);
        if (state == static_cast<UINT>(-1)) continue;
        if ((state & (MF_GRAYED | MF_DISABLED)) == wanted) continue;
        EnableMenuItem(bar, position, MF_BYPOSITION | wanted);
        changed = true;
    }
    if (changed) DrawMenuBar(appState.mainWindow);
}
