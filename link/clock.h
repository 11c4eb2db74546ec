// Time for the link: a free-running 32-bit millisecond counter (GetTickCount
// on Windows, the monotonic clock on POSIX) and sleeps.
//
// The counter wraps every 2^32 ms (49.7 days). Deadlines are therefore
// compared by the signed distance between two counter values, never with
// "now >= deadline", so a deadline taken just before the wrap still lies in
// the future after it (valid while deadlines are less than 2^31 ms away).
#pragma once

#include <cstdint>

uint32_t tickCount();
bool tickReached(uint32_t now, uint32_t deadline);
// Milliseconds from `now` until `deadline`; 0 once it is reached.
uint32_t ticksLeft(uint32_t now, uint32_t deadline);
void sleepMilliseconds(uint32_t ms);

// While one of these lives, sleeps of a few milliseconds last about that
// long (the Windows timer resolution raised to 1 ms; nothing elsewhere).
struct FineSleeps {
    FineSleeps();
    ~FineSleeps();
    FineSleeps(const FineSleeps&) = delete;
    FineSleeps& operator=(const FineSleeps&) = delete;
};

// Tests move the counter near its wrap-around with this offset; 0 otherwise.
void setTickBiasForTesting(uint32_t bias);

// The platform counter without the bias (clock_win32.cpp / clock_posix.cpp).
uint32_t platformTickCount();
