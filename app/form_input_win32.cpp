// The form under the mouse wheel and the keyboard. The wheel scrolls the
// form and never changes a closed list; Tab walks the rows' lists, the
// fields and the buttons (the z-order the builders keep); a field opens its
// entry box only when the user asks for it: a click, Enter, Space or a
// digit, never the keyboard focus arriving.
#include "app/app_state.h"
#include "app/form_win32.h"
#include "resources/resource.h"

#include <commctrl.h>

namespace {

constexpr UINT_PTR kListSubclass = 1;
constexpr UINT_PTR kFieldSubclass = 2;

// Where the keyboard focus was when the main window was deactivated.
HWND rememberedFocus = nullptr;

// Whether the last system key down was F10 or Alt, with no other key
// since: then its release opens the menu bar.
bool menuKeyAlone = false;

bool isMenuKey(WPARAM key) { return key == VK_F10 || key == VK_MENU; }

// A list keeps the system keys to itself (its own are Alt+Up and
// Alt+Down): the release of F10 or Alt opens the main window's menu bar
// from here, and Alt+F4 closes it. Alt held for another key (Alt+Down
// opens the list) opens no menu.
LRESULT passMenuKey(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool alone = menuKeyAlone;
    menuKeyAlone = message == WM_SYSKEYDOWN && isMenuKey(wParam);
    if (message == WM_SYSKEYDOWN && wParam == VK_F4) return SendMessageA(appState.mainWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (!isMenuKey(wParam)) return DefSubclassProc(list, message, wParam, lParam);
    if (message == WM_SYSKEYUP && alone) SendMessageA(appState.mainWindow, WM_SYSCOMMAND, SC_KEYMENU, 0);
    return 0;
}

// A closed list would change its selection on the wheel: the form scrolls
// instead, whether the wheel came to the list under the pointer or to the
// focused one. An open drop-down scrolls its own list.
LRESULT CALLBACK listProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_MOUSEWHEEL && !SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0))
        return SendMessageA(appState.parameterArea, WM_MOUSEWHEEL, wParam, lParam);
    if (message == WM_SYSKEYDOWN || message == WM_SYSKEYUP) return passMenuKey(list, message, wParam, lParam);
    return DefSubclassProc(list, message, wParam, lParam);
}

void requestEntry(HWND field, char firstDigit) {
    const WPARAM code = IDN_FIELD_ENTRY | static_cast<unsigned char>(firstDigit);
    PostMessageA(appState.mainWindow, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(field), code),
                 reinterpret_cast<LPARAM>(field));
}

bool isReturnKey(LPARAM dialogMessage) {
    const MSG* message = reinterpret_cast<const MSG*>(dialogMessage);
    return message && message->message == WM_KEYDOWN && message->wParam == VK_RETURN;
}

// The field is read-only and masked: a click or a key asks for the entry
// box (posted, so that the click or key is over before the box opens). A
// click does not reach the edit itself, which would start a selection.
LRESULT CALLBACK fieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (message) {
    case WM_LBUTTONDOWN:
        SetFocus(field);
        requestEntry(field, 0);
        return 0;
    case WM_LBUTTONDBLCLK:  // the second click of a double click asks for no second box
        return 0;
    case WM_GETDLGCODE:
        // Enter reaches the field instead of pressing a default button.
        return DefSubclassProc(field, message, wParam, lParam) | (isReturnKey(lParam) ? DLGC_WANTMESSAGE : 0);
    case WM_KEYDOWN:
        if (wParam != VK_RETURN) break;
        requestEntry(field, 0);
        return 0;
    case WM_CHAR:
        if (wParam == ' ') requestEntry(field, 0);
        if (wParam >= '0' && wParam <= '9') requestEntry(field, static_cast<char>(wParam));
        return 0;
    default:
        break;
    }
    return DefSubclassProc(field, message, wParam, lParam);
}

bool isButton(HWND window) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    return lstrcmpiA(className, "Button") == 0;
}

// A control the user can see and use: one that may hold the focus.
bool canHoldFocus(HWND window) {
    return window && window != appState.mainWindow && IsChild(appState.mainWindow, window) &&
           IsWindowVisible(window) && IsWindowEnabled(window);
}

}  // namespace

void installListInput(HWND list) { SetWindowSubclass(list, listProc, kListSubclass, 0); }

void installFieldInput(HWND field) { SetWindowSubclass(field, fieldProc, kFieldSubclass, 0); }

// The dialog manager's keys for the main window: Tab and Shift+Tab through
// the controls, a list's own keys, Space on a button. Enter presses a
// focused button; without this the dialog manager would send IDOK instead.
void dispatchFormMessage(MSG& message) {
    HWND main = appState.mainWindow;
    if (main && message.message == WM_KEYDOWN && message.wParam == VK_RETURN && canHoldFocus(GetFocus()) &&
        isButton(GetFocus())) {
        SendMessageA(GetFocus(), BM_CLICK, 0, 0);
        return;
    }
    if (main && IsDialogMessageA(main, &message)) return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

void rememberFocus() {
    HWND focus = GetFocus();
    if (canHoldFocus(focus)) rememberedFocus = focus;
}

void keepFocusVisible() {
    HWND main = appState.mainWindow;
    if (!main || GetActiveWindow() != main || canHoldFocus(GetFocus())) return;
    HWND next = canHoldFocus(rememberedFocus) ? rememberedFocus : GetNextDlgTabItem(main, nullptr, FALSE);
    if (canHoldFocus(next)) SetFocus(next);
}
