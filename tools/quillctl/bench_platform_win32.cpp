#include "tools/quillctl/bench_platform.h"

#include "tools/quillctl/receipts.h"

#include <windows.h>

#include <ctime>
#include <io.h>

namespace {

constexpr int32_t kDefaultColumns = 80;

// The console calls the handler on a thread of its own.
std::function<void()>& stopCall() {
    static std::function<void()> call;
    return call;
}

BOOL WINAPI onConsoleControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    stopCall()();
    return TRUE;
}

// A console that shows escape sequences as such; false for a console that
// cannot be asked to (before Windows 10) and for anything but a console.
bool virtualTerminal(DWORD which) {
    HANDLE out = GetStdHandle(which);
    DWORD mode = 0;
    if (out == INVALID_HANDLE_VALUE || !GetConsoleMode(out, &mode)) return false;
    return (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) ||
           SetConsoleMode(out, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

}  // namespace

bool watchStopRequests(std::function<void()> stop) {
    stopCall() = std::move(stop);
    return SetConsoleCtrlHandler(onConsoleControl, TRUE) != 0;
}

std::FILE* liveTerminal() {
    if (virtualTerminal(STD_ERROR_HANDLE)) return stderr;
    return virtualTerminal(STD_OUTPUT_HANDLE) ? stdout : nullptr;
}

bool outputIsTerminal() {
    return _isatty(_fileno(stdout)) != 0;
}

int32_t terminalColumns(std::FILE* out) {
    HANDLE h = GetStdHandle(out == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    CONSOLE_SCREEN_BUFFER_INFO info = {};
    if (!GetConsoleScreenBufferInfo(h, &info)) return kDefaultColumns;
    return info.srWindow.Right - info.srWindow.Left + 1;
}

std::string localTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local = {}, utc = {};
    localtime_s(&local, &now);
    gmtime_s(&utc, &now);
    return isoLocalTime(local, utc);
}
