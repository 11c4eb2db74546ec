// quill-driver: acts on BrontivaSetup.exe from another process, as a user would, for the
// end-to-end tests and benchmarks. One command per run; S: seconds to wait. The main window
// is found by class and title, dialogs by class #32770, a control ID of the main window at
// any depth (the rows' lists sit in the parameter area), a dialog's among its children.
//
//   wait-main [S]           until the main window shows;  find-main: exit 0 when it exists, else 1
//   placement               "<showCmd> <left> <top> <right> <bottom>", normal position
//   rect [ID]               "<l> <t> <r> <b>" on the screen of the main window or control ID
//   focus                   "<id> <class>" of the program's focused window ("0 none")
//   control ID              "<visible 0/1> <enabled 0/1> <text>"
//   command ID [CODE]       post WM_COMMAND (ID, CODE) to the main window
//   select ID INDEX         CB_SETCURSEL on list ID (-1: none; no notification)
//   set-text ID TEXT        WM_SETTEXT to control ID
//   file-command ID NAME... per NAME: command ID, NAME into the file dialog, OK, Yes to
//                           "replace?", until that dialog is gone (a message box may follow)
//   describe                the probe's description of the main window (quill_probe.h)
//   close [S]; resize W H   post WM_CLOSE, wait until it is gone; give it an outer size of W x H
//   resources               "<gdi objects> <user objects> <handles>" of the program
//   time-command ID [S]     command ID; the ms until a dialog shows (polled every 5 ms)
//   wait-text ID TEXT [S]   until control ID shows TEXT (polled every 5 ms); ms since 1970
//   wait-dialog [S]         until a dialog shows;  wait-no-dialog [S]: until none does
//   dialog                  lines of tab-separated fields: title TEXT, rect "<l> <t> <r> <b>", then
//                           per child control ID CLASS VISIBLE ENABLED TEXT (a message box's text: 65535)
//   dialog-type ID TEXT     WM_CHAR per byte to its control ID (its checks apply); dialog-back ID N: Backspaces
//   dialog-press [ID]       post WM_COMMAND ID (IDOK 1, IDCANCEL 2) to the dialog
//   version FILE            "fixed <a.b.c.d>", "<name>=<value>" of its first translation
//
// Texts pass byte for byte. Exit status 0 done, 1 failed (reason on stderr), 2 usage.
#include "tests/e2e/probe/quill_probe.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Args = std::vector<std::string>;

int fail(const std::string& reason) {
    std::fprintf(stderr, "quill-driver: %s\n", reason.c_str());
    return 1;
}

int argInt(const Args& args, size_t i, int fallback) { return i < args.size() ? std::atoi(args[i].c_str()) : fallback; }

// Polls every `stepMs` (5 where a benchmark times it) until `done` holds or `seconds` have passed.
template <class Done>
bool waitFor(Done done, int seconds, int stepMs = 50) {
    for (const ULONGLONG deadline = GetTickCount64() + seconds * 1000ull;; Sleep(stepMs)) {
        if (done()) return true;
        if (GetTickCount64() >= deadline) return false;
    }
}

std::string classOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string textOf(HWND window) {
    std::string buffer(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0) + 1, '\0');
    SendMessageA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.c_str();
}

// Calls `visit` on each top-level window (each window below `parent`) while it returns true.
template <class Visit>
void forEachWindow(HWND parent, Visit visit) {
    const WNDENUMPROC thunk = [](HWND window, LPARAM v) -> BOOL { return (*reinterpret_cast<Visit*>(v))(window); };
    if (parent) EnumChildWindows(parent, thunk, reinterpret_cast<LPARAM>(&visit));
    else EnumWindows(thunk, reinterpret_cast<LPARAM>(&visit));
}

template <class Match>
HWND findWindow(HWND parent, Match match) {
    HWND found = nullptr;
    forEachWindow(parent, [&](HWND window) {
        if (match(window)) found = window;
        return !found;
    });
    return found;
}

HWND findMain() { return FindWindowA("BrontivaSetupClass", "Sorvane Quill Alarm Setup 1.0"); }
HWND findDialog() { return findWindow(nullptr, [](HWND w) { return IsWindowVisible(w) && classOf(w) == "#32770"; }); }

