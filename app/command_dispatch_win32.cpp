#include "app/command_dispatch_win32.h"

#include "app/app_state.h"
#include "app/config_file_commands_win32.h"
#include "app/device_commands_win32.h"
#include "app/dialogs.h"
#include "app/form_win32.h"
#include "app/print_command_win32.h"
#include "app/settings.h"
#include "params/text_fields.h"
#include "resources/resource.h"

#include <vector>

namespace {

// Captions of the six menu-bar entries, by position.
inline constexpr const char* kMenuRow = "Q";
inline constexpr const char* kMissingMenuText = "???";
constexpr int32_t kLanguageMenuPosition = 3;

HMENU buildLanguageMenu() {
    HMENU menu = CreatePopupMenu();
    const std::vector<std::string> names = languageNames(appState.definitions);
    const std::string current = currentLanguageName(appState.definitions);
    for (size_t i = 0; i < names.size(); ++i) {
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE;
        item.wID = IDM_LANGUAGE_FIRST + static_cast<UINT>(i);
        item.fState = names[i] == current ? MFS_CHECKED : MFS_UNCHECKED;
        item.dwTypeData = const_cast<char*>(names[i].c_str());
        InsertMenuItemA(menu, static_cast<UINT>(i), TRUE, &item);
    }
    return menu;
}

// Save, open and print need a configuration read from a unit that is still
// there.
void fillMenuBar(HMENU bar) {
    const bool loaded = formAvailable();
    insertMenuEntry(nullptr, kMenuRow, 0, bar, IDM_SAVE_FILE, loaded);
    insertMenuEntry(nullptr, kMenuRow, 1, bar, IDM_OPEN_FILE, loaded);
    insertMenuEntry(nullptr, kMenuRow, 2, bar, IDM_PRINT, loaded);
    insertMenuEntry(buildLanguageMenu(), kMenuRow, kLanguageMenuPosition, bar, 0, true);
    insertMenuEntry(nullptr, kMenuRow, 4, bar, IDM_ABOUT, true);
    insertMenuEntry(nullptr, kMenuRow, 5, bar, IDM_EXIT, true);
}

// Entry i of the language pop-up: store the name and switch. An id beyond
// the list is swallowed.
void switchLanguage(int32_t index) {
    const std::vector<std::string> names = languageNames(appState.definitions);
    if (index < 0 || static_cast<size_t>(index) >= names.size()) return;
    writeSetting(kLanguageSetting, names[index]);
    applyLanguage(names[index]);
}

// Ids of the menu bar and the command buttons. Save, open, print and the
// device commands belong to the file, report and link code.
bool runCommand(int32_t id) {
    switch (id) {
    case IDM_ABOUT: showAboutDialog(); return true;
    case IDM_EXIT: DestroyWindow(appState.mainWindow); return true;
    case IDC_RESET_DEFAULTS: resetToDefaults(); return true;
    case IDC_READ_DEVICE: readConfiguration(); return true;
    case IDC_WRITE_DEVICE: writeConfiguration(); return true;
    case IDM_SAVE_FILE: saveConfigFile(); return true;
    case IDM_OPEN_FILE: openConfigFile(); return true;
    case IDM_PRINT: printReport(); return true;
    default: return false;
    }
}

}  // namespace

void buildUserInterface(HWND window) {
    if (appState.mainWindow) return;  // the parameter area's WM_CREATE
    appState.mainWindow = window;
    createParameterArea();
    applyLanguage(readSetting(kLanguageSetting, ""));
}

void applyLanguage(const std::string& name) {
    selectLanguage(appState.definitions, name);
    buildMenuBar();
    buildFixedControls();
    buildParameterRows();
    layoutMainWindow();
}

void buildMenuBar() {
    HWND window = appState.mainWindow;
    HMENU old = GetMenu(window);
    HMENU bar = CreateMenu();
    if (findRow(appState.definitions, kMenuRow)) fillMenuBar(bar);
    SetMenu(window, bar);
    if (old) DestroyMenu(old);
}

void insertMenuEntry(HMENU popup, const char* row, int32_t position, HMENU menu, UINT id, bool enabled) {
    const Row* entries = findRow(appState.definitions, row);
    std::string caption = kMissingMenuText;
    if (entries && static_cast<size_t>(position) < entries->size()) caption = (*entries)[position];
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_STRING | (popup ? MIIM_SUBMENU : 0);
    item.wID = id;
    item.hSubMenu = popup;
    item.dwTypeData = const_cast<char*>(caption.c_str());
    InsertMenuItemA(menu, static_cast<UINT>(position), TRUE, &item);
    if (!enabled) EnableMenuItem(menu, static_cast<UINT>(position), MF_BYPOSITION | MF_DISABLED);
}

// While the unit is read or written, everything that would start another
// transfer or change the form waits its turn: it is swallowed. About, the
// exit command and the window itself stay live.
bool ignoredDuringTransfer(int32_t id) {
    if (!transferRunning()) return false;
    return id != IDM_ABOUT && id != IDM_EXIT;
}

// Defaults, save, open and print work on the form read from the unit that
// is still connected; otherwise they are swallowed (and the form locked).
// Write checks the same itself, and says so.
bool needsReadForm(int32_t id) {
    return id == IDC_RESET_DEFAULTS || id == IDM_SAVE_FILE || id == IDM_OPEN_FILE || id == IDM_PRINT;
}

bool dispatchCommand(int32_t id, int32_t notificationCode) {
    if (ignoredDuringTransfer(id)) return true;
    if (needsReadForm(id) && !formBelongsToUnit()) return true;
    if (const TextFieldLimit* field = findTextField(id)) {
        if ((notificationCode & ~0xFF) != IDN_FIELD_ENTRY) return false;
        const char firstDigit = static_cast<char>(notificationCode & 0xFF);
        editFreeTextField(id, field->requiredLength, firstDigit ? std::string(1, firstDigit) : std::string());
        return true;
    }
    if (notificationCode == CBN_SETFOCUS && findControl(appState.parameterRows, id)) {
        scrollRowIntoView(id);
        return true;
    }
    if (runCommand(id)) return true;
    const int32_t languageIndex = id - IDM_LANGUAGE_FIRST;
    if (languageIndex < 0 || languageIndex > IDM_LANGUAGE_LAST - IDM_LANGUAGE_FIRST) return false;
    switchLanguage(languageIndex);
    return true;
}
