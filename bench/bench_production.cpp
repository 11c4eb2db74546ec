// quillctl bench as a production line runs it, against quill-sim units pacing
// a 9600 baud line with the unit 1.05 of scripts/run: one unit on one port,
// then eight units on eight ports at once (each run --once, so the time is
// the bench's from its start until its last unit is done, finding the units
// included); units per hour at eight ports without the swaps; and the CPU
// time of an idle bench over a few seconds, with no units plugged and with
// eight units done and still plugged (the links' identity polls).
#include "bench/bench_unit.h"
#include "configfile/config_file.h"
#include "tests/file_text.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>

#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int32_t kRows = 50;
constexpr int32_t kPorts = 8;
constexpr int32_t kRepeats = 3;
constexpr int32_t kIdleSeconds = 5;
constexpr double kRatioTarget = 1.15;

struct Line {
    SimFolder folder{"quill-bench-line"};
    std::string path(const std::string& name) const { return folder.path + "/" + name; }
    int32_t lists = 0;

    // A list of `units` labels not used before, so every run writes them all.
    std::string list(int32_t units) {
        const std::string name = path("units" + std::to_string(++lists) + ".csv");
        std::string text = "label,T1,H,K\n";
        for (int32_t n = 1; n <= units; ++n)
            text += "Run " + std::to_string(lists) + " unit " + std::to_string(n) + ",06" + std::to_string(lists * 100 + n) +
                    ",123456,42\n";
        writeText(name, text);
        return name;
    }
    std::vector<std::string> bench(const std::string& listPath, const std::string& ports, bool once) const {
        std::vector<std::string> argv = {QUILLCTL_PATH, "--ports", folder.path, "bench", path("t.sqc"), listPath, ports};
        if (once) argv.push_back("--once");
        return argv;
    }
};

bool prepare(Line& line) {
    setenv("QUILL_BACKUPS", line.path("backups").c_str(), 1);
    std::vector<FormRow> rows;
    for (int32_t n = 1; n <= kRows; ++n) rows.push_back(FormRow{n, true, 1});
    std::string error;
    if (writeConfigFile(line.path("t.sqc"), rows, error) != ReplaceResult::replaced) return false;
    for (int32_t port = 1; port <= kPorts; ++port)
        if (!line.folder.start(port, {"--baud", "9600"}, fileText(QUILL_UNIT_STATE))) return false;
    return true;
}

// Median seconds of kRepeats runs of --once over `units` units on ports 1..units.
double timedRuns(Line& line, int32_t units, bool& ok) {
    std::vector<double> seconds;
    for (int32_t i = 0; i < kRepeats; ++i) {
        const std::string ports = units == 1 ? "1" : "1-" + std::to_string(units);
        const auto argv = line.bench(line.list(units), ports, true);
        std::string output, errors;
        const auto start = std::chrono::steady_clock::now();
        ok = runProgram(argv, output, errors) == 0 && ok;
        seconds.push_back(secondsSince(start));
    }
    std::sort(seconds.begin(), seconds.end());
    return seconds[kRepeats / 2];
}

std::string receiptsFor(const std::string& list) {
    return list.substr(0, list.size() - 4) + "-receipts.csv";
}

// User and system CPU seconds of a running process so far.
double cpuSeconds(pid_t pid) {
    const std::string stat = fileText("/proc/" + std::to_string(pid) + "/stat");
    const size_t after = stat.rfind(')');
    unsigned long user = 0, system = 0;
    if (after == std::string::npos ||
        std::sscanf(stat.c_str() + after + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &user, &system) != 2)
        return -1;
    return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// The CPU an idle bench uses over kIdleSeconds, once `file` holds `lines`
// lines (its receipts: the units done).
double idleCpu(const std::vector<std::string>& argv, const std::string& output, const std::string& file, long lines) {
    pid_t pid = -1;
    if (!startProgram(argv, output, pid)) return -1;
    for (int i = 0; i < 3000; ++i) {
        const std::string text = fileText(file);
        if (std::count(text.begin(), text.end(), '\n') >= lines) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));  // the last unit's receipt, its links settling
    const double before = cpuSeconds(pid);
    std::this_thread::sleep_for(std::chrono::seconds(kIdleSeconds));
    const double used = cpuSeconds(pid) - before;
    kill(pid, SIGINT);
    waitpid(pid, nullptr, 0);
    return before < 0 ? -1 : used;
}

}  // namespace

int main() {
    Line line;
    if (!prepare(line)) {
        std::printf("quill-sim or the template did not start\n");
        return 1;
    }
    bool ok = true;
    const double one = timedRuns(line, 1, ok), eight = timedRuns(line, kPorts, ok);
    std::printf("one unit on one port      %6.2f s (median of %d, the bench's whole run)\n", one, kRepeats);
    std::printf("8 units on 8 ports        %6.2f s, %.3f x one unit (target <= %.2f)\n", eight, eight / one, kRatioTarget);
    std::printf("units per hour, 8 ports   %6.0f (without the time to swap units)\n", kPorts * 3600 / eight);
    const std::string noneList = line.list(1), doneList = line.list(kPorts + 1);
    const double none = idleCpu(line.bench(noneList, "101-108", false), line.path("idle1.txt"),
                                receiptsFor(noneList), 1);
    const double plugged = idleCpu(line.bench(doneList, "1-8", false), line.path("idle2.txt"),
                                   receiptsFor(doneList), 1 + kPorts);
    std::printf("idle, no units on 8 ports       CPU %.2f s in %d s\n", none, kIdleSeconds);
    std::printf("idle, 8 units done and plugged  CPU %.2f s in %d s\n", plugged, kIdleSeconds);
    return ok ? 0 : 1;
}
