// Transactions that run into the 5000 ms reply deadline while the millisecond
// counter wraps, and a request its submitter gives up on before any worker
// took it. The cases run side by side on their own ports: one deadline.
#include "link/clock.h"
#include "link/link_state.h"
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

// The counter moved near its wrap for the test's time, put back whatever
// ends the test.
struct WrappingCounter {
    WrappingCounter() { setTickBiasForTesting(0u - platformTickCount() - 1000u); }  // wraps one second in
    ~WrappingCounter() { setTickBiasForTesting(0); }
};

// A link with a connection and no worker: the request waits in the slot
// until its submitter gives up, and is withdrawn then, so that no worker
// would ever send it.
bool givenUpRequestIsWithdrawn(int32_t portNumber) {
    const std::shared_ptr<Link> link = makeLink(LinkOptions{});
    PortHandle port = kNoPort;
    if (!openSerialPort(portNumber, port) || !publishConnection(*link, port, portNumber, 105)) return false;
    uint8_t value = 0x77;
    const bool answered = submitRequest(currentSession(*link), kOpWrite, 7, 1, &value);
    const bool pending = link->slot.pending;
    closeConnection(*link);
    return !answered && !pending && value == 0x77;
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
    for (int32_t i = 0; i < 5; ++i) ASSERT_TRUE(folder.start(i + 1, i < 4 ? cases[i].args : std::vector<std::string>{}));
    const WrappingCounter wrapping;
    std::future<bool> withdrawn = std::async(std::launch::async, givenUpRequestIsWithdrawn, 5);
    std::vector<std::future<Outcome>> running;
    for (int32_t i = 0; i < 4; ++i) running.push_back(std::async(std::launch::async, readIdentityLow, i + 1));
    for (int32_t i = 0; i < 4; ++i) {
        const Outcome out = running[i].get();
        EXPECT_EQ(out.ok, cases[i].ok) << cases[i].what;
        EXPECT_GE(out.elapsedMs, cases[i].minMs) << cases[i].what;
        EXPECT_LE(out.elapsedMs, cases[i].maxMs) << cases[i].what;
        EXPECT_EQ(out.value, out.ok ? 105 : 0) << cases[i].what;
    }
    EXPECT_TRUE(withdrawn.get());
    EXPECT_TRUE(simRequests(folder.units[5]).empty());
}

}  // namespace
