#include "link/sync_event.h"

#include <chrono>

void setEvent(SyncEvent& event) {
    std::lock_guard<std::mutex> hold(event.lock);
    event.signalled = true;
    if (event.manualReset)
        event.changed.notify_all();
    else
        event.changed.notify_one();
}

void resetEvent(SyncEvent& event) {
    std::lock_guard<std::mutex> hold(event.lock);
    event.signalled = false;
}

bool waitForEvent(SyncEvent& event, uint32_t timeoutMs) {
    std::unique_lock<std::mutex> hold(event.lock);
    const bool set = event.changed.wait_for(hold, std::chrono::milliseconds(timeoutMs), [&] { return event.signalled; });
    if (set && !event.manualReset) event.signalled = false;
    return set;
}
