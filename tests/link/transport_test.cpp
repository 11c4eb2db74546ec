// The POSIX serial port, the probe and the scan against quill-sim on
// pseudo-terminals, and the simulator's own numbers (transactions are the
// worker tests'). No link worker runs here: the tests drive a scan themselves.
#include "link/transport.h"
#include "tests/link/sim_process.h"
#include "tools/quill-sim/sim_state.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <thread>

using namespace std::literals;

namespace {

// A number of quill-sim's state file or command line is the whole text:
// blanks, a sign, or anything after the digits (a NUL too) make it none.
TEST(SimNumber, TheWholeTextIsTheNumber) {
    const struct { std::string text; bool ok; int64_t value; } cases[] = {
        {"0", true, 0},      {"255", true, 255}, {"0x1f", true, 31},  {"0XFF", true, 255}, {"256", false, 0},
        {"0x100", false, 0}, {"", false, 0},     {"0x", false, 0},    {"3\0"s, false, 0}, {"3\0009"s, false, 0},
        {" 3", false, 0},    {"3 ", false, 0},   {"+3", false, 0},    {"0x-1", false, 0},  {"1e2", false, 0},
        {"99999999999999999999", false, 0}};
    for (const auto& c : cases) {
        int64_t value = -1;
        EXPECT_EQ(parseSimNumber(c.text, 255, value), c.ok) << "'" << c.text << "'";
        EXPECT_EQ(value, c.ok ? c.value : -1) << c.text;
    }
}

class TransportTest : public ::testing::Test {
protected:
    void SetUp() override { setSerialPortsFolder(folder.path); }
    void TearDown() override { closeConnection(*link); }
    SimProcess& start(int32_t port, const std::vector<std::string>& args) {
        EXPECT_TRUE(folder.start(port, args)) << "quill-sim on com" << port;
        return folder.units[port];
    }
    bool probeEnded(int32_t portNumber) {
        for (const int64_t until = nowMs() + 8000; nowMs() < until; std::this_thread::sleep_for(5ms))
            if (!probeBusy(*link, portNumber)) return true;
        return false;
    }
    static bool portOpens(int32_t portNumber) {
        PortHandle port = kNoPort;
        return openSerialPort(portNumber, port) && (closeSerialPort(port), true);
    }

    SimFolder folder{"quill-transport"};
    const std::shared_ptr<Link> link = makeLink(LinkOptions{{1, 2, 3, 4, 5, 6, 7, 8, 9}, nullptr});
};

TEST_F(TransportTest, ReadsEndInTimeAndWithTheLineAScanSkipsAbsentSilentZeroAndBusyPorts) {
    SimProcess& sim = start(2, {"--silent-after", "1", "--refuse-address", "100"});
    PortHandle port = kNoPort;
    ASSERT_TRUE(openSerialPort(2, port));
    uint8_t bytes[kFrameSize] = {0xEE};
    EXPECT_FALSE(transact(port, kOpRead, 100, 0, bytes));
    EXPECT_EQ(bytes[0], 0xEE) << "a refusal stores no reply";
    size_t got = 99;
    const int64_t began = nowMs();
    EXPECT_TRUE(readSerialPort(port, bytes, kFrameSize, got));
    EXPECT_EQ(got, 0u);
    EXPECT_LT(nowMs() - began, 1000);  // about 10 + 5 * 5 ms
    stopSim(sim);
    EXPECT_FALSE(readSerialPort(port, bytes, kFrameSize, got));
    closeSerialPort(port);
    SimProcess& silent = start(2, {"--silent-after", "0"});
    start(3, {"--identity", "0"});
    std::ofstream(folder.path + "/com4") << "not a terminal";
    SimProcess& held = start(5, {});
    start(6, {"--identity", "1234"});
    PortHandle heldPort = kNoPort;
    ASSERT_TRUE(openSerialPort(5, heldPort));  // another program has it
    const uint32_t before = linkConnection(*link).publication;
    scanPorts(link);
    const LinkConnection c = linkConnection(*link);
    EXPECT_EQ(std::make_tuple(c.portNumber, c.deviceId, c.publication), std::make_tuple(6, 1234, before + 1));
    // The silent port's first probe still waits for its reply: a new scan
    // must not start a second one beside it.
    scanPorts(link);
    EXPECT_EQ(linkConnection(*link).portNumber, 6);
    EXPECT_EQ(countRequests(silent, kOpRead, 253), 1);
    EXPECT_TRUE(simRequests(held).empty());
    ASSERT_TRUE(probeEnded(3));
    EXPECT_TRUE(portOpens(3)) << "the probe of the identity-0 unit must close its port";
    closeSerialPort(heldPort);
    closeConnection(*link);
    EXPECT_EQ(linkConnection(*link).portNumber, 0);
}

TEST_F(TransportTest, TwoUnitsFoundAtOnceGiveOneConnectionAndConsistentSnapshots) {
    start(2, {"--identity", "105"});
    start(3, {"--identity", "200"});
    std::atomic<bool> stop{false};
    std::atomic<int> inconsistent{0};
    std::thread reader([&] {
        while (!stop) {
            const LinkConnection c = linkConnection(*link);
            const int32_t expected = c.portNumber == 2 ? 105 : c.portNumber == 3 ? 200 : 0;
            if (c.deviceId != expected || (c.portNumber != 0 && expected == 0)) ++inconsistent;
        }
    });
    for (int round = 0; round < 5; ++round) {
        scanPorts(link);
        const int32_t found = linkConnection(*link).portNumber;
        ASSERT_TRUE(found == 2 || found == 3);
        ASSERT_TRUE(probeEnded(2) && probeEnded(3));
        EXPECT_TRUE(portOpens(found == 2 ? 3 : 2)) << "the losing probe must close its port";
    }
    stop = true;
    reader.join();
    EXPECT_EQ(inconsistent, 0);
}

}  // namespace
