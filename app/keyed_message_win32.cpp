#include "app/dialogs.h"
#include "app/main_window_win32.h"
#include "app/message_spec.h"
#include "defs/app_state.h"

void showKeyedMessage(int32_t titleIndex, const std::string& spec, const std::string& titleKey) {
    MessageSpec parts;
    const std::string message =
        splitMessageSpec(spec, parts) ? text(appState.definitions, parts.key, parts.index) : spec;
    const std::string title = text(appState.definitions, titleKey, titleIndex);
    MessageBoxA(mainWindowHandle(), message.c_str(), title.c_str(), MB_OK);
}
