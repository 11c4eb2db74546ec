// The simulated unit without its line: the state file format and the
// answers its fault switches produce. The tests of the link rely on both.
#include "tools/quill-sim/sim_state.h"
#include "tools/quill-sim/sim_unit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes replyTo(SimUnit& unit, uint8_t op, uint8_t address, uint8_t data = 0) {
    LinkFrame request;
    request.op = op;
    request.address = address;
    request.data = data;
    return answerRequest(unit, request).bytes;
}

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
    EXPECT_EQ(unit.registers[12], 3);
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

TEST(SimUnit, AnswersOpsAndFaults) {
    SimUnit unit;
    setIdentity(unit, kDefaultIdentity);
    unit.choiceCounts[12] = 4;
    EXPECT_EQ(replyTo(unit, kOpRead, 253), (Bytes{0x56, 0x00, 0xFD, 0x69, 0x66}));
    EXPECT_EQ(replyTo(unit, kOpChoiceCount, 12), (Bytes{0x56, 0x40, 0x0C, 0x04, 0x50}));
    EXPECT_EQ(replyTo(unit, kOpChoiceCount, 13), (Bytes{0x56, 0x40, 0x0D, 0x00, 0x4D}));
    EXPECT_EQ(replyTo(unit, kOpWrite, 12, 3), (Bytes{0x56, 0x80, 0x0C, 0x03, 0x8F}));
    EXPECT_EQ(unit.registers[12], 3);
    EXPECT_EQ(replyTo(unit, 0x20, 12), (Bytes{kRefusalByte}));  // unknown op

    unit.faults.refuseAddresses = {100};
    EXPECT_EQ(replyTo(unit, kOpRead, 100), (Bytes{kRefusalByte}));
    unit.faults.badChecksum = true;
    EXPECT_EQ(replyTo(unit, kOpRead, 253), (Bytes{0x56, 0x00, 0xFD, 0x69, 0x67}));
    unit.faults.badChecksum = false;
    unit.faults.mismatch = true;
    LinkFrame reply;
    ReplyBuffer buffer;
    const Bytes mismatched = replyTo(unit, kOpRead, 253);
    std::copy(mismatched.begin(), mismatched.end(), buffer.bytes);
    buffer.count = kFrameSize;
    ASSERT_EQ(resynchronise(buffer, reply), ReplyStatus::Accepted);
    EXPECT_NE(reply.address, 253);
    EXPECT_EQ(reply.data, 105);
}

TEST(SimUnit, NoiseNeverLooksLikeAFrameStartOrARefusal) {
    SimUnit unit;
    unit.faults.noiseBytes = 40;
    const Bytes reply = replyTo(unit, kOpRead, 7);
    ASSERT_EQ(reply.size(), 45u);
    for (size_t i = 0; i < 40; ++i) {
        EXPECT_NE(reply[i], kFrameStart);
        EXPECT_NE(reply[i], kRefusalByte);
    }
}

TEST(SimUnit, ReadBackSilenceAndVanishing) {
    SimUnit unit;
    unit.faults.readbackDiffers = {9};
    unit.faults.silentAfter = 3;
    unit.faults.vanishAfter = 1;
    SimAnswer first = answerRequest(unit, LinkFrame{kOpWrite, 9, 5});
    EXPECT_TRUE(first.changed);
    EXPECT_EQ(unit.registers[9], 6);
    EXPECT_TRUE(answerRequest(unit, LinkFrame{kOpRead, 9, 0}).vanish);
    EXPECT_FALSE(answerRequest(unit, LinkFrame{kOpRead, 9, 0}).bytes.empty());  // vanishes once
    EXPECT_TRUE(answerRequest(unit, LinkFrame{kOpRead, 9, 0}).bytes.empty());   // silent from the 4th
    toggleSilence(unit);
    EXPECT_FALSE(answerRequest(unit, LinkFrame{kOpRead, 9, 0}).bytes.empty());
    toggleSilence(unit);
    EXPECT_TRUE(answerRequest(unit, LinkFrame{kOpRead, 9, 0}).bytes.empty());
    EXPECT_FALSE(answerRequest(unit, LinkFrame{kOpWrite, 8, 0}).changed);  // same value
}

}  // namespace
