// A whole configuration read and written through the portable walk against
// quill-sim pacing a 9600 baud line: seconds, requests, and the ratio to the
// wire-time bound (each request and its reply are 10 characters of 10 bits,
// 10.42 ms). The form is the largest of the built-in table's units: 51 rows,
// every field full.
#include "link/device_transfer.h"
#include "link/link.h"
#include "tests/link/sim_process.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace {

constexpr int32_t kRows = 51;
constexpr double kBitsPerRequest = 2.0 * 5 * 10;
constexpr double kBaud = 9600;

std::string fullUnit() {
    std::string state;
    for (int32_t n = 1; n <= kRows; ++n)
        state += "register " + std::to_string(n) + " 1\ncount " + std::to_string(n) + " 6\n";
    for (int32_t r = 181; r < 252; ++r)
        if ((r - 181) % 16 != 15 && r != 251) state += "register " + std::to_string(r) + " 0x35\n";
    return state + "register 252 0x12\n";
}

// Runs `walk`, prints its figures; false when it did not complete.
template <class Walk>
bool measure(const char* what, const SimProcess& sim, Walk walk) {
    const size_t before = simRequests(sim).size();
    const auto start = std::chrono::steady_clock::now();
    const TransferResult result = walk();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const size_t requests = simRequests(sim).size() - before;
    const double bound = requests * kBitsPerRequest / kBaud;
    std::printf("%-6s %6.2f s  %4zu requests  bound %5.2f s  %.3f x the bound (target <= 1.10)\n", what, seconds,
                requests, bound, seconds / bound);
    return result.status == TransferStatus::Complete;
}

}  // namespace

int main() {
    const std::string folder = makeTempFolder("quill-bench-transfer");
    setSerialPortsFolder(folder);
    SimProcess sim;
    if (!startSim(folder, 1, {"--baud", "9600"}, fullUnit(), sim)) {
        std::printf("quill-sim did not start\n");
        return 1;
    }
    startLinkWorker();
    for (int i = 0; i < 1000 && linkConnection().portNumber == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    uint8_t value = 0;
    submitRequest(0, 253, 0, &value);  // waits out the scan's last pause: start-up, not the walk

    FormValues form = emptyForm();
    for (int32_t n = 1; n <= kRows; ++n) form.rows.push_back(FormRow{n, true, -1, 0, false});
    const auto keepGoing = [](const TransferStep&) { return true; };
    bool ok = measure("read", sim, [&] { return readForm(form, keepGoing); });
    for (FormRow& row : form.rows) row.selection = 2;
    ok = measure("write", sim, [&] { return writeForm(form, keepGoing); }) && ok;
    stopSim(sim);
    removeFolder(folder);
    return ok ? 0 : 1;
}
