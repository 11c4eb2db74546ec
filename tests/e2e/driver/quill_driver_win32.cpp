// quill-driver: acts on BrontivaSetup.exe from another process, as a user
// would, for the end-to-end tests. One command per run:
//
//   wait-main [S]            wait up to S seconds (default 20) for the main
//                            window (class and title) to be visible
//   find-main                exit 0 when the main window exists, else 1
//   placement                "<showCmd> <left> <top> <right> <bottom>" of the
//                            main window's normal position
//   rect [ID]                screen rectangle of the main window or control ID
//   text ID                  text of the main window's control ID
//   state ID                 "visible=<0/1> enabled=<0/1>" of control ID
//   command ID [CODE]        post WM_COMMAND (ID, CODE) to the main window,
//                            with the control as lParam when there is one
//   wait-dialog [S]          wait for a visible dialog box (#32770)
//   dialog                   describe it: "title=", "rect=", then one
//                            "control <id> <class> <visible> <enabled> <text>"
//                            line per child (a message box's text is 65535)
//   dialog-type ID TEXT      type TEXT into the dialog's control ID
//   dialog-back ID N         press Backspace N times in control ID
//   dialog-press ID          post WM_COMMAND ID (IDOK 1, IDCANCEL 2)
//   wait-no-dialog [S]       wait until no dialog box is visible
//   describe                 the probe's description of the main window
//                            (menus, controls, combo-box items; probe.h)
//   close                    post WM_CLOSE and wait until the window is gone
//
// Exit status: 0 done, 1 failed or timed out (reason on stderr), 2 usage.
#include "tests/e2e/probe/quill_probe.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr DWORD kPollMilliseconds = 50;
constexpr const char* kMainClass = "BrontivaSetupClass";
constexpr const char* kMainTitle = "Sorvane Quill Alarm Setup 1.0";
constexpr const char* kDialogClass = "#32770";

using Args = std::vector<std::string>;

int fail(const std::string& reason) {
    std::fprintf(stderr, "quill-driver: %s\n", reason.c_str());
    return kExitFailed;
}

int argInt(const Args& args, size_t i, int fallback) {
    return i < args.size() ? std::atoi(args[i].c_str()) : fallback;
}

// Polls `found` until it returns a window or `seconds` have passed.
template <class Find>
HWND waitFor(Find found, int seconds) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
    for (;;) {
        if (HWND window = found()) return window;
        if (GetTickCount64() >= deadline) return nullptr;
        Sleep(kPollMilliseconds);
    }
}

HWND findMain() {
    return FindWindowA(kMainClass, kMainTitle);
}

HWND findVisibleMain() {
    HWND window = findMain();
    return window && IsWindowVisible(window) ? window : nullptr;
}

BOOL CALLBACK pickDialog(HWND window, LPARAM found) {
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, kDialogClass) != 0 || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

