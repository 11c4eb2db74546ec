// The clock on POSIX: the monotonic clock and the standard sleep.
#include "link/clock.h"

#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

}  // namespace

uint32_t platformTickCount() {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
    return static_cast<uint32_t>(ms);
}

void sleepMilliseconds(uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Sleeps here already last what they ask for.
FineSleeps::FineSleeps() = default;
FineSleeps::~FineSleeps() = default;
