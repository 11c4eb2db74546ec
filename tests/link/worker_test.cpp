// The link worker and the request interface against quill-sim: verified
// writes, refusals, digit strings, and reconnecting after the unit changed
// or vanished. Each case takes well under a second.
#include "link/frame.h"
#include "tests/link/worker_fixture.h"

namespace {

TEST_F(WorkerTest, VerifiedWritesAndARefusalThatMakesTheWorkerScanAgain) {
    ASSERT_TRUE(useUnit({"--readback-differs", "9", "--refuse-address", "100"}));
    const LinkConnection c = linkConnection();
    EXPECT_EQ(c.deviceId, 105);
    EXPECT_TRUE(writeVerified(12, 3));
    EXPECT_FALSE(writeVerified(9, 5)) << "the read-back differs from the value written";
    EXPECT_EQ(simState(sim).registers[12], 3);
    EXPECT_EQ(simState(sim).registers[9], 6);
    EXPECT_EQ(linkConnection().publication, c.publication) << "a read-back mismatch keeps the connection";

    uint8_t value = 0xEE;
    const int64_t began = nowMs();
    EXPECT_FALSE(submitRequest(kOpRead, 100, 0, &value));
    EXPECT_LT(nowMs() - began, 2000);
    EXPECT_EQ(value, 0xEE);
    EXPECT_TRUE(submitRequest(kOpRead, 253, 0, &value)) << "served once the scan found the unit again";
    EXPECT_EQ(value, 105);
    EXPECT_GT(linkConnection().publication, c.publication);
}

// The registers of a field as text: ~ the marker 0x77 (untouched), \0 zero.
std::string registersText(const SimUnit& unit, int32_t base, int32_t length) {
    std::string text;
    for (int32_t i = 0; i < length; ++i) {
        const uint8_t b = unit.registers[base + i];
        text += b == 0 ? std::string("\\0") : b == 0x77 ? std::string("~") : std::string(1, char(b));
    }
    return text;
}

// Reads stop at the first zero and never ask for the last register; writes
// rewrite the whole field and stop before the first non-digit.
TEST_F(WorkerTest, DigitStrings) {
    std::string state = "register 181 0x30\nregister 182 0x31\nregister 183 0x32\nregister 184 0x33\n";
    for (int32_t r = 213; r < 252; ++r) state += "register " + std::to_string(r) + (r < 245 ? " 0x77\n" : " 0x39\n");
    ASSERT_TRUE(useUnit({}, state));
    const struct { int32_t base, length; const char* text; } reads[] = {
        {181, 16, "0123"}, {197, 16, ""}, {245, 7, "999999"}};
    for (const auto& r : reads) {
        std::string text = "stale";
        EXPECT_TRUE(readDigitString(r.base, r.length, text));
        EXPECT_EQ(text, r.text);
    }
    EXPECT_EQ(countRequests(sim, kOpRead, 197), 1);
    EXPECT_EQ(countRequests(sim, kOpRead, 198), 0);
    EXPECT_EQ(countRequests(sim, kOpRead, 251), 0) << "the field's last register holds its NUL";

    // The registers afterwards, and one that must see no write request.
    struct Write { int32_t base, length; std::string text; bool ok; std::string registers; int32_t unsent; };
    const Write writes[] = {
        {213, 16, "", true, "\\0\\0\\0\\0\\0\\0\\0\\0\\0\\0\\0\\0\\0\\0\\0\\0", 0},
        {229, 16, "12a4", false, "12~~~~~~~~~~~~~~", 231},
        {250, 7, "1", false, "", 250},  // would run past register 255
        {245, 7, "1234567", true, "123456\\0", 0},
    };
    for (const auto& w : writes) {
        EXPECT_EQ(writeDigitString(w.base, w.text, w.length), w.ok) << w.text;
        EXPECT_EQ(registersText(simState(sim), w.base, w.registers.empty() ? 0 : w.length), w.registers) << w.text;
        if (w.unsent) {
            EXPECT_EQ(countRequests(sim, kOpWrite, uint8_t(w.unsent)), 0) << w.text;
        }
    }
}

TEST_F(WorkerTest, ChangedIdentityOrAVanishedUnitIsFoundAgain) {
    ASSERT_TRUE(useUnit({"--away", "300"}));
    EXPECT_TRUE(writeVerified(kIdentityLowRegister, 106));
    EXPECT_TRUE(awaitConnection([](const LinkConnection& c) { return c.deviceId == 106; }, 5000))
        << "the idle poll sees the new identity and the scan publishes it";
    const LinkConnection before = linkConnection();
    signalSim(sim, SIGUSR2);  // the adapter is pulled: the port disappears
    ASSERT_TRUE(awaitAnnouncement(sim, 5000));
    const auto back = [&](const LinkConnection& c) {
        return c.publication > before.publication && c.portNumber == before.portNumber;
    };
    EXPECT_TRUE(awaitConnection(back, 8000));
    uint8_t value = 0;
    EXPECT_TRUE(submitRequest(kOpRead, 254, 0, &value));
}

}  // namespace
