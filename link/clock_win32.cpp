// The clock on Windows: GetTickCount, Sleep, and the timer resolution.
#include "link/clock.h"

#include <windows.h>
#include <mmsystem.h>

uint32_t platformTickCount() {
    return GetTickCount();
}

void sleepMilliseconds(uint32_t ms) {
    Sleep(ms);
}

// The resolution is process-wide and counted by the system: every begin is
// matched by its end.
FineSleeps::FineSleeps() {
    timeBeginPeriod(1);
}

FineSleeps::~FineSleeps() {
    timeEndPeriod(1);
}
