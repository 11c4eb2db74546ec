// Round trips per second against quill-sim pacing a 9600 baud line, against the
// wire-time bound of 10.42 ms: transact on the port directly, and submitRequest
// through the link worker (the user interface's path: the slot and both events).
#include "link/transport.h"
#include "bench/bench_unit.h"

#include <functional>

namespace {

constexpr int kRoundTrips = 300;

// Calls `operation` (`trips` round trips each) for kRoundTrips round trips, prints the figures.
bool measure(const char* what, int trips, const std::function<bool()>& operation) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRoundTrips; i += trips) {
        if (!operation()) {
            std::printf("%s: failed after %d round trips\n", what, i);
            return false;
        }
    }
    const double perTrip = secondsSince(start) / kRoundTrips;
    std::printf("%-28s %7.1f round trips/s  %6.2f ms each  %.3f x the bound (target <= 1.10)\n", what, 1 / perTrip,
                perTrip * 1000, perTrip / kRoundTripSeconds);
    return true;
}

}  // namespace

int main() {
    BenchUnit unit;
    if (!unit.start({"--baud", "9600"}, "register 12 3\n")) return 1;
    std::printf("wire-time bound at 9600 baud: %.2f ms per round trip (%.1f per second)\n", kRoundTripSeconds * 1000,
                1 / kRoundTripSeconds);
    PortHandle port = kNoPort;
    bool ok = openSerialPort(1, port);
    uint8_t value = 0;
    ok = ok && measure("transact", 1, [&] { return transact(port, kOpRead, 12, 0, &value); });
    if (port != kNoPort) closeSerialPort(port);
    ok = ok && unit.connectWorker();
    ok = ok && measure("submitRequest (link worker)", 1, [&] { return submitRequest(unit.session, kOpRead, 12, 0, &value); });
    ok = ok && measure("writeVerified", 2, [&] { return writeVerified(unit.session, 12, 3); });
    return ok ? 0 : 1;
}