// "class 'title'" of each visible top-level window, for a failure's reason
// (GetWindowTextA: it sends nothing to another program, which may hang).
std::string visibleWindows() {
    std::string list;
    forEachWindow(nullptr, [&](HWND window) {
        char title[128] = {};
        if (!IsWindowVisible(window)) return true;
        GetWindowTextA(window, title, sizeof title);
        list += (list.empty() ? "" : ", ") + classOf(window) + " '" + title + "'";
        return true;
    });
    return "visible windows: " + (list.empty() ? "none" : list);
}

// printf, PostMessageA and SendMessageA as a command's last step: exit status 0.
template <class... Values>
int print(const char* format, Values... values) {
    std::printf(format, values...);
    return 0;
}
int post(HWND window, UINT message, WPARAM wParam, HWND control = nullptr) {
    PostMessageA(window, message, wParam, reinterpret_cast<LPARAM>(control));
    return 0;
}
int send(HWND window, UINT message, WPARAM wParam, const void* lParam = nullptr) {
    SendMessageA(window, message, wParam, reinterpret_cast<LPARAM>(lParam));
    return 0;
}

int printRect(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    return print("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
}

int fileCommand(HWND window, const Args& args) {
    // The file-name field: an edit in combo box cmb13 (0x47C), or edt1 (0x480) in older layouts.
    const auto nameField = [](HWND d) { return GetDlgItem(d, 0x47C) ? GetDlgItem(d, 0x47C) : GetDlgItem(d, 0x480); };
    for (size_t i = 1; i < args.size(); ++i) {
        post(window, WM_COMMAND, argInt(args, 0, 0));
        HWND dialog = nullptr;
        if (!waitFor([&] { return (dialog = findDialog()) && nameField(dialog); }, 10)) return fail("no file dialog");
        send(nameField(dialog), WM_SETTEXT, 0, args[i].c_str());
        post(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), GetDlgItem(dialog, IDOK));
        const bool gone = waitFor([&] {
            HWND top = findDialog();
            if (top && top != dialog && GetWindow(top, GW_OWNER) == dialog)  // "replace it?"
                post(top, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED));
            return !IsWindow(dialog);
        }, 10);
        if (!gone) return fail("the file dialog stays");
    }
    return 0;
}

// Loads the probe into the program with a hook on its thread and asks it
// for the description, which it writes to a file named by our process id.
int describe(HWND window) {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    const std::string dir = std::string(exe).substr(0, std::string(exe).find_last_of("\\/") + 1);
    HMODULE dll = LoadLibraryA((dir + "quill_probe.dll").c_str());
    auto hook = dll ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(dll, kProbeHookExport))) : nullptr;
    HHOOK installed = hook ? SetWindowsHookExA(WH_GETMESSAGE, hook, dll, GetWindowThreadProcessId(window, nullptr)) : nullptr;
    if (!installed) return fail("cannot load or hook quill_probe.dll");
    const std::string out = dir + "probe-" + std::to_string(GetCurrentProcessId()) + ".txt";
    DeleteFileA(out.c_str());
    PostMessageA(window, RegisterWindowMessageA(kProbeMessage), GetCurrentProcessId(), 0);
    std::string bytes;
    waitFor([&] {
        std::ifstream in(out, std::ios::binary);  // complete once it exists: the probe renames it
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return bool(in);
    }, 10);
    UnhookWindowsHookEx(installed);
    DeleteFileA(out.c_str());
    if (bytes.empty()) return fail("the probe gave no description");
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    return 0;
}

