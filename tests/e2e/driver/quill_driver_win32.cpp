// quill-driver: acts on BrontivaSetup.exe from another process, as a user
// would, for the end-to-end tests. One command per run (S: seconds to wait;
// the main window is found by class and title, dialogs by class #32770):
//
//   wait-main [S]          until the main window is visible (on a timeout the reason
//                          lists the visible top-level windows)
//   find-main              exit 0 when the main window exists, else 1
//   placement              "<showCmd> <left> <top> <right> <bottom>", normal position
//   rect [ID]              the main window's screen rectangle "<l> <t> <r> <b>", or
//                          that of its control ID (any depth)
//   focus                  "<id> <class>" of the program's focused window ("0 none")
//   control ID             "<visible 0/1> <enabled 0/1> <text>" of the main window's control
//   command ID [CODE]      post WM_COMMAND (ID, CODE), the control as lParam
//   wait-dialog [S]        until a dialog box is visible
//   dialog                 "title=", "rect=", then "control <id> <class> <visible>
//                          <enabled> <text>" per child (a message box's text is 65535)
//   dialog-type ID TEXT    type TEXT into the dialog's control ID (WM_CHAR, so the
//                          edit control's own checks apply)
//   dialog-back ID N       press Backspace N times in it
//   dialog-press ID        post WM_COMMAND ID (IDOK 1, IDCANCEL 2) to the dialog
//   wait-no-dialog [S]     until no dialog box is visible
//   select ID INDEX        select entry INDEX (-1: none) of choice list ID, wherever it
//                          sits (CB_SETCURSEL, no notification)
//   set-text ID TEXT       set the text of control ID (any depth)
//   time-command ID [S]    post WM_COMMAND ID, wait for a dialog box; prints the ms between
//   wait-text ID TEXT [S]  until control ID shows TEXT; prints the time then, in ms
//                          since 1970 (polled every 5 ms, for benchmarks)
//   resources              "<gdi objects> <user objects> <handles>" of the program
//   resize W H             give the main window an outer size of W x H
//   describe               the probe's description of the main window (quill_probe.h)
//   close [S]              post WM_CLOSE and wait until the window is gone
//   file-command ID NAME...
//                          for each NAME in turn: post WM_COMMAND ID, wait for the
//                          file dialog, put NAME in its file-name field, press OK,
//                          answer Yes when it asks to replace a file, and wait until
//                          that dialog is gone (a message box may follow)
//   version FILE           FILE's version resource: "fixed <a.b.c.d>", then
//                          "<name>=<value>" per string of its first translation
//
// Texts are passed on byte for byte. Exit status: 0 done, 1 failed or timed
// out (reason on stderr), 2 usage.
#include "tests/e2e/probe/quill_probe.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <winver.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// Polls until `done` holds or `seconds` have passed.
template <class Done>
bool waitFor(Done done, int seconds) {
    for (const ULONGLONG deadline = GetTickCount64() + seconds * 1000ull;; Sleep(50)) {
        if (done()) return true;
        if (GetTickCount64() >= deadline) return false;
    }
}

HWND findMain() { return FindWindowA("BrontivaSetupClass", "Sorvane Quill Alarm Setup 1.0"); }

