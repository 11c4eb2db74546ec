// Events with the semantics of Win32 event objects, built on the standard
// library so that the .exe and the native tests run the same code:
//
//   auto-reset     a successful wait consumes the signal (one waiter wakes)
//   manual-reset   stays signalled until resetEvent; every waiter wakes
//
// setEvent happens-before the wait that it ends, so data written before the
// set is visible to the waiter afterwards. Any thread may call any of these.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

struct SyncEvent {
    explicit SyncEvent(bool manual, bool initiallySet = false) : manualReset(manual), signalled(initiallySet) {}
    SyncEvent(const SyncEvent&) = delete;
    SyncEvent& operator=(const SyncEvent&) = delete;

    const bool manualReset;
    std::mutex lock;
    std::condition_variable changed;
    bool signalled;  // guarded by lock
};

void setEvent(SyncEvent& event);
void resetEvent(SyncEvent& event);
// Waits until the event is signalled or `timeoutMs` have passed; true when
// signalled (an auto-reset event is then clear again).
bool waitForEvent(SyncEvent& event, uint32_t timeoutMs);
