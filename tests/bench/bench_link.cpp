// Round trips per second against quill-sim pacing a 9600 baud line, and how
// close they come to the wire-time bound: a request and its reply are 10
// characters of 10 bits, 10.42 ms. Measured twice: transact on the port
// directly, and submitRequest through the link worker (the user interface's
// path, with the slot and both events in it).
#include "link/frame.h"
#include "link/link.h"
#include "link/transport.h"
#include "tests/link/sim_process.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

namespace {

constexpr int kRoundTrips = 300;
constexpr double kBoundMs = 2.0 * kFrameSize * 10 * 1000.0 / kLineBaudRate;

// Calls `operation` (of `trips` round trips each) until kRoundTrips round
// trips are done and prints the figures; false when one failed.
bool measure(const char* what, int trips, const std::function<bool()>& operation) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRoundTrips; i += trips) {
        if (!operation()) {
            std::printf("%s: failed after %d round trips\n", what, i);
            return false;
        }
    }
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const double perTrip = ms / kRoundTrips;
    std::printf("%-28s %7.1f round trips/s  %6.2f ms each  %.3f x the bound (target <= 1.10)\n", what,
                1000.0 / perTrip, perTrip, perTrip / kBoundMs);
    return true;
}

}  // namespace

int main() {
    const std::string folder = makeTempFolder("quill-bench");
    setSerialPortsFolder(folder);
    SimProcess sim;
    if (!startSim(folder, 1, {"--baud", "9600"}, "register 12 3\n", sim)) {
        std::printf("quill-sim did not start\n");
        return 1;
    }
    std::printf("wire-time bound at 9600 baud: %.2f ms per round trip (%.1f per second)\n", kBoundMs,
                1000.0 / kBoundMs);
    PortHandle port = kNoPort;
    bool ok = openSerialPort(1, port);
    uint8_t value = 0;
    ok = ok && measure("transact", 1, [&] { return transact(port, kOpRead, 12, 0, &value); });
    if (port != kNoPort) closeSerialPort(port);

    startLinkWorker();
    for (int i = 0; i < 1000 && linkConnection().portNumber == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    // The first request waits for the scan to return (100 ms after the unit
    // was published); that is start-up, not throughput.
    ok = ok && submitRequest(kOpRead, 12, 0, &value);
    ok = ok && measure("submitRequest (link worker)", 1, [&] { return submitRequest(kOpRead, 12, 0, &value); });
    ok = ok && measure("writeVerified", 2, [&] { return writeVerified(12, 3); });
    stopSim(sim);
    removeFolder(folder);
    return ok ? 0 : 1;
}
