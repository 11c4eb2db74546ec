// The save and open commands: the common file dialogs, the rows'
// selections through the pure text code, the sealed container, and one
// keyed message per failure. Success is silent.
#include "app/config_file_commands_win32.h"

#include "app/dialogs.h"
#include "app/main_window_win32.h"
#include "configfile/config_text.h"
#include "configfile/safe_file.h"
#include "defs/app_state.h"
#include "defs/handles_win32.h"
#include "defs/sealed_codec.h"
#include "params/control_registry.h"

#include <commdlg.h>

#include <vector>

namespace {

inline constexpr const char* kOpenFailed = "E 2";
inline constexpr const char* kCannotCreate = "E 3";
inline constexpr const char* kWriteFailed = "E 4";

// Description and pattern pairs, ending in an empty pair.
constexpr char kFileFilter[] = "Sorvane Quill Alarm Setup Files (*.sqc)\0*.sqc\0All Files (*.*)\0*.*\0";
inline constexpr const char* kDefaultExtension = "sqc";
inline constexpr const char* kSaveInitialName = "config.sqc";
inline constexpr const char* kOpenInitialName = "*.sqc";
// Characters of the file-name buffer, the terminating zero included.
constexpr DWORD kFileNameChars = 1000;

void showError(const char* message) { showKeyedMessage(kErrorTitleIndex, message, kErrorTitleKey); }

// Runs the open or save dialog; false when the user cancelled or the dialog
// failed (a chosen path longer than the buffer, too): nothing to report.
bool askFileName(bool save, std::string& path) {
    std::vector<char> name(kFileNameChars, '\0');
    lstrcpynA(name.data(), save ? kSaveInitialName : kOpenInitialName, static_cast<int>(name.size()));
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = mainWindowHandle();
    dialog.lpstrFilter = kFileFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = kFileNameChars;
    dialog.lpstrDefExt = kDefaultExtension;
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    if (!(save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog))) return false;
    path = name.data();
    return true;
}

// The rows 1, 2, ... as the text code wants them: list or none, selection.
std::vector<ConfigRow> collectRows(const ControlMap& rows) {
    std::vector<ConfigRow> collected;
    forEachParameterRow(rows, [&](int32_t, const ControlRecord& record) {
        ConfigRow row;
        row.hasChoiceList = record.secondWindow != nullptr;
        if (row.hasChoiceList) {
            const LRESULT selected = SendMessageA(toHwnd(record.secondWindow), CB_GETCURSEL, 0, 0);
            row.selection = selected == CB_ERR ? kNoSelection : static_cast<int32_t>(selected);
        }
        collected.push_back(row);
    });
    return collected;
}

}  // namespace

ReplaceResult writeConfigFile(const std::string& path) {
    std::string sealed, error;
    if (!sealBytes(composeConfigText(collectRows(appState.parameterRows)), sealed)) return ReplaceResult::writeFailed;
    return replaceFileSafely(path, sealed, error);
}

void saveConfigFile() {
    std::string path;
    if (!askFileName(true, path)) return;
    switch (writeConfigFile(path)) {
    case ReplaceResult::replaced: return;
    case ReplaceResult::cannotCreate: showError(kCannotCreate); return;
    case ReplaceResult::writeFailed: showError(kWriteFailed); return;
    }
}

void openConfigFile() {
    std::string path, sealed, payload, error;
    if (!askFileName(false, path)) return;
    if (!readFileBytes(path, kMaxConfigFileBytes, sealed, error) || !unsealBytes(sealed, payload) ||
        !applyConfigText(payload, appState.parameterRows))
        showError(kOpenFailed);
}

// CB_SETCURSEL sends no selection-change notification, so opening a file
// changes the lists and nothing else.
bool applyConfigText(const std::string& payload, const ControlMap& rows) {
    std::vector<ConfigPair> pairs;
    std::string reason;
    if (!parseConfigText(payload, pairs, reason)) return false;
    for (const ConfigPair& pair : pairs) {
        const ControlRecord* record = findControl(rows, pair.param);
        if (!record || !record->secondWindow) continue;
        HWND list = toHwnd(record->secondWindow);
        const auto count = static_cast<int32_t>(SendMessageA(list, CB_GETCOUNT, 0, 0));
        int32_t selection = 0;
        if (selectionForPair(pair.index, count, selection))
            SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
    }
    return true;
}
