// Pure link code: frames on the wire (how either side finds them in a
// stream is the frame_resync fuzz target's), the wrapping millisecond
// counter, field ranges and events (their use across threads is the worker
// tests'). Runs natively and under Wine.
#include "link/clock.h"
#include "link/device_text.h"
#include "link/frame.h"
#include "link/sync_event.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

TEST(Frame, EncodesTheWireExamples) {
    const struct { LinkFrame frame; Bytes wire; } cases[] = {
        {{kOpRead, 253, 0}, {0x56, 0x00, 0xFD, 0x00, 0xFD}}, {{kOpChoiceCount, 12, 0}, {0x56, 0x40, 0x0C, 0x00, 0x4C}},
        {{kOpWrite, 12, 3}, {0x56, 0x80, 0x0C, 0x03, 0x8F}}, {{kOpWrite, 252, 0x59}, {0x56, 0x80, 0xFC, 0x59, 0xD5}}};
    for (const auto& c : cases) {
        uint8_t bytes[kFrameSize];
        encodeFrame(c.frame, bytes);
        EXPECT_EQ(Bytes(bytes, bytes + kFrameSize), c.wire);
    }
}

TEST(LinkPrimitives, DeadlinesAcrossTheWrapFieldRangesAndAManualResetEvent) {
    const struct { uint32_t now, deadline; bool reached; uint32_t left; } cases[] = {
        {1000, 6000, false, 5000}, {6000, 6000, true, 0}, {7000, 6000, true, 0},
        {0xFFFFF000u, 0xFFFFF000u + 5000, false, 5000},  // deadline past the wrap
        {0xFFFFFFFFu, 0xFFFFF000u + 5000, false, 905},   {0x00000010u, 0xFFFFF000u + 5000, false, 888},
        {0x00000388u, 0xFFFFF000u + 5000, true, 0}, {0x00000010u, 0xFFFFFFF0u, true, 0}};  // the last taken long ago
    for (const auto& c : cases) {
        EXPECT_EQ(tickReached(c.now, c.deadline), c.reached) << c.now << " " << c.deadline;
        EXPECT_EQ(ticksLeft(c.now, c.deadline), c.left) << c.now << " " << c.deadline;
    }
    // Fields that cannot fit (their texts are the device_text fuzz target's):
    // 250 + 7 would wrap into registers 0 and 1; INT32_MAX overflows base + length.
    const struct { int32_t base, length; bool fits; } fields[] = {
        {245, 7, true}, {229, 16, true}, {255, 1, true}, {250, 7, false},
        {181, 0, false}, {-1, 2, false}, {10, INT32_MAX, false}, {INT32_MAX, 2, false}};
    for (const auto& f : fields) EXPECT_EQ(fieldFitsRegisters(f.base, f.length), f.fits) << f.base << "+" << f.length;
    // An auto-reset event's faults stall the worker's request slot (its tests catch them).
    SyncEvent manual(true);
    setEvent(manual);
    EXPECT_TRUE(waitForEvent(manual, 0) && waitForEvent(manual, 0));
    resetEvent(manual);
    EXPECT_FALSE(waitForEvent(manual, 10));
}

}  // namespace
