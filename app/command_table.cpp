#include "app/command_table.h"

#include "params/text_fields.h"

namespace {

Command action(CommandAction a) {
    Command c;
    c.action = a;
    return c;
}

MenuEntry menuEntry(const Row& row, size_t position, int32_t id, bool enabled) {
    MenuEntry e;
    e.text = position < row.size() ? row[position] : kMissingMenuText;
    e.id = id;
    e.enabled = enabled;
    return e;
}

}  // namespace

Command classifyCommand(int32_t id, int32_t notificationCode) {
    if (notificationCode == kNotifySetFocus) {
        if (const TextFieldLimit* field = findTextField(id)) {
            Command c = action(CommandAction::EditField);
            c.controlId = id;
            c.requiredLength = field->requiredLength;
            return c;
        }
    }
    switch (id) {
        case kCommandSave: return action(CommandAction::Save);
        case kCommandOpen: return action(CommandAction::Open);
        case kCommandPrint: return action(CommandAction::Print);
        case kCommandAbout: return action(CommandAction::About);
        case kCommandExit: return action(CommandAction::Exit);
        case kCommandReset: return action(CommandAction::Reset);
        case kCommandRead: return action(CommandAction::Read);
        case kCommandWrite: return action(CommandAction::Write);
        default: break;
    }
    // The language range also spans the ids of two text fields (15005,
    // 15006); their other notifications are not language commands.
    const int32_t index = id - kCommandLanguageBase;
    if (index >= 0 && index < kMaxLanguageEntries && !findTextField(id)) {
        Command c = action(CommandAction::Language);
        c.languageIndex = index;
        return c;
    }
    return Command();
}

std::vector<MenuEntry> buildMenuModel(const DefinitionStore& store, bool configurationLoaded) {
    std::vector<MenuEntry> bar;
    const Row* row = findRow(store, "Q");
    if (!row) return bar;
    bar.push_back(menuEntry(*row, 0, kCommandSave, configurationLoaded));
    bar.push_back(menuEntry(*row, 1, kCommandOpen, configurationLoaded));
    bar.push_back(menuEntry(*row, 2, kCommandPrint, configurationLoaded));
    MenuEntry languages = menuEntry(*row, 3, 0, true);
    const std::string current = currentLanguageName(store);
    const std::vector<std::string> names = languageNames(store);
    for (size_t i = 0; i < names.size() && i < size_t(kMaxLanguageEntries); ++i) {
        MenuEntry entry;
        entry.text = names[i];
        entry.id = kCommandLanguageBase + static_cast<int32_t>(i);
        entry.checked = names[i] == current;
        languages.popup.push_back(entry);
    }
    bar.push_back(languages);
    bar.push_back(menuEntry(*row, 4, kCommandAbout, true));
    bar.push_back(menuEntry(*row, 5, kCommandExit, true));
    return bar;
}
