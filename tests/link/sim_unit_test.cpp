// The simulated unit without its line: the state file format, and noise
// that the resynchronisation tests can rely on. Its answers and fault
// switches are exercised through the link tests.
#include "tools/quill-sim/sim_state.h"
#include "tools/quill-sim/sim_unit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

TEST(SimState, RoundTripsAndReportsFaultyLines) {
    const std::string text =
        "# training unit\n"
        "identity 0x0201   # 5.13\n"
        "register 12 3\n"
        "register 181 0x31\n"
        "count 12 4\n"
        "\n"
        "register 300 1\n"
        "count 12\n"
        "colour blue\n"
        "register 13 -1\n";
    SimUnit unit;
    std::vector<std::string> problems;
    parseSimState(text, unit, problems);
    ASSERT_EQ(problems.size(), 4u);
    EXPECT_EQ(problems[0].rfind("line 7:", 0), 0u) << problems[0];
    EXPECT_EQ(identityOf(unit), 0x0201);
    EXPECT_EQ(unit.registers[181], '1');
    EXPECT_EQ(unit.choiceCounts[12], 4);
    EXPECT_EQ(unit.registers[13], 0);

    SimUnit again;
    problems.clear();
    parseSimState(formatSimState(unit), again, problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(Bytes(again.registers, again.registers + 256), Bytes(unit.registers, unit.registers + 256));
    EXPECT_EQ(Bytes(again.choiceCounts, again.choiceCounts + 256),
              Bytes(unit.choiceCounts, unit.choiceCounts + 256));
}

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
