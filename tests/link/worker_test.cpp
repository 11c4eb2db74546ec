// The link worker and the request interface against quill-sim: verified
// writes, digit strings, refusals, and reconnecting after the
// unit changed or vanished. Each case takes well under a second.
#include "link/frame.h"
#include "tests/link/worker_fixture.h"

#include <string>
#include <vector>

namespace {

// Every register of the field set to a marker, so that untouched registers
// show.
std::string fieldFilledWith(int32_t base, int32_t length, int value) {
    std::string state;
    for (int32_t i = 0; i < length; ++i)
        state += "register " + std::to_string(base + i) + " " + std::to_string(value) + "\n";
    return state;
}

std::string registersText(const SimUnit& unit, int32_t base, int32_t length) {
    std::string text;
    for (int32_t i = 0; i < length; ++i) {
        const uint8_t b = unit.registers[base + i];
        text += b == 0 ? std::string("\\0") : b == 0x77 ? std::string("~") : std::string(1, char(b));
    }
    return text;
}

TEST_F(WorkerTest, ConnectionSnapshotAndVerifiedWrites) {
    ASSERT_TRUE(useUnit({"--readback-differs", "9"}));
    const LinkConnection c = linkConnection();
    EXPECT_EQ(c.deviceId, 105);
    EXPECT_TRUE(writeVerified(12, 3));
    EXPECT_FALSE(writeVerified(9, 5)) << "the read-back differs from the value written";
    const SimUnit unit = simState(sim);
    EXPECT_EQ(unit.registers[12], 3);
    EXPECT_EQ(unit.registers[9], 6);
    EXPECT_EQ(linkConnection().publication, c.publication) << "a read-back mismatch keeps the connection";
}

TEST_F(WorkerTest, DigitStringWritesRewriteTheWholeField) {
    // The registers of the field afterwards: ~ untouched, \0 zero.
    const struct { int32_t base, length; std::string text; bool ok; std::string registers; } cases[] = {
        {181, 16, "", true, "\\0\\0\\0\\0\\0\\0\\0\\0\\0\\0\\0\\0\\0\\0\\0\\0"},
        {181, 16, "12a4", false, "12~~~~~~~~~~~~~~"},
        {245, 7, "1234567", true, "123456\\0"},
        {250, 7, "1", false, "~~~~~~"},  // would run past register 255
    };
    for (const auto& c : cases) {
        const int32_t shown = std::min(c.length, 256 - c.base);
        ASSERT_TRUE(useUnit({}, fieldFilledWith(c.base, shown, 0x77)));
        EXPECT_EQ(writeDigitString(c.base, c.text, c.length), c.ok) << c.text;
        EXPECT_EQ(registersText(simState(sim), c.base, shown), c.registers) << c.text;
        if (!c.ok) {
            EXPECT_EQ(countRequests(sim, kOpWrite, uint8_t(c.base + 2)), 0) << "nothing sent for the letter";
        }
    }
}

TEST_F(WorkerTest, DigitStringReadsStopAtTheFirstZeroAndSkipTheLastRegister) {
    std::string state = fieldFilledWith(245, 7, '9');
    state += "register 181 0x30\nregister 182 0x31\nregister 183 0x32\nregister 184 0x33\n";
    ASSERT_TRUE(useUnit({}, state));

    std::string text = "stale";
    EXPECT_TRUE(readDigitString(181, 16, text));
    EXPECT_EQ(text, "0123");
    EXPECT_TRUE(readDigitString(197, 16, text));
    EXPECT_EQ(text, "");
    EXPECT_EQ(countRequests(sim, kOpRead, 197), 1);
    EXPECT_EQ(countRequests(sim, kOpRead, 198), 0);
    EXPECT_TRUE(readDigitString(245, 7, text));
    EXPECT_EQ(text, "999999");
    EXPECT_EQ(countRequests(sim, kOpRead, 251), 0) << "the field's last register holds its NUL";
}

TEST_F(WorkerTest, RefusalFailsAtOnceAndTheWorkerScansAgain) {
    ASSERT_TRUE(useUnit({"--refuse-address", "100"}));
    const uint32_t publication = linkConnection().publication;
    uint8_t value = 0xEE;
    const int64_t began = nowMs();
    EXPECT_FALSE(submitRequest(kOpRead, 100, 0, &value));
    EXPECT_LT(nowMs() - began, 2000);
    EXPECT_EQ(value, 0xEE);
    EXPECT_TRUE(submitRequest(kOpRead, 253, 0, &value)) << "served once the scan found the unit again";
    EXPECT_EQ(value, 105);
    EXPECT_GT(linkConnection().publication, publication);
}

TEST_F(WorkerTest, ChangedIdentityMakesTheWorkerReconnect) {
    ASSERT_TRUE(useUnit({}));
    EXPECT_TRUE(writeVerified(kIdentityLowRegister, 106));
    EXPECT_TRUE(awaitConnection([](const LinkConnection& c) { return c.deviceId == 106; }, 5000))
        << "the idle poll sees the new identity and the scan publishes it";
}

TEST_F(WorkerTest, VanishedUnitIsFoundAgainWhenItComesBack) {
    ASSERT_TRUE(useUnit({"--away", "300"}));
    const LinkConnection before = linkConnection();
    signalSim(sim, SIGUSR2);  // the adapter is pulled: the port disappears
    ASSERT_TRUE(awaitAnnouncement(sim, 5000));
    EXPECT_TRUE(awaitConnection(
        [&](const LinkConnection& c) { return c.publication > before.publication && c.portNumber == before.portNumber; },
        8000));
    uint8_t value = 0;
    EXPECT_TRUE(submitRequest(kOpRead, 254, 0, &value));
}

}  // namespace
