#include "app/device_commands_win32.h"

#include "app/app_state.h"
#include "app/dialogs.h"
#include "app/form_win32.h"
#include "app/messages.h"
#include "app/progress_bar_win32.h"
#include "configfile/backup_files.h"
#include "link/device_transfer.h"
#include "link/link.h"
#include "params/parameter_list.h"

namespace {

// Steps of the six fixed fields, beside one per visible row.
constexpr int32_t kFieldSteps = 6;

bool running = false;

struct RunningTransfer {
    RunningTransfer() { running = true; }
    ~RunningTransfer() { running = false; }
};

bool mainWindowAlive() {
    return appState.mainWindow && IsWindow(appState.mainWindow);
}

// What one read step brought goes into the window at once. A value beyond
// the list as it stands leaves the row without a selection for now.
void applyReadStep(const FormValues& form, const TransferStep& step) {
    if (step.isField) {
        const FormField& field = form.fields[step.index];
        showFieldText(field.controlId, field.text);
        return;
    }
    const FormRow& row = form.rows[step.index];
    showRowSelection(row.number, row.selection);
    storeChoiceCount(appState.choiceCounts, row.number, row.count);
}

// The end of a transfer: the bar gives way to the status line and a message
// tells the outcome. False when the window is gone (closed during the
// transfer: the program is ending and nothing may touch it).
bool reportOutcome(bool complete, const char* doneMessage) {
    if (!mainWindowAlive()) return false;
    endProgress();
    if (complete)
        showKeyedMessage(kCompletionTitleIndex, doneMessage, kCompletionTitleKey);
    else
        showError(kTransferFailedMessage);
    return mainWindowAlive();
}

// The variant of the connected unit, its rows, the menu and the fixed
// controls, as the start of a read: the form now belongs to that unit and
// that connection.
void takeUnit(const LinkConnection& connection) {
    selectVariant(appState.definitions, connection.deviceId);
    buildParameterRows();
    appState.unitLost = false;
    appState.readConnection = connection;
    setConfigurationMenuEnabled(true);
    buildFixedControls();
    appState.configurationLoaded = true;
}

// The end of a read, before its message: a complete read is backed up at
// once, named by the moment it ended, as the form will show it; any other
// leaves the form locked as if the unit were lost (what was not read would
// otherwise go to the unit on the next write, and into files and reports).
bool concludeRead(const FormValues& form, const TransferResult& result, const LinkConnection& connection) {
    const BackupMoment ended = localMoment();
    if (result.status != TransferStatus::Complete || !formBelongsToUnit()) {
        lockForm();
        return false;
    }
    FormValues shown = form;
    settleReadSelections(shown);
    backUpConfiguration(shown.rows, ended, connection.portNumber, formatDeviceVersion(connection));
    return true;
}

// A write that did not go through: the rows as they were being sent are
// kept in the backup folder as an unsent file, then the form locks until a
// new read (the unit now holds some new values and some old, and the read
// that unlocks the form replaces the installer's choices; the file brings
// them back). Files hold rows only: the digit fields are typed again. When
// the window was closed during the write, the file is still written.
void concludeWrite(const FormValues& form, bool complete, bool installersWork) {
    if (!complete && installersWork) {
        const LinkConnection& c = appState.readConnection;
        backUpConfiguration(form.rows, localMoment(), c.portNumber, formatDeviceVersion(c), BackupKind::Unsent);
    }
    if (!complete && mainWindowAlive()) lockForm();
    reportOutcome(complete, kWriteDoneMessage);
}

}  // namespace

bool transferRunning() {
    return running;
}

void readConfiguration() {
    if (running) return;
    const RunningTransfer guard;
    beginProgress(countVisibleParameters(appState.definitions) + kFieldSteps);
    const LinkConnection connection = unitConnection();
    if (connection.portNumber == 0) {
        endProgress();
        showError(kNoUnitMessage);
        return;
    }
    takeUnit(connection);
    FormValues form = readFormValues();
    beginProgress(transferSteps(form));
    const TransferResult result = readForm(readSession(), form, [&form](const TransferStep& step) {
        applyReadStep(form, step);
        return stepProgress();
    });
    if (!mainWindowAlive()) return;
    if (!reportOutcome(concludeRead(form, result, connection), kReadDoneMessage)) return;
    buildFixedControls();
    buildParameterRows();
    layoutMainWindow();
    settleReadSelections(form);
    for (const FormRow& row : form.rows)
        if (row.transferred) showRowSelection(row.number, row.selection);
}

// Nothing is sent unless the form was read from the unit on the link's
// connection that is still there (every request is for that connection
// only) and every field text can be written as it stands.
void writeConfiguration() {
    if (running) return;
    const RunningTransfer guard;
    const bool installersWork = formAvailable();
    const FormValues form = readFormValues();
    beginProgress(transferSteps(form));
    const bool sendable = formBelongsToUnit();
    int32_t badField = 0;
    if (sendable && !fieldsWritable(form, badField)) {
        endProgress();
        showError(kTransferFailedMessage);  // nothing sent: the field can be mended
        return;
    }
    TransferResult result;
    if (sendable) result = writeForm(readSession(), form, [](const TransferStep&) { return stepProgress(); });
    concludeWrite(form, result.status == TransferStatus::Complete, installersWork);
}