// The version resource as Windows reads it, for the package test.
int printVersion(const std::string& file) {
    DWORD ignored = 0;
    std::vector<char> data(GetFileVersionInfoSizeA(file.c_str(), &ignored));
    VS_FIXEDFILEINFO* fixed = nullptr;
    WORD* translation = nullptr;
    UINT size = 0;
    if (data.empty() || !GetFileVersionInfoA(file.c_str(), 0, data.size(), data.data()) ||
        !VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &size) ||
        !VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &size))
        return fail("no complete version resource in " + file);
    std::printf("fixed %lu.%lu.%lu.%lu\n", fixed->dwFileVersionMS >> 16, fixed->dwFileVersionMS & 0xFFFF,
                fixed->dwFileVersionLS >> 16, fixed->dwFileVersionLS & 0xFFFF);
    for (const char* name : {"CompanyName", "FileDescription", "FileVersion", "InternalName", "LegalCopyright",
                             "OriginalFilename", "ProductName", "ProductVersion"}) {
        char path[128], *value = nullptr;
        std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", translation[0], translation[1], name);
        if (VerQueryValueA(data.data(), path, reinterpret_cast<void**>(&value), &size) && value)
            std::printf("%s=%s\n", name, value);
    }
    return 0;
}

// What a command acts on: the runner finds it first, or fails.
enum Needs { kNothing, kMain, kControl, kList, kDialog, kDialogControl };
struct Command {
    const char* name;
    Needs needs;
    size_t minArgs;
    int (*run)(HWND window, HWND control, const Args& args);  // control: the one args[0] names, if any
};

