// The save and open commands: the common file dialogs, the rows'
// selections through the pure text code, the sealed container, and one
// keyed message per failure. Success is silent.
#include "app/config_file_commands_win32.h"

#include "app/app_state.h"
#include "app/dialogs.h"
#include "app/form_win32.h"
#include "app/messages.h"
#include "configfile/config_file.h"

#include <commdlg.h>

#include <vector>

namespace {

// Description and pattern pairs, ending in an empty pair.
constexpr char kFileFilter[] = "Sorvane Quill Alarm Setup Files (*.sqc)\0*.sqc\0All Files (*.*)\0*.*\0";
inline constexpr const char* kDefaultExtension = "sqc";
inline constexpr const char* kSaveInitialName = "config.sqc";
inline constexpr const char* kOpenInitialName = "*.sqc";
// Characters of the file-name buffer, the terminating zero included.
constexpr DWORD kFileNameChars = 1000;

// Runs the open or save dialog; false when the user cancelled or the dialog
// failed (a chosen path longer than the buffer, too): nothing to report.
bool askFileName(bool save, std::string& path) {
    std::vector<char> name(kFileNameChars, '\0');
    lstrcpynA(name.data(), save ? kSaveInitialName : kOpenInitialName, static_cast<int>(name.size()));
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = appState.mainWindow;
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

}  // namespace

void saveConfigFile() {
    std::string path, error;
    if (!askFileName(true, path)) return;
    switch (writeConfigFile(path, readFormValues().rows, error)) {
    case ReplaceResult::replaced: return;
    case ReplaceResult::cannotCreate: showError(kCannotCreateMessage); return;
    case ReplaceResult::writeFailed: showError(kWriteFailedMessage); return;
    }
}

// The lists change only when the whole file is good.
void openConfigFile() {
    std::string path, sealed, payload, error;
    std::vector<ConfigPair> pairs;
    if (!askFileName(false, path)) return;
    if (readFileBytes(path, kMaxConfigFileBytes, sealed, error) && openConfigBytes(sealed, payload, pairs, error))
        applyConfigPairs(pairs);
    else
        showError(kOpenFailedMessage);
}
