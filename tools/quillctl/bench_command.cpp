// quillctl bench: the production bench. Many units programmed at once, one
// link per port, from a template and a list of labels (unit_list.h), with a
// receipt per unit (receipts.h). Everything given is checked before the
// first link starts; the ports' work is bench_port.cpp's.
#include "configfile/backup_files.h"
#include "configfile/safe_file.h"
#include "tools/common/tool_io.h"
#include "tools/quillctl/bench_platform.h"
#include "tools/quillctl/bench_state.h"
#include "tools/quillctl/receipts.h"

#include <chrono>
#include <thread>

namespace {

constexpr const char* kReceiptsOption = "--receipts";
constexpr const char* kOnceOption = "--once";
// While a port works on a unit its seconds and bar move: the table is drawn
// again this often. With nothing under way it waits for a change.
constexpr auto kRedrawInterval = std::chrono::milliseconds(250);
constexpr double kMsPerHour = 3600.0 * 1000;

// TEMPLATE UNITS PORTS with --receipts FILE and --once anywhere among them.
bool splitBenchArgs(const std::vector<std::string>& args, std::vector<std::string>& files, Plan& plan,
                    std::string& problem) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == kOnceOption) {
            plan.once = true;
        } else if (args[i] != kReceiptsOption) {
            files.push_back(args[i]);
        } else if (i + 1 < args.size()) {
            plan.receiptsPath = args[++i];
        } else {
            problem = "--receipts needs a FILE";
            return false;
        }
    }
    if (files.size() == 3) return true;
    problem = "bench needs TEMPLATE.sqc UNITS.csv PORTS";
    return false;
}

bool readUnitList(const std::string& path, UnitList& list, std::string& problem) {
    std::string bytes, reason;
    if (!readFileBytes(path, kMaxListBytes, bytes, problem)) return false;
    if (parseUnitList(bytes, list, reason)) return true;
    problem = path + ": " + reason;
    return false;
}

void askStop(Bench& b) {
    std::lock_guard<std::mutex> hold(b.lock);
    if (!b.stopAsked) b.events.push_back(localTimeNow() + " stopping: each port stops after its current step");
    b.stopAsked = true;
    b.stopping.store(true);
    markChanged(b);
}

// A link per port, then a thread per port that has one.
void startPorts(Bench& b, std::vector<std::thread>& threads) {
    for (int32_t number : b.plan.ports) {
        BenchPort& port = b.ports.emplace_back();
        port.number = number;
        port.line = PortLine{number, "", "no unit"};
    }
    for (BenchPort& port : b.ports) {
        port.link = startLink(LinkOptions{{port.number}, portObserver(b, port)});
        std::lock_guard<std::mutex> hold(b.lock);
        port.running = port.link != nullptr;
        if (port.link) continue;
        b.fatal = "cannot start the link of COM" + std::to_string(port.number);
        b.stopping.store(true);
    }
    for (BenchPort& port : b.ports)
        if (port.link) threads.emplace_back(runPort, std::ref(b), std::ref(port));
}

// Under the lock.
BenchTally tallyOf(const Bench& b) {
    BenchTally tally = b.tally;
    for (LabelState state : b.labels) tally.left += state == LabelState::Programmed ? 0 : 1;
    tally.hours = static_cast<double>(benchMs() - b.startMs) / kMsPerHour;
    return tally;
}

bool anyPort(const Bench& b, bool (*test)(const BenchPort&)) {
    for (const BenchPort& port : b.ports)
        if (test(port)) return true;
    return false;
}

struct Screen {
    LiveTable table;      // out null: no table
    bool events = false;  // a line per event on standard output
    int32_t columns = 0;
};

// Under the lock: the table's rows now.
std::vector<std::string> tableRows(const Bench& b, int32_t columns) {
    std::vector<std::string> rows;
    for (const BenchPort& port : b.ports) {
        PortLine line = port.line;
        if (port.busySinceMs) line.seconds = static_cast<double>(benchMs() - port.busySinceMs) / 1000;
        rows.push_back(portRow(line, columns));
    }
    rows.push_back(tallyLine(tallyOf(b)));
    return rows;
}

void show(Screen& screen, const std::vector<std::string>& events, const std::vector<std::string>& rows) {
    if (screen.events) {
        for (const std::string& line : events) std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    }
    if (screen.table.out) drawLiveTable(screen.table, rows);
}

// Shows the bench until every port thread has ended. Printing happens
// outside the lock, so a slow terminal never holds up a port.
void showBench(Bench& b, Screen& screen) {
    std::unique_lock<std::mutex> hold(b.lock);
    for (;;) {
        const bool last = !anyPort(b, [](const BenchPort& p) { return p.running; });
        const bool busy = anyPort(b, [](const BenchPort& p) { return p.busySinceMs != 0; });
        std::vector<std::string> events, rows;
        events.swap(b.events);
        if (screen.table.out) rows = tableRows(b, screen.columns);
        const uint64_t seen = b.generation;
        hold.unlock();
        show(screen, events, rows);
        hold.lock();
        if (last) return;
        const auto changed = [&b, seen] { return b.generation != seen; };
        if (busy && screen.table.out)
            b.changed.wait_for(hold, kRedrawInterval, changed);
        else
            b.changed.wait(hold, changed);
    }
}

// The tally once more on standard output, unless the table's last row
// already shows it there.
int conclude(Bench& b, const Screen& screen) {
    std::lock_guard<std::mutex> hold(b.lock);
    if (screen.table.out != stdout) std::printf("%s\n", tallyLine(tallyOf(b)).c_str());
    std::fflush(stdout);
    if (!b.fatal.empty()) return failed(b.fatal);
    if (b.stopAsked) return kExitInterrupted;
    if (b.plan.once) return b.tally.failed > 0 ? kExitFailed : kExitOk;
    return listDone(b) ? kExitOk : kExitFailed;
}

}  // namespace

bool prepareBench(const std::vector<std::string>& args, Plan& plan, std::string& problem) {
    std::vector<std::string> files;
    std::string payload;
    if (!splitBenchArgs(args, files, plan, problem) || !readConfigFile(files[0], payload, plan.pairs, problem) ||
        !readUnitList(files[1], plan.units, problem) || !parsePortList(files[2], plan.ports, problem) ||
        !loadTable(plan.store, problem))
        return false;
    if (plan.receiptsPath.empty()) plan.receiptsPath = defaultReceiptsPath(files[1]);
    return openReceipts(plan.receiptsPath, plan.programmed, problem);
}

// The bench is shared with the stop thread, which may outlive this call.
int runBench(Plan& plan) {
    const auto bench = std::make_shared<Bench>(plan);
    Bench& b = *bench;
    std::string folder;
    if (!backupFolder(folder)) return failed("no folder for the backups can be made (set QUILL_BACKUPS)");
    for (const ListedUnit& unit : plan.units.units)
        b.labels.push_back(plan.programmed.count(unit.label) ? LabelState::Programmed : LabelState::Open);
    if (listDone(b)) {
        std::printf("every label of the list is programmed already (%s)\n", plan.receiptsPath.c_str());
        return kExitOk;
    }
    if (!watchStopRequests([bench] { askStop(*bench); })) return failed("cannot watch for Ctrl+C");
    Screen screen;
    screen.table.out = liveTerminal();
    screen.events = !screen.table.out || !outputIsTerminal();
    screen.columns = screen.table.out ? terminalColumns(screen.table.out) : 0;
    b.startMs = benchMs();
    std::vector<std::thread> threads;
    startPorts(b, threads);
    showBench(b, screen);
    for (std::thread& thread : threads) thread.join();
    return conclude(b, screen);
}
