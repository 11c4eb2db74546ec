#include "tests/e2e/probe/quill_probe.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HMODULE probeModule = nullptr;

std::string flat(std::string s) {
    for (char& c : s)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return s;
}

std::string windowText(HWND window) {
    char buffer[1024] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return flat(buffer);
}

// "<id> <enabled> <checked> <text>" of entry `pos`; enabled is 1, 0 for
// disabled, g for greyed.
std::string menuEntry(HMENU menu, int pos) {
    char text[512] = {};
    GetMenuStringA(menu, pos, text, sizeof text, MF_BYPOSITION);
    const UINT state = GetMenuState(menu, pos, MF_BYPOSITION);
    return std::to_string(static_cast<int>(GetMenuItemID(menu, pos))) + "\t" +
           (state & MF_GRAYED ? "g" : state & MF_DISABLED ? "0" : "1") + "\t" + (state & MF_CHECKED ? "1" : "0") + "\t" +
           flat(text);
}

void describeMenu(FILE* out, HMENU bar) {
    for (int pos = 0; bar && pos < GetMenuItemCount(bar); ++pos) {
        std::fprintf(out, "menu\t%d\t%s\n", pos, menuEntry(bar, pos).c_str());
        HMENU sub = GetSubMenu(bar, pos);
        for (int i = 0; sub && i < GetMenuItemCount(sub); ++i)
            std::fprintf(out, "item\t%d\t%d\t%s\n", pos, i, menuEntry(sub, i).c_str());
    }
}

void describeChoices(FILE* out, HWND combo, int id) {
    const LRESULT selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    for (LRESULT i = 0; i < SendMessageA(combo, CB_GETCOUNT, 0, 0); ++i) {
        std::string buffer(SendMessageA(combo, CB_GETLBTEXTLEN, i, 0) + 1, '\0');
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer.data()));
        std::fprintf(out, "choice\t%d\t%d\t%d\t%s\n", id, static_cast<int>(i), i == selected,
                     flat(buffer.c_str()).c_str());
    }
}

BOOL CALLBACK describeChild(HWND child, LPARAM context) {
    FILE* out = reinterpret_cast<FILE*>(context);
    char className[128] = {};
    GetClassNameA(child, className, sizeof className);
    RECT r = {};
    GetWindowRect(child, &r);
    const int id = GetDlgCtrlID(child);
    std::fprintf(out, "window\t%d\t%s\t%d\t%d\t%ld\t%ld\t%ld\t%ld\t%s\n", id, className, IsWindowVisible(child) != 0,
                 IsWindowEnabled(child) != 0, r.left, r.top, r.right, r.bottom, windowText(child).c_str());
    if (lstrcmpiA(className, "ComboBox") == 0) describeChoices(out, child, id);
    return TRUE;
}

void describe(HWND window, WPARAM tag) {
    char dll[MAX_PATH] = {};
    GetModuleFileNameA(probeModule, dll, MAX_PATH);
    const std::string dir(dll, std::string(dll).find_last_of("\\/") + 1);
    const std::string path = dir + "probe-" + std::to_string(static_cast<unsigned long long>(tag)) + ".txt";
    const std::string partial = path + ".part";
    FILE* out = std::fopen(partial.c_str(), "wb");
    if (!out) return;
    std::fprintf(out, "main\t%s\n", windowText(window).c_str());
    describeMenu(out, GetMenu(window));
    EnumChildWindows(window, describeChild, reinterpret_cast<LPARAM>(out));
    std::fprintf(out, "end\n");
    std::fclose(out);
    MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK quillProbeHook(int code, WPARAM wParam, LPARAM lParam) {
    static const UINT probeMessage = RegisterWindowMessageA(kProbeMessage);
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && message->message == probeMessage)
        describe(message->hwnd, message->wParam);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) probeModule = instance;
    return TRUE;
}
