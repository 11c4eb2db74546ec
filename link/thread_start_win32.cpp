// Detached threads on Windows, started with the system's own thread start
// (see thread_start.h for why not the C++ runtime's).
#include "link/thread_start.h"

#include <windows.h>

namespace {

struct ThreadStart {
    void (*entry)(void*);
    void* argument;
};

DWORD WINAPI runThreadStart(void* parameter) {
    const ThreadStart start = *static_cast<ThreadStart*>(parameter);
    delete static_cast<ThreadStart*>(parameter);
    start.entry(start.argument);
    return 0;
}

}  // namespace

bool startDetachedThread(void (*entry)(void*), void* argument) {
    auto* start = new ThreadStart{entry, argument};
    HANDLE thread = CreateThread(nullptr, 0, runThreadStart, start, 0, nullptr);
    if (!thread) {
        delete start;
        return false;
    }
    CloseHandle(thread);
    return true;
}
