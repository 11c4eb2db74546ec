// A whole configuration read and written through the portable walk against
// quill-sim pacing a 9600 baud line: seconds, requests, and the ratio to the
// wire-time bound. The form is the largest of the built-in table's units:
// 51 rows, every field full.
#include "link/device_transfer.h"
#include "bench/bench_unit.h"

namespace {

constexpr int32_t kRows = 51;

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
    const double seconds = secondsSince(start);
    const size_t requests = simRequests(sim).size() - before;
    std::printf("%-6s %6.2f s  %4zu requests  bound %5.2f s  %.3f x the bound (target <= 1.10)\n", what, seconds,
                requests, requests * kRoundTripSeconds, seconds / (requests * kRoundTripSeconds));
    return result.status == TransferStatus::Complete;
}

}  // namespace

int main() {
    BenchUnit unit;
    if (!unit.start({"--baud", "9600"}, fullUnit()) || !unit.connectWorker()) return 1;
    FormValues form = emptyForm();
    for (int32_t n = 1; n <= kRows; ++n) form.rows.push_back(FormRow{n, true, -1, 0, false});
    const auto keepGoing = [](const TransferStep&) { return true; };
    bool ok = measure("read", unit.sim, [&] { return readForm(unit.session, form, keepGoing); });
    for (FormRow& row : form.rows) row.selection = 2;
    return measure("write", unit.sim, [&] { return writeForm(unit.session, form, keepGoing); }) && ok ? 0 : 1;
}
