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

std::string menuText(HMENU menu, UINT position) {
    char buffer[512] = {};
    GetMenuStringA(menu, position, buffer, sizeof buffer, MF_BYPOSITION);
    return flat(buffer);
}

void describeMenu(FILE* out, HMENU bar) {
    const int count = bar ? GetMenuItemCount(bar) : 0;
    for (int pos = 0; pos < count; ++pos) {
        const UINT state = GetMenuState(bar, pos, MF_BYPOSITION);
        const bool enabled = !(state & (MF_GRAYED | MF_DISABLED));
        std::fprintf(out, "menu\t%d\t%d\t%d\t%d\t%s\n", pos, static_cast<int>(GetMenuItemID(bar, pos)), enabled,
                     (state & MF_CHECKED) != 0, menuText(bar, pos).c_str());
        HMENU sub = GetSubMenu(bar, pos);
        const int subCount = sub ? GetMenuItemCount(sub) : 0;
        for (int i = 0; i < subCount; ++i) {
            const UINT s = GetMenuState(sub, i, MF_BYPOSITION);
            std::fprintf(out, "item\t%d\t%d\t%d\t%d\t%d\t%s\n", pos, i, static_cast<int>(GetMenuItemID(sub, i)),
                         !(s & (MF_GRAYED | MF_DISABLED)), (s & MF_CHECKED) != 0, menuText(sub, i).c_str());
        }
    }
}

void describeChoices(FILE* out, HWND combo, int id) {
    const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    const LRESULT selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, i, 0);
        std::string item(length > 0 ? length : 0, '\0');
        std::string buffer(item.size() + 1, '\0');
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer.data()));
        std::fprintf(out, "choice\t%d\t%d\t%d\t%s\n", id, static_cast<int>(i), i == selected,
                     flat(buffer.c_str()).c_str());
    }
}

struct WalkContext {
    FILE* out;
};

BOOL CALLBACK describeChild(HWND child, LPARAM context) {
    FILE* out = reinterpret_cast<WalkContext*>(context)->out;
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

std::string describePath(WPARAM tag) {
    char dll[MAX_PATH] = {};
    GetModuleFileNameA(probeModule, dll, MAX_PATH);
    std::string dir(dll);
    dir = dir.substr(0, dir.find_last_of("\\/") + 1);
    return dir + "probe-" + std::to_string(static_cast<unsigned long long>(tag)) + ".txt";
}

void describe(HWND window, WPARAM tag) {
    const std::string path = describePath(tag);
    const std::string partial = path + ".part";
    FILE* out = std::fopen(partial.c_str(), "wb");
    if (!out) return;
    std::fprintf(out, "main\t%s\n", windowText(window).c_str());
    describeMenu(out, GetMenu(window));
    WalkContext context{out};
    EnumChildWindows(window, describeChild, reinterpret_cast<LPARAM>(&context));
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
