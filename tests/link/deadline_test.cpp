// Transactions that run into the 5000 ms reply deadline while the millisecond
// counter wraps. The cases run side by side on their own ports: one deadline.
#include "link/clock.h"
#include "link/transport.h"
#include "tests/link/sim_process.h"

#include <gtest/gtest.h>

#include <future>

namespace {

struct Outcome { bool ok = false; uint8_t value = 0; int64_t elapsedMs = 0; };

Outcome readIdentityLow(int32_t portNumber) {
    Outcome out;
    PortHandle port = kNoPort;
    if (!openSerialPort(portNumber, port)) return out;
    const int64_t began = nowMs();
    out.ok = transact(port, kOpRead, kIdentityLowRegister, 0, &out.value);
    out.elapsedMs = nowMs() - began;
    closeSerialPort(port);
    return out;
}

TEST(Deadline, HoldsAcrossTheWrapOfTheMillisecondCounter) {
    SimFolder folder("quill-deadline");
    setSerialPortsFolder(folder.path);
    const struct { const char* what; std::vector<std::string> args; bool ok; int64_t minMs, maxMs; } cases[] = {
        {"bad checksum: never accepted, fails at the deadline", {"--bad-checksum"}, false, 4800, 7500},
        {"silent line", {"--silent-after", "0"}, false, 4800, 7500},
        {"reply split over 3 s, wrapping on the way", {"--split", "1500"}, true, 2800, 4900},
        {"reply after 3.5 s", {"--latency", "3500"}, true, 3300, 4900},
    };
    for (int32_t i = 0; i < 4; ++i) ASSERT_TRUE(folder.start(i + 1, cases[i].args));
    setTickBiasForTesting(0u - platformTickCount() - 1000u);  // the counter wraps one second in
    std::vector<std::future<Outcome>> running;
    for (int32_t i = 0; i < 4; ++i) running.push_back(std::async(std::launch::async, readIdentityLow, i + 1));
    for (int32_t i = 0; i < 4; ++i) {
        const Outcome out = running[i].get();
        EXPECT_EQ(out.ok, cases[i].ok) << cases[i].what;
        EXPECT_GE(out.elapsedMs, cases[i].minMs) << cases[i].what;
        EXPECT_LE(out.elapsedMs, cases[i].maxMs) << cases[i].what;
        EXPECT_EQ(out.value, out.ok ? 105 : 0) << cases[i].what;
    }
    setTickBiasForTesting(0);
}

}  // namespace
