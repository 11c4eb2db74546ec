// quillctl read-config and write-config as a user runs them, against
// quill-sim pacing a 9600 baud line with the unit 1.05 of scripts/run:
// seconds per command and the ratio to the wire-time bound of its requests
// (each request and reply 10 characters of 10 bits, 10.42 ms). A command
// begins by finding the unit, and the link worker pauses after the scan
// that found it before it serves the first request; that start-up, measured
// with "quillctl get 253" less its one request, is printed apart and taken
// off before the ratio of the walk.
#include "tests/link/sim_process.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr double kBitsPerRequest = 2.0 * 5 * 10;
constexpr double kBaud = 9600;

struct Run {
    double seconds = 0;
    size_t requests = 0;
    bool ok = false;
};

Run timed(const SimProcess& sim, const std::string& ports, const std::vector<std::string>& args) {
    std::vector<std::string> argv = {QUILLCTL_PATH, "--ports", ports};
    argv.insert(argv.end(), args.begin(), args.end());
    const size_t before = simRequests(sim).size();
    const int64_t start = nowMs();
    std::string output, errors;
    Run run;
    run.ok = runProgram(argv, output, errors) == 0;
    run.seconds = (nowMs() - start) / 1000.0;
    run.requests = simRequests(sim).size() - before;
    return run;
}

std::string fileText(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

}  // namespace

int main() {
    const std::string folder = makeTempFolder("quill-bench-provision");
    SimProcess sim;
    if (!startSim(folder, 1, {"--baud", "9600"}, fileText(QUILL_UNIT_STATE), sim)) {
        std::printf("quill-sim did not start\n");
        return 1;
    }
    std::vector<Run> scans;
    for (int i = 0; i < 3; ++i) scans.push_back(timed(sim, folder, {"get", "253"}));
    std::sort(scans.begin(), scans.end(), [](const Run& a, const Run& b) { return a.seconds < b.seconds; });
    Run startUp = scans[1];
    startUp.requests -= 1;
    startUp.seconds -= kBitsPerRequest / kBaud;
    std::printf("start-up (quillctl get 253 less its request, median of 3): %.2f s, %zu probe requests\n",
                startUp.seconds, startUp.requests);
    bool ok = startUp.ok;
    const std::string file = folder + "/unit.sqc";
    const struct { const char* name; std::vector<std::string> args; } commands[] = {
        {"read-config", {"read-config", file}}, {"write-config", {"write-config", file}}};
    for (const auto& c : commands) {
        const Run run = timed(sim, folder, c.args);
        const size_t walkRequests = run.requests - std::min(run.requests, startUp.requests);
        const double bound = walkRequests * kBitsPerRequest / kBaud;
        const double walk = run.seconds - startUp.seconds;
        std::printf("%-12s %6.2f s in all; walk %6.2f s, %4zu requests, bound %5.2f s, %.3f x the bound "
                    "(target <= 1.10)\n", c.name, run.seconds, walk, walkRequests, bound, walk / bound);
        ok = ok && run.ok;
    }
    stopSim(sim);
    removeFolder(folder);
    return ok ? 0 : 1;
}
