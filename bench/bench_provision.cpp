// quillctl read-config and write-config as a user runs them, against quill-sim
// pacing a 9600 baud line with the unit 1.05 of scripts/run: seconds per command
// and the ratio to the wire-time bound of its requests. A command first finds the
// unit, and the link worker pauses after that scan before it serves a request:
// that start-up ("quillctl get 253" less its one request) is printed apart and
// taken off before the ratio of the walk.
#include "bench/bench_unit.h"
#include "tests/file_text.h"

#include <algorithm>

namespace {

struct Run {
    double seconds = 0;
    size_t requests = 0;
    bool ok = false;
};

Run timed(const BenchUnit& unit, const std::vector<std::string>& args) {
    std::vector<std::string> argv = {QUILLCTL_PATH, "--ports", unit.folder.path};
    argv.insert(argv.end(), args.begin(), args.end());
    const size_t before = simRequests(unit.sim).size();
    const auto start = std::chrono::steady_clock::now();
    std::string output, errors;
    const bool ok = runProgram(argv, output, errors) == 0;
    return Run{secondsSince(start), simRequests(unit.sim).size() - before, ok};  // braces: evaluated in order
}

}  // namespace

int main() {
    BenchUnit unit;
    if (!unit.start({"--baud", "9600"}, fileText(QUILL_UNIT_STATE))) return 1;
    std::vector<Run> scans;
    for (int i = 0; i < 3; ++i) scans.push_back(timed(unit, {"get", "253"}));
    std::sort(scans.begin(), scans.end(), [](const Run& a, const Run& b) { return a.seconds < b.seconds; });
    Run startUp = scans[1];
    startUp.requests -= 1;
    startUp.seconds -= kRoundTripSeconds;
    std::printf("start-up (quillctl get 253 less its request, median of 3): %.2f s, %zu probe requests\n",
                startUp.seconds, startUp.requests);
    bool ok = startUp.ok;
    const std::string file = unit.folder.path + "/unit.sqc";
    for (const char* command : {"read-config", "write-config"}) {
        const Run run = timed(unit, {command, file});
        const size_t walkRequests = run.requests - std::min(run.requests, startUp.requests);
        const double bound = walkRequests * kRoundTripSeconds, walk = run.seconds - startUp.seconds;
        std::printf("%-12s %6.2f s in all; walk %6.2f s, %4zu requests, bound %5.2f s, %.3f x the bound "
                    "(target <= 1.10)\n", command, run.seconds, walk, walkRequests, bound, walk / bound);
        ok = ok && run.ok;
    }
    return ok ? 0 : 1;
}
