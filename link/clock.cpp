#include "link/clock.h"

#include <atomic>

namespace {

std::atomic<uint32_t> tickBias{0};

}  // namespace

uint32_t tickCount() {
    return platformTickCount() + tickBias.load(std::memory_order_relaxed);
}

bool tickReached(uint32_t now, uint32_t deadline) {
    return static_cast<int32_t>(now - deadline) >= 0;
}

uint32_t ticksLeft(uint32_t now, uint32_t deadline) {
    return tickReached(now, deadline) ? 0 : deadline - now;
}

void setTickBiasForTesting(uint32_t bias) {
    tickBias.store(bias, std::memory_order_relaxed);
}
