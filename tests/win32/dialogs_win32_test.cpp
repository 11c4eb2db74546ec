#include "app/dialogs.h"
#include "defs/app_state.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// What the message box showed, captured from inside its own modal loop.
struct SeenBox {
    bool found = false;
    std::string title, message;
    int buttons = 0;
    int icons = 0;
};

SeenBox seen;

BOOL CALLBACK countControl(HWND child, LPARAM) {
    char className[32] = {};
    GetClassNameA(child, className, sizeof className);
    if (!IsWindowVisible(child)) return TRUE;
    if (lstrcmpiA(className, "Button") == 0) ++seen.buttons;
    // The box keeps an icon static in its template; "no icon" means it shows none.
    if (lstrcmpiA(className, "Static") == 0 && SendMessageA(child, STM_GETICON, 0, 0)) ++seen.icons;
    return TRUE;
}

BOOL CALLBACK inspectBox(HWND window, LPARAM) {
    char className[32] = {}, buffer[512] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    seen.found = true;
    GetWindowTextA(window, buffer, sizeof buffer);
    seen.title = buffer;
    GetDlgItemTextA(window, 0xFFFF, buffer, sizeof buffer);
    seen.message = buffer;
    EnumChildWindows(window, countControl, 0);
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    return FALSE;
}

void CALLBACK answerBox(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    EnumThreadWindows(GetCurrentThreadId(), inspectBox, 0);
}

SeenBox showAndAnswer(int32_t titleIndex, const std::string& name, const std::string& titleKey) {
    seen = SeenBox{};
    SetTimer(nullptr, 0, 200, answerBox);
    showKeyedMessage(titleIndex, name, titleKey);
    return seen;
}

std::string tableText(const char* key, int32_t index) {
    return text(appState.definitions, key, index);
}

TEST(KeyedMessage, TitleAndTextComeFromTheTable) {
    const struct { const char* name; std::string message; } cases[] = {
        {"E1 3", tableText("E1", 3)},
        {"Plain", "Plain"},  // no space: verbatim
        {"Two words", ""},   // a space: key "Two", index 0, no such text
    };
    ASSERT_FALSE(tableText("E1", 3).empty()) << "the built-in table has error texts";
    for (const auto& c : cases) {
        const SeenBox box = showAndAnswer(1, c.name, "E1");
        ASSERT_TRUE(box.found) << c.name;
        EXPECT_EQ(box.message, c.message) << c.name;
        EXPECT_EQ(box.title, tableText("E1", 1)) << c.name;
        EXPECT_EQ(box.buttons, 1) << c.name;
        EXPECT_EQ(box.icons, 0) << c.name;
    }
}

}  // namespace
