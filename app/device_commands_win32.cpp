#include "app/device_commands_win32.h"

#include "app/backup_win32.h"
#include "app/command_dispatch_win32.h"
#include "app/dialogs.h"
#include "app/main_window_win32.h"
#include "app/progress_bar_win32.h"
#include "defs/app_state.h"
#include "defs/handles_win32.h"
#include "link/device_transfer.h"
#include "link/link.h"
#include "params/control_builder_win32.h"
#include "params/control_registry.h"
#include "params/parameter_list.h"

namespace {

inline constexpr const char* kNoUnitMessage = "E 5";
inline constexpr const char* kTransferFailedMessage = "E 0";
inline constexpr const char* kReadDoneMessage = "E1 2";
inline constexpr const char* kWriteDoneMessage = "E1 3";
// The fixed fields are read into a buffer of this many characters.
constexpr int kFieldTextBuffer = 200;
// Steps of the six fixed fields, beside one per visible row.
constexpr int32_t kFieldSteps = 6;

bool running = false;
// The identity of the unit the form was last read from: a write goes only
// to that unit.
int32_t readDeviceId = 0;

struct RunningTransfer {
    RunningTransfer() { running = true; }
    ~RunningTransfer() { running = false; }
};

bool mainWindowAlive() {
    return mainWindowHandle() && IsWindow(mainWindowHandle());
}

// The form as plain values. Records and windows are looked up here and
// again for every step applied: a dispatch between two steps may rebuild.
FormValues collectForm() {
    FormValues form = emptyForm();
    for (FormField& field : form.fields) {
        const ControlRecord* record = findControl(appState.fixedControls, field.controlId);
        field.present = record && record->secondWindow;
        if (!field.present) continue;
        char text[kFieldTextBuffer] = {};
        GetWindowTextA(toHwnd(record->secondWindow), text, sizeof text);
        field.text = text;
    }
    forEachParameterRow(appState.parameterRows, [&](int32_t n, const ControlRecord& row) {
        FormRow value{n, row.secondWindow != nullptr, -1, 0, false};
        if (row.secondWindow) {
            const LRESULT selected = SendMessageA(toHwnd(row.secondWindow), CB_GETCURSEL, 0, 0);
            value.selection = selected == CB_ERR ? -1 : static_cast<int32_t>(selected);
        }
        form.rows.push_back(value);
    });
    return form;
}

HWND rowList(int32_t number) {
    const ControlRecord* row = findControl(appState.parameterRows, number);
    return row ? toHwnd(row->secondWindow) : nullptr;
}

// What one read step brought goes into the window at once. A value beyond
// the list as it stands leaves the row without a selection for now.
void applyReadStep(const FormValues& form, const TransferStep& step) {
    if (step.isField) {
        const FormField& field = form.fields[step.index];
        if (const ControlRecord* record = findControl(appState.fixedControls, field.controlId))
            SetWindowTextA(toHwnd(record->secondWindow), field.text.c_str());
        return;
    }
    const FormRow& row = form.rows[step.index];
    if (HWND list = rowList(row.number)) SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(row.selection), 0);
    storeChoiceCount(appState.choiceCounts, row.number, row.count);
}

// After the rows were rebuilt with the unit's counts, every row read shows
// the unit's value; only a value at or beyond the unit's count falls back
// to the first choice. Without this a value beyond the definition's list
// would be lost on the first read, and the next write would change the unit.
void showReadSelections(const FormValues& form) {
    for (const FormRow& row : form.rows) {
        HWND list = row.transferred ? rowList(row.number) : nullptr;
        if (!list) continue;
        const int32_t count = static_cast<int32_t>(SendMessageA(list, CB_GETCOUNT, 0, 0));
        SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(row.selection < count ? row.selection : 0), 0);
    }
}

void showError(const char* message) {
    showKeyedMessage(kErrorTitleIndex, message, kErrorTitleKey);
}

// The end of a transfer: the bar gives way to the status line and a message
// tells the outcome. False when the window is gone (closed during the
// transfer: the program is ending and nothing may touch it).
bool reportOutcome(const TransferResult& result, const char* doneMessage) {
    if (!mainWindowAlive()) return false;
    endProgress();
    if (result.status == TransferStatus::Complete)
        showKeyedMessage(kCompletionTitleIndex, doneMessage, kCompletionTitleKey);
    else
        showError(kTransferFailedMessage);
    return mainWindowAlive();
}

// The variant of the connected unit, its rows, the menu and the fixed
// controls, as the start of a read: the form now belongs to that unit.
void takeUnit(const LinkConnection& connection) {
    selectVariant(appState.definitions, connection.deviceId);
    buildParameterRows();
    appState.unitLost = false;
    setConfigurationMenuEnabled(true);
    buildFixedControls();
    appState.configurationLoaded = true;
    readDeviceId = connection.deviceId;
}

}  // namespace

bool transferRunning() {
    return running;
}

void readConfiguration() {
    if (running) return;
    const RunningTransfer guard;
    beginProgress(countVisibleParameters(appState.definitions) + kFieldSteps);
    const LinkConnection connection = linkConnection();
    if (connection.portNumber == 0) {
        endProgress();
        showError(kNoUnitMessage);
        return;
    }
    takeUnit(connection);
    FormValues form = collectForm();
    beginProgress(transferSteps(form));
    const TransferResult result = readForm(form, [&form](const TransferStep& step) {
        applyReadStep(form, step);
        return stepProgress();
    });
    if (!reportOutcome(result, kReadDoneMessage)) return;
    buildFixedControls();
    buildParameterRows();
    layoutMainWindow();
    showReadSelections(form);
    if (result.status == TransferStatus::Complete)
        backUpConfiguration(connection.portNumber, formatDeviceVersion(connection));
}

// Nothing is sent unless the form was read from the unit that is connected
// now and every field text can be written as it stands.
void writeConfiguration() {
    if (running) return;
    const RunningTransfer guard;
    const FormValues form = collectForm();
    beginProgress(transferSteps(form));
    const LinkConnection connection = linkConnection();
    int32_t badField = 0;
    const bool sameUnit = formAvailable() && connection.portNumber != 0 && connection.deviceId == readDeviceId;
    if (!sameUnit || !fieldsWritable(form, badField)) {
        endProgress();
        showError(kTransferFailedMessage);
        return;
    }
    const TransferResult result = writeForm(form, [](const TransferStep&) { return stepProgress(); });
    reportOutcome(result, kWriteDoneMessage);
}
