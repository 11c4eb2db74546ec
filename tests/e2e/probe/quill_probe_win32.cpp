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

void describeMenu(FILE* out, HMENU bar) {
    for (int pos = 0; bar && pos < GetMenuItemCount(bar); ++pos) {
        char text[512] = {};
        GetMenuStringA(bar, pos, text, sizeof text, MF_BYPOSITION);
        const UINT state = GetMenuState(bar, pos, MF_BYPOSITION);
        std::fprintf(out, "menu\t%d\t%d\t%s\t%d\t%s\n", pos, static_cast<int>(GetMenuItemID(bar, pos)),
                     state & MF_GRAYED ? "g" : state & MF_DISABLED ? "0" : "1", (state & MF_CHECKED) != 0,
                     flat(text).c_str());
    }
}

BOOL CALLBACK describeChild(HWND child, LPARAM context) {
    FILE* out = reinterpret_cast<FILE*>(context);
    char className[128] = {}, text[1024] = {};
    GetClassNameA(child, className, sizeof className);
    GetWindowTextA(child, text, sizeof text);
    RECT r = {};
    GetWindowRect(child, &r);
    const int id = GetDlgCtrlID(child);
    std::fprintf(out, "window\t%d\t%s\t%d\t%d\t%ld\t%ld\t%ld\t%ld\t%s\n", id, className, IsWindowVisible(child) != 0,
                 IsWindowEnabled(child) != 0, r.left, r.top, r.right, r.bottom, flat(text).c_str());
    if (lstrcmpiA(className, "ComboBox") != 0) return TRUE;
    const LRESULT selected = SendMessageA(child, CB_GETCURSEL, 0, 0);
    for (LRESULT i = 0; i < SendMessageA(child, CB_GETCOUNT, 0, 0); ++i) {
        std::string item(SendMessageA(child, CB_GETLBTEXTLEN, i, 0) + 1, '\0');
        SendMessageA(child, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
        std::fprintf(out, "choice\t%d\t%d\t%d\t%s\n", id, static_cast<int>(i), i == selected, flat(item.c_str()).c_str());
    }
    return TRUE;
}

void describe(HWND window, WPARAM tag) {
    char dll[MAX_PATH] = {};
    GetModuleFileNameA(probeModule, dll, MAX_PATH);
    const std::string path = std::string(dll, std::string(dll).find_last_of("\\/") + 1) + "probe-" +
                             std::to_string(static_cast<unsigned long long>(tag)) + ".txt";
    FILE* out = std::fopen((path + ".part").c_str(), "wb");
    if (!out) return;
    describeMenu(out, GetMenu(window));
    EnumChildWindows(window, describeChild, reinterpret_cast<LPARAM>(out));
    std::fclose(out);
    MoveFileExA((path + ".part").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
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