BOOL CALLBACK pickDialog(HWND window, LPARAM found) {
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// "class 'title'" of each visible top-level window, for a failure's reason.
BOOL CALLBACK listVisible(HWND window, LPARAM list) {
    if (!IsWindowVisible(window)) return TRUE;
    char className[64] = {}, title[128] = {};
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    auto& text = *reinterpret_cast<std::string*>(list);
    text += std::string(text.empty() ? "" : ", ") + className + " '" + title + "'";
    return TRUE;
}

std::string visibleWindows() {
    std::string list;
    EnumWindows(listVisible, reinterpret_cast<LPARAM>(&list));
    return list.empty() ? "none" : list;
}

HWND findDialog() {
    HWND found = nullptr;
    EnumWindows(pickDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

struct ChildSearch {
    int id;
    const char* className;  // none: any class
    HWND found;
};

BOOL CALLBACK pickChild(HWND child, LPARAM context) {
    auto* search = reinterpret_cast<ChildSearch*>(context);
    char className[64] = {};
    GetClassNameA(child, className, sizeof className);
    if (GetDlgCtrlID(child) != search->id) return TRUE;
    if (search->className && lstrcmpiA(className, search->className) != 0) return TRUE;
    search->found = child;
    return FALSE;
}

// A control anywhere below `window` (the rows' choice lists sit in the
// parameter area).
HWND findDescendant(HWND window, int id, const char* className = nullptr) {
    ChildSearch search = {id, className, nullptr};
    EnumChildWindows(window, pickChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The file-name field of the common file dialog: an edit inside combo box
// cmb13 (0x47C), or edit edt1 (0x480) in older layouts.
HWND fileNameField(HWND dialog) {
    if (HWND combo = GetDlgItem(dialog, 0x47C)) return combo;
    return GetDlgItem(dialog, 0x480);
}

int fileCommand(HWND window, const Args& args) {
    if (args.size() < 2) return fail("file-command needs an id and names");
    for (size_t i = 1; i < args.size(); ++i) {
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(argInt(args, 0, 0), 0), 0);
        HWND dialog = nullptr;
        if (!waitFor([&] { return (dialog = findDialog()) && fileNameField(dialog); }, 10))
            return fail("no file dialog");
        SendMessageA(fileNameField(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[i].c_str()));
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        const bool gone = waitFor([&] {
            HWND top = findDialog();
            if (top && top != dialog && GetWindow(top, GW_OWNER) == dialog)  // "replace it?"
                PostMessageA(top, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
            return !IsWindow(dialog);
        }, 10);
        if (!gone) return fail("the file dialog stays");
    }
    return 0;
}

std::string textOf(HWND window) {
    std::string buffer(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0) + 1, '\0');
    SendMessageA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.c_str();
}

void printRect(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
}

BOOL CALLBACK printControl(HWND child, LPARAM) {
    char className[64] = {};
    GetClassNameA(child, className, sizeof className);
    std::printf("control %d %s %d %d %s\n", GetDlgCtrlID(child), className, IsWindowVisible(child) != 0,
                IsWindowEnabled(child) != 0, textOf(child).c_str());
    return TRUE;
}

// Loads the probe into the program with a hook on its thread and asks it
// for the description, which it writes to a file named by our process id.
int describe(HWND window) {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    const std::string dir = std::string(exe).substr(0, std::string(exe).find_last_of("\\/") + 1);
    HMODULE dll = LoadLibraryA((dir + "quill_probe.dll").c_str());
    auto hook = dll ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(dll, kProbeHookExport))) : nullptr;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    HHOOK installed = hook ? SetWindowsHookExA(WH_GETMESSAGE, hook, dll, thread) : nullptr;
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

// Milliseconds since 1970 by the system clock (the host's clock under Wine).
long long epochMs() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<long long>(ticks / 10000 - 11644473600000ull);
}

// Polls `done` every 5 ms: fine enough to time what a benchmark measures.
template <class Done>
bool pollFor(Done done, int seconds) {
    for (const ULONGLONG deadline = GetTickCount64() + seconds * 1000ull;; Sleep(5)) {
        if (done()) return true;
        if (GetTickCount64() >= deadline) return false;
    }
}

// Commands on the main window; `window` is found, `args` follow the command.
int onMain(const std::string& command, const Args& args, HWND window) {
    HWND control = args.empty() ? nullptr : GetDlgItem(window, argInt(args, 0, 0));
    if (command == "select" || command == "set-text") {
        const char* className = command == "select" ? "ComboBox" : nullptr;
        control = args.size() < 2 ? nullptr : findDescendant(window, argInt(args, 0, 0), className);
        if (!control) return fail("no control " + (args.empty() ? "?" : args[0]));
        if (command == "select") SendMessageA(control, CB_SETCURSEL, argInt(args, 1, 0), 0);
        else SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[1].c_str()));
        return 0;
    }
    if (command == "placement") {
        WINDOWPLACEMENT p = {};
        p.length = sizeof p;
        if (!GetWindowPlacement(window, &p)) return fail("GetWindowPlacement failed");
        const RECT& r = p.rcNormalPosition;
        std::printf("%u %ld %ld %ld %ld\n", p.showCmd, r.left, r.top, r.right, r.bottom);
    } else if (command == "rect") {
        HWND target = args.empty() ? window : findDescendant(window, argInt(args, 0, 0));
        if (!target) return fail("no control " + args[0]);
        printRect(target);
    } else if (command == "focus") {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return fail("no thread info");
        char className[64] = "none";
        if (info.hwndFocus) GetClassNameA(info.hwndFocus, className, sizeof className);
        std::printf("%d %s\n", info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0, className);
    } else if (command == "control") {
        if (!control) return fail("no control " + (args.empty() ? "?" : args[0]));
        std::printf("%d %d %s\n", IsWindowVisible(control) != 0, IsWindowEnabled(control) != 0,
                    textOf(control).c_str());
    } else if (command == "command") {
        if (args.empty()) return 2;
        const WPARAM idAndCode = MAKEWPARAM(argInt(args, 0, 0), argInt(args, 1, 0));
        PostMessageA(window, WM_COMMAND, idAndCode, reinterpret_cast<LPARAM>(control));
    } else if (command == "time-command") {
        const ULONGLONG start = GetTickCount64();
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(argInt(args, 0, 0), 0), reinterpret_cast<LPARAM>(control));
        if (!pollFor([] { return !!findDialog(); }, argInt(args, 1, 600))) return fail("no dialog");
        std::printf("%llu\n", GetTickCount64() - start);
    } else if (command == "wait-text") {
        control = args.size() < 2 ? nullptr : findDescendant(window, argInt(args, 0, 0));
        if (!control) return fail("no control");
        if (!pollFor([&] { return textOf(control) == args[1]; }, argInt(args, 2, 30))) return fail("text not shown");
        std::printf("%lld\n", epochMs());
    } else if (command == "resize") {
        if (args.size() < 2) return 2;
        SetWindowPos(window, nullptr, 0, 0, argInt(args, 0, 640), argInt(args, 1, 480), SWP_NOMOVE | SWP_NOZORDER);
    } else if (command == "resources") {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
        if (!process) return fail("cannot open the program's process");
        DWORD handles = 0;
        GetProcessHandleCount(process, &handles);
        std::printf("%lu %lu %lu\n", GetGuiResources(process, GR_GDIOBJECTS), GetGuiResources(process, GR_USEROBJECTS),
                    handles);
        CloseHandle(process);
    } else if (command == "describe") {
        return describe(window);
    } else if (command == "file-command") {
        return fileCommand(window, args);
    } else if (command == "close") {
        PostMessageA(window, WM_CLOSE, 0, 0);
        if (!waitFor([] { return !findMain(); }, argInt(args, 0, 10))) return fail("the main window did not close");
    } else {
        return 2;
    }
    return 0;
}

