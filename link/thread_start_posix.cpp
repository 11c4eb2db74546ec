#include "link/thread_start.h"

#include <system_error>
#include <thread>

bool startDetachedThread(void (*entry)(int32_t), int32_t argument) {
    try {
        std::thread(entry, argument).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}
