// Soak: 1,000 read and write cycles of the walk against quill-sim without
// pacing, with the process's resident memory at the start, the middle and
// the end. Flat means the end within 2% of the middle: nothing the walk, the
// worker or the request slot allocate may pile up.
#include "link/device_transfer.h"
#include "bench/bench_unit.h"

#include <fstream>

namespace {

constexpr int kCycles = 1000;
constexpr int32_t kRows = 51;

// Prints the resident memory, against the middle's when given; returns it (kB).
long report(const char* when, int cycle, long middleKb = 0) {
    long kb = -1;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) kb = std::stol(line.substr(6));
    std::printf("%-6s cycle %4d  resident %6ld kB", when, cycle, kb);
    if (middleKb > 0) std::printf("  %+.2f%% of the middle (target within 2%%)", 100.0 * (kb - middleKb) / middleKb);
    std::printf("\n");
    std::fflush(stdout);
    return kb;
}

}  // namespace

int main() {
    std::string state;
    for (int32_t n = 1; n <= kRows; ++n) state += "count " + std::to_string(n) + " 6\n";
    BenchUnit unit;
    if (!unit.start({}, state) || !unit.connectWorker()) return 1;
    const auto keepGoing = [](const TransferStep&) { return true; };
    const auto start = std::chrono::steady_clock::now();
    long middle = report("start", 0);
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        if (cycle == kCycles / 2) middle = report("middle", cycle);
        FormValues form = emptyForm();
        for (int32_t n = 1; n <= kRows; ++n) form.rows.push_back(FormRow{n, true, -1, 0, false});
        form.fields[0].text = std::to_string(100000 + cycle);
        if (readForm(unit.session, form, keepGoing).status != TransferStatus::Complete ||
            writeForm(unit.session, form, keepGoing).status != TransferStatus::Complete) {
            std::printf("cycle %d failed\n", cycle);
            return 1;
        }
    }
    report("end", kCycles, middle);
    std::printf("%d cycles in %.1f s\n", kCycles, secondsSince(start));
    return 0;
}
