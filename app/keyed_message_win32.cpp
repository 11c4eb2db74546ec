#include "app/app_state.h"
#include "app/dialogs.h"
#include "app/message_name.h"
#include "app/messages.h"

void showKeyedMessage(int32_t titleIndex, const std::string& message, const std::string& titleKey) {
    MessageName parts;
    const std::string shown =
        splitMessageName(message, parts) ? text(appState.definitions, parts.key, parts.index) : message;
    const std::string title = text(appState.definitions, titleKey, titleIndex);
    MessageBoxA(appState.mainWindow, shown.c_str(), title.c_str(), MB_OK);
}

void showError(const char* message) { showKeyedMessage(kErrorTitleIndex, message, kErrorTitleKey); }