const Command kCommands[] = {
    {"wait-main", kNothing, 0, [](HWND, HWND, const Args& a) {
         if (waitFor([] { return IsWindowVisible(findMain()); }, argInt(a, 0, 20))) return 0;
         return fail("main window did not appear; " + visibleWindows()); }},
    {"find-main", kNothing, 0, [](HWND, HWND, const Args&) { return findMain() ? 0 : 1; }},
    {"wait-dialog", kNothing, 0, [](HWND, HWND, const Args& a) {
         return waitFor([] { return !!findDialog(); }, argInt(a, 0, 10)) ? 0 : fail("no dialog"); }},
    {"wait-no-dialog", kNothing, 0, [](HWND, HWND, const Args& a) {
         return waitFor([] { return !findDialog(); }, argInt(a, 0, 10)) ? 0 : fail("a dialog stays; " + visibleWindows()); }},
    {"version", kNothing, 1, [](HWND, HWND, const Args& a) { return printVersion(a[0]); }},
    {"placement", kMain, 0, [](HWND w, HWND, const Args&) {
         WINDOWPLACEMENT p = {sizeof p};
         const RECT& r = p.rcNormalPosition;
         if (!GetWindowPlacement(w, &p)) return fail("GetWindowPlacement failed");
         return print("%u %ld %ld %ld %ld\n", p.showCmd, r.left, r.top, r.right, r.bottom); }},
    {"rect", kMain, 0, [](HWND w, HWND c, const Args& a) {
         return a.empty() ? printRect(w) : c ? printRect(c) : fail("no control " + a[0]); }},
    {"focus", kMain, 0, [](HWND w, HWND, const Args&) {
         GUITHREADINFO info = {sizeof info};
         if (!GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info)) return fail("no thread info");
         const HWND f = info.hwndFocus;
         return print("%d %s\n", f ? GetDlgCtrlID(f) : 0, f ? classOf(f).c_str() : "none"); }},
    {"control", kControl, 1, [](HWND, HWND c, const Args&) {
         return print("%d %d %s\n", IsWindowVisible(c) != 0, IsWindowEnabled(c) != 0, textOf(c).c_str()); }},
    {"command", kMain, 1, [](HWND w, HWND c, const Args& a) {
         return post(w, WM_COMMAND, MAKEWPARAM(argInt(a, 0, 0), argInt(a, 1, 0)), c); }},
    {"select", kList, 2, [](HWND, HWND c, const Args& a) { return send(c, CB_SETCURSEL, argInt(a, 1, 0)); }},
    {"set-text", kControl, 2, [](HWND, HWND c, const Args& a) { return send(c, WM_SETTEXT, 0, a[1].c_str()); }},
    {"file-command", kMain, 2, [](HWND w, HWND, const Args& a) { return fileCommand(w, a); }},
    {"describe", kMain, 0, [](HWND w, HWND, const Args&) { return describe(w); }},
    {"close", kMain, 0, [](HWND w, HWND, const Args& a) {
         post(w, WM_CLOSE, 0);
         return waitFor([] { return !findMain(); }, argInt(a, 0, 10)) ? 0 : fail("the main window did not close"); }},
    {"resize", kMain, 2, [](HWND w, HWND, const Args& a) {
         SetWindowPos(w, nullptr, 0, 0, argInt(a, 0, 0), argInt(a, 1, 0), SWP_NOMOVE | SWP_NOZORDER);
         return 0; }},
    {"resources", kMain, 0, [](HWND w, HWND, const Args&) {
         DWORD pid = 0, handles = 0;
         GetWindowThreadProcessId(w, &pid);
         HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
         if (!process) return fail("cannot open the program's process");
         GetProcessHandleCount(process, &handles);
         print("%lu %lu %lu\n", GetGuiResources(process, GR_GDIOBJECTS), GetGuiResources(process, GR_USEROBJECTS), handles);
         CloseHandle(process);
         return 0; }},
    {"time-command", kMain, 1, [](HWND w, HWND c, const Args& a) {
         const ULONGLONG start = GetTickCount64();
         post(w, WM_COMMAND, argInt(a, 0, 0), c);
         if (!waitFor([] { return !!findDialog(); }, argInt(a, 1, 600), 5)) return fail("no dialog");
         return print("%llu\n", GetTickCount64() - start); }},
    {"wait-text", kControl, 2, [](HWND, HWND c, const Args& a) {
         if (!waitFor([&] { return textOf(c) == a[1]; }, argInt(a, 2, 30), 5)) return fail("text not shown");
         FILETIME now;  // the system clock, the host's under Wine: 100 ns since 1601
         GetSystemTimeAsFileTime(&now);
         return print("%llu\n", ((ULONGLONG(now.dwHighDateTime) << 32) | now.dwLowDateTime) / 10000 - 11644473600000ull); }},
    {"dialog", kDialog, 0, [](HWND d, HWND, const Args&) {
         print("title\t%s\nrect\t", textOf(d).c_str());
         printRect(d);
         forEachWindow(d, [](HWND c) {
             print("control\t%d\t%s\t%d\t%d\t%s\n", GetDlgCtrlID(c), classOf(c).c_str(), IsWindowVisible(c) != 0,
                   IsWindowEnabled(c) != 0, textOf(c).c_str());
             return true; });
         return 0; }},
    {"dialog-type", kDialogControl, 2, [](HWND, HWND c, const Args& a) {
         for (char k : a[1]) SendMessageA(c, WM_CHAR, static_cast<unsigned char>(k), 1);
         return 0; }},
    {"dialog-back", kDialogControl, 2, [](HWND, HWND c, const Args& a) {
         for (int i = 0; i < argInt(a, 1, 1); ++i) SendMessageA(c, WM_CHAR, '\b', 1);
         return 0; }},
    {"dialog-press", kDialog, 0, [](HWND d, HWND c, const Args& a) {
         return post(d, WM_COMMAND, MAKEWPARAM(argInt(a, 0, IDOK), BN_CLICKED), c); }},
};

int run(const std::string& name, const Args& args) {
    const Command* command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                          [&](const Command& c) { return name == c.name; });
    if (command == std::end(kCommands) || args.size() < command->minArgs) return 2;
    const Needs needs = command->needs;
    HWND window = needs == kNothing ? nullptr : needs >= kDialog ? findDialog() : findMain();
    if (needs != kNothing && !window) return fail(needs >= kDialog ? "no dialog" : "no main window");
    HWND control = nullptr;
    if (window && !args.empty()) {
        const int id = argInt(args, 0, 0);
        control = needs >= kDialog ? GetDlgItem(window, id) : findWindow(window, [&](HWND w) {
            return GetDlgCtrlID(w) == id && (needs != kList || lstrcmpiA(classOf(w).c_str(), "ComboBox") == 0);
        });
    }
    if ((needs == kControl || needs == kList || needs == kDialogControl) && !control) return fail("no control " + args[0]);
    return command->run(window, control, args);
}

}  // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);  // no CR before LF
    const int status = argc >= 2 ? run(argv[1], Args(argv + 2, argv + argc)) : 2;
    if (status == 2) std::fprintf(stderr, "usage: quill-driver COMMAND [ARGS...] (see the source's head)\n");
    return status;
}