HWND findDialog() {
    HWND found = nullptr;
    EnumWindows(pickDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string textOf(HWND window) {
    const LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    std::string buffer(length + 1, '\0');
    SendMessageA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.c_str();
}

void printRect(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
}

HWND requireMain() {
    HWND window = findMain();
    if (!window) fail("no main window");
    return window;
}

HWND requireControl(HWND parent, const Args& args, size_t i) {
    if (!parent) return nullptr;
    HWND control = GetDlgItem(parent, argInt(args, i, 0));
    if (!control) fail("no control " + (i < args.size() ? args[i] : std::string("?")));
    return control;
}

int runWaitMain(const Args& args) {
    HWND window = waitFor(findVisibleMain, argInt(args, 0, 20));
    if (!window) return fail("main window did not appear");
    std::printf("main %p\n", static_cast<void*>(window));
    return 0;
}

int runFindMain(const Args&) {
    return findMain() ? 0 : kExitFailed;
}

int runPlacement(const Args&) {
    HWND window = requireMain();
    if (!window) return kExitFailed;
    WINDOWPLACEMENT p = {};
    p.length = sizeof p;
    if (!GetWindowPlacement(window, &p)) return fail("GetWindowPlacement failed");
    std::printf("%u %ld %ld %ld %ld\n", p.showCmd, p.rcNormalPosition.left, p.rcNormalPosition.top,
                p.rcNormalPosition.right, p.rcNormalPosition.bottom);
    return 0;
}

int runRect(const Args& args) {
    HWND window = requireMain();
    if (window && !args.empty()) window = requireControl(window, args, 0);
    if (!window) return kExitFailed;
    printRect(window);
    return 0;
}

int runText(const Args& args) {
    HWND control = requireControl(requireMain(), args, 0);
    if (!control) return kExitFailed;
    std::printf("%s\n", textOf(control).c_str());
    return 0;
}

int runState(const Args& args) {
    HWND control = requireControl(requireMain(), args, 0);
    if (!control) return kExitFailed;
    std::printf("visible=%d enabled=%d\n", IsWindowVisible(control) != 0, IsWindowEnabled(control) != 0);
    return 0;
}

int runCommand(const Args& args) {
    HWND window = requireMain();
    if (!window || args.empty()) return window ? kExitUsage : kExitFailed;
    const int id = argInt(args, 0, 0);
    const int code = argInt(args, 1, 0);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
    return 0;
}

int runWaitDialog(const Args& args) {
    HWND dialog = waitFor(findDialog, argInt(args, 0, 10));
    if (!dialog) return fail("no dialog appeared");
    std::printf("dialog %p\n", static_cast<void*>(dialog));
    return 0;
}

BOOL CALLBACK printControl(HWND child, LPARAM) {
    char className[64] = {};
    GetClassNameA(child, className, sizeof className);
    std::printf("control %d %s %d %d %s\n", GetDlgCtrlID(child), className, IsWindowVisible(child) != 0,
                IsWindowEnabled(child) != 0, textOf(child).c_str());
    return TRUE;
}

int runDialog(const Args&) {
    HWND dialog = findDialog();
    if (!dialog) return fail("no dialog");
    std::printf("title=%s\nrect=", textOf(dialog).c_str());
    printRect(dialog);
    EnumChildWindows(dialog, printControl, 0);
    return 0;
}

// WM_CHAR goes through the edit control's own checks (length limit, digits
// only), as typed characters do.
int runDialogType(const Args& args) {
    HWND control = requireControl(findDialog(), args, 0);
    if (!control || args.size() < 2) return kExitFailed;
    for (char c : args[1]) SendMessageA(control, WM_CHAR, static_cast<unsigned char>(c), 1);
    return 0;
}

int runDialogBack(const Args& args) {
    HWND control = requireControl(findDialog(), args, 0);
    if (!control) return kExitFailed;
    for (int i = 0; i < argInt(args, 1, 1); ++i) SendMessageA(control, WM_CHAR, VK_BACK, 1);
    return 0;
}

int runDialogPress(const Args& args) {
    HWND dialog = findDialog();
    if (!dialog) return fail("no dialog");
    const int id = argInt(args, 0, IDOK);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    return 0;
}

int runWaitNoDialog(const Args& args) {
    const HWND gone = waitFor([] { return findDialog() ? nullptr : HWND_MESSAGE; }, argInt(args, 0, 10));
    return gone ? 0 : fail("a dialog is still open");
}

std::string probeDllPath() {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string dir(exe);
    return dir.substr(0, dir.find_last_of("\\/") + 1) + "quill_probe.dll";
}

bool readWhole(const std::string& path, std::string& bytes) {
    FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) return false;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) bytes.append(buffer, n);
    std::fclose(in);
    return true;
}

int runDescribe(const Args&) {
    HWND window = requireMain();
    if (!window) return kExitFailed;
    const std::string dllPath = probeDllPath();
    HMODULE dll = LoadLibraryA(dllPath.c_str());
    auto hook = dll ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(dll, kProbeHookExport))) : nullptr;
    if (!hook) return fail("cannot load " + dllPath);
    HHOOK installed = SetWindowsHookExA(WH_GETMESSAGE, hook, dll, GetWindowThreadProcessId(window, nullptr));
    if (!installed) return fail("cannot install the probe hook");
    const DWORD tag = GetCurrentProcessId();
    const std::string out = dllPath.substr(0, dllPath.find_last_of("\\/") + 1) + "probe-" + std::to_string(tag) + ".txt";
    DeleteFileA(out.c_str());
    PostMessageA(window, RegisterWindowMessageA(kProbeMessage), tag, 0);
    std::string bytes;
    waitFor([&] { return readWhole(out, bytes) ? HWND_MESSAGE : nullptr; }, 10);
    UnhookWindowsHookEx(installed);
    DeleteFileA(out.c_str());
    if (bytes.empty()) return fail("the probe gave no description");
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    return 0;
}

int runClose(const Args& args) {
    HWND window = requireMain();
    if (!window) return kExitFailed;
    PostMessageA(window, WM_CLOSE, 0, 0);
    const HWND gone = waitFor([] { return findMain() ? nullptr : HWND_MESSAGE; }, argInt(args, 0, 10));
    return gone ? 0 : fail("the main window did not close");
}

struct Command {
    const char* name;
    int (*run)(const Args&);
};

const Command kCommands[] = {
    {"wait-main", runWaitMain},         {"find-main", runFindMain},     {"placement", runPlacement},
    {"rect", runRect},                  {"text", runText},              {"state", runState},
    {"command", runCommand},            {"wait-dialog", runWaitDialog}, {"dialog", runDialog},
    {"dialog-type", runDialogType},     {"dialog-back", runDialogBack}, {"dialog-press", runDialogPress},
    {"wait-no-dialog", runWaitNoDialog}, {"describe", runDescribe},     {"close", runClose},
};

}  // namespace

int main(int argc, char** argv) {
    // Texts are passed on byte for byte, without CR before LF.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc >= 2) {
        const Args args(argv + 2, argv + argc);
        for (const Command& c : kCommands)
            if (std::strcmp(argv[1], c.name) == 0) return c.run(args);
    }
    std::fprintf(stderr, "usage: quill-driver COMMAND [ARGS...] (see the source's head)\n");
    return kExitUsage;
}
