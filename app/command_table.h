// What each command id of the main window does. Pure: the Win32 dispatcher
// classifies the WM_COMMAND id and notification code here, then runs the
// action.
#pragma once

#include "defs/definition_store.h"

#include <cstdint>
#include <string>
#include <vector>

// Command ids of the menu bar and the command buttons.
constexpr int32_t kCommandSave = 1000;
constexpr int32_t kCommandOpen = 1001;
constexpr int32_t kCommandPrint = 1002;
constexpr int32_t kCommandAbout = 1003;
constexpr int32_t kCommandExit = 1004;
constexpr int32_t kCommandReset = 5000;
constexpr int32_t kCommandRead = 5001;
constexpr int32_t kCommandWrite = 5002;
// Language pop-up entry i has the id kCommandLanguageBase + i.
constexpr int32_t kCommandLanguageBase = 10000;
constexpr int32_t kMaxLanguageEntries = 9999;
// The edit notification that opens the entry dialog (EN_SETFOCUS).
constexpr int32_t kNotifySetFocus = 256;

enum class CommandAction {
    NotHandled,
    EditField,  // open the entry dialog for `controlId`
    Save,
    Open,
    Print,
    About,
    Exit,
    Reset,
    Read,
    Write,
    Language,  // switch to language `languageIndex` (may be beyond the list)
};

struct Command {
    CommandAction action = CommandAction::NotHandled;
    int32_t controlId = 0;
    int32_t requiredLength = -1;  // for EditField: 6 for the code field, else -1
    int32_t languageIndex = -1;
};

Command classifyCommand(int32_t id, int32_t notificationCode);

// The menu bar as built from row "Q": six top-level entries, the fourth a
// pop-up of the languages (byte-wise sorted, the current one checked).
struct MenuEntry {
    std::string text;
    int32_t id = 0;  // 0 for the pop-up
    bool enabled = true;
    bool checked = false;
    std::vector<MenuEntry> popup;
};

// Caption of an entry without text in row "Q".
inline constexpr const char* kMissingMenuText = "???";

// Empty when the table has no row "Q". Save, open and print are enabled only
// once a configuration has been read.
std::vector<MenuEntry> buildMenuModel(const DefinitionStore& store, bool configurationLoaded);