// Commands on the open dialog box.
int onDialog(const std::string& command, const Args& args, HWND dialog) {
    HWND control = args.empty() ? nullptr : GetDlgItem(dialog, argInt(args, 0, 0));
    if (command == "dialog") {
        std::printf("title=%s\nrect=", textOf(dialog).c_str());
        printRect(dialog);
        EnumChildWindows(dialog, printControl, 0);
    } else if (command == "dialog-press") {
        const int id = argInt(args, 0, IDOK);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
    } else if (command == "dialog-type" || command == "dialog-back") {
        if (!control || args.size() < 2) return fail("no control or text");
        const std::string keys = command == "dialog-type" ? args[1] : std::string(argInt(args, 1, 1), '\b');
        for (char c : keys) SendMessageA(control, WM_CHAR, static_cast<unsigned char>(c), 1);
    } else {
        return 2;
    }
    return 0;
}

// The version resource as Windows reads it, for the package test.
int printVersion(const std::string& file) {
    DWORD ignored = 0;
    std::vector<char> data(GetFileVersionInfoSizeA(file.c_str(), &ignored));
    if (data.empty() || !GetFileVersionInfoA(file.c_str(), 0, data.size(), data.data()))
        return fail("no version resource in " + file);
    VS_FIXEDFILEINFO* fixed = nullptr;
    WORD* translation = nullptr;
    UINT size = 0;
    if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &size) ||
        !VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &size))
        return fail("incomplete version resource in " + file);
    std::printf("fixed %lu.%lu.%lu.%lu\n", fixed->dwFileVersionMS >> 16, fixed->dwFileVersionMS & 0xFFFF,
                fixed->dwFileVersionLS >> 16, fixed->dwFileVersionLS & 0xFFFF);
    const char* const names[] = {"CompanyName", "FileDescription", "FileVersion", "InternalName",
                                 "LegalCopyright", "OriginalFilename", "ProductName", "ProductVersion"};
    for (const char* name : names) {
        char path[128];
        std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", translation[0], translation[1], name);
        char* value = nullptr;
        if (VerQueryValueA(data.data(), path, reinterpret_cast<void**>(&value), &size) && value)
            std::printf("%s=%s\n", name, value);
    }
    return 0;
}

int run(const std::string& command, const Args& args) {
    const int seconds = argInt(args, 0, command == "wait-main" ? 20 : 10);
    if (command == "wait-main") {
        const bool shown = waitFor([] { return findMain() && IsWindowVisible(findMain()); }, seconds);
        return shown ? 0 : fail("main window did not appear; visible windows: " + visibleWindows());
    }
    if (command == "find-main") return findMain() ? 0 : 1;
    if (command == "version") return args.empty() ? 2 : printVersion(args[0]);
    if (command == "wait-dialog") return waitFor([] { return !!findDialog(); }, seconds) ? 0 : fail("no dialog");
    if (command == "wait-no-dialog") return waitFor([] { return !findDialog(); }, seconds) ? 0 : fail("a dialog stays; visible windows: " + visibleWindows());
    if (command.rfind("dialog", 0) == 0) {
        HWND dialog = findDialog();
        return dialog ? onDialog(command, args, dialog) : fail("no dialog");
    }
    const char* const onMainWindow[] = {"placement", "rect", "focus", "control", "command", "describe", "close",
                                         "select", "set-text", "time-command", "wait-text", "resources", "resize", "file-command"};
    if (std::find(std::begin(onMainWindow), std::end(onMainWindow), command) == std::end(onMainWindow)) return 2;
    HWND window = findMain();
    return window ? onMain(command, args, window) : fail("no main window");
}

}  // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);  // no CR before LF
    const int status = argc >= 2 ? run(argv[1], Args(argv + 2, argv + argc)) : 2;
    if (status == 2) std::fprintf(stderr, "usage: quill-driver COMMAND [ARGS...] (see the source's head)\n");
    return status;
}
