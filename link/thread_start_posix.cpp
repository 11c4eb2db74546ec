#include "link/thread_start.h"

#include <system_error>
#include <thread>

bool startDetachedThread(void (*entry)(void*), void* argument) {
    try {
        std::thread(entry, argument).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}
