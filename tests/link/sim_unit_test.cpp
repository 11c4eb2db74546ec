// The simulated unit's noise, which the resynchronisation tests rely on
// never to look like a frame start or a refusal. Its answers, fault
// switches and state file are exercised through the link tests.
#include "tools/quill-sim/sim_unit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

TEST(SimUnit, NoiseNeverLooksLikeAFrameStartOrARefusal) {
    SimUnit unit;
    unit.faults.noiseBytes = 40;
    const Bytes reply = answerRequest(unit, LinkFrame{kOpRead, 7, 0}).bytes;
    ASSERT_EQ(reply.size(), 45u);
    for (size_t i = 0; i < 40; ++i) {
        EXPECT_NE(reply[i], kFrameStart);
        EXPECT_NE(reply[i], kRefusalByte);
    }
}

}  // namespace
