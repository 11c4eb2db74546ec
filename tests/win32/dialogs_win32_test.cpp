#include "app/dialogs.h"
#include "app/app_state.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// The title and text of the message box, read from inside its own modal
// loop, which is then ended.
std::string seenTitle, seenText;

BOOL CALLBACK answerBox(HWND window, LPARAM) {
    char className[32] = {}, buffer[512] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    GetWindowTextA(window, buffer, sizeof buffer);
    seenTitle = buffer;
    GetDlgItemTextA(window, 0xFFFF, buffer, sizeof buffer);
    seenText = buffer;
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    return FALSE;
}

void CALLBACK onTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    EnumThreadWindows(GetCurrentThreadId(), answerBox, 0);
}

std::string tableText(const char* key, int32_t index) {
    return text(appState.definitions, key, index);
}

// How a name splits into key and index is the message-name tests'.
TEST(KeyedMessage, TitleAndTextComeFromTheTable) {
    const struct { const char* name; std::string message; } cases[] = {
        {"E1 3", tableText("E1", 3)},
        {"Plain", "Plain"},  // no space: verbatim
        {"Two words", ""},   // a space: key "Two", index 0, no such text
    };
    ASSERT_FALSE(tableText("E1", 3).empty()) << "the built-in table has error texts";
    for (const auto& c : cases) {
        seenTitle = seenText = "none";
        SetTimer(nullptr, 0, 200, onTimer);
        showKeyedMessage(1, c.name, "E1");
        EXPECT_EQ(seenText, c.message) << c.name;
        EXPECT_EQ(seenTitle, tableText("E1", 1)) << c.name;
    }
}

}  // namespace
