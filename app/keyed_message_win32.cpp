#include "app/dialogs.h"
#include "app/main_window_win32.h"
#include "app/message_name.h"
#include "defs/app_state.h"

void showKeyedMessage(int32_t titleIndex, const std::string& message, const std::string& titleKey) {
    MessageName parts;
    const std::string shown =
        splitMessageName(message, parts) ? text(appState.definitions, parts.key, parts.index) : message;
    const std::string title = text(appState.definitions, titleKey, titleIndex);
    MessageBoxA(mainWindowHandle(), shown.c_str(), title.c_str(), MB_OK);
}
