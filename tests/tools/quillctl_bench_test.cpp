// quillctl bench against simulated units on several ports of one folder:
// a unit that fails part-way and its label done on the next unit, a bench
// killed and started again, Ctrl+C, a unit unplugged during its write. The
// units are swapped as an installer would: the old one stopped, a fresh one
// started on the same port.
#include "configfile/config_file.h"
#include "link/frame.h"
#include "tests/file_text.h"
#include "tests/link/sim_process.h"
#include "tools/quillctl/csv_records.h"
#include "tools/quillctl/receipts.h"
#include "tools/quill-sim/sim_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <map>
#include <thread>

#include <sys/wait.h>

namespace {

constexpr int32_t kRows = 50;
constexpr int64_t kWaitMs = 20000;
constexpr size_t kResult = 7, kStopped = 8, kPort = 1;
constexpr uint8_t kRefusedRow = 5;
// Slow units: about 3 s for a whole read, write and check.
const std::vector<std::string> kSlow = {"--latency", "3"};

std::string labelOf(int n) { return "Unit " + std::to_string(n); }
std::string phoneOf(int n) { return "0610000" + std::to_string(n); }

bool waitUntil(const std::function<bool()>& done) {
    for (const int64_t end = nowMs() + kWaitMs; nowMs() < end;) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return done();
}

class BenchTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("QUILL_BACKUPS", (folder.path + "/backups").c_str(), 1);
        std::vector<FormRow> rows;
        for (int32_t n = 1; n <= kRows; ++n) rows.push_back(FormRow{n, true, 1});
        std::string error;
        ASSERT_EQ(writeConfigFile(path("t.sqc"), rows, error), ReplaceResult::replaced) << error;
    }
    void TearDown() override {
        if (pid <= 0) return;
        kill(pid, SIGKILL);
        finish();
    }

    std::string path(const std::string& name) const { return folder.path + "/" + name; }

    void writeList(int labels) {
        std::string text = "label,T1,H,K\n";
        for (int n = 1; n <= labels; ++n) text += labelOf(n) + "," + phoneOf(n) + ",12345" + std::to_string(n) + ",\n";
        writeText(path("units.csv"), text);
    }
    // A fresh unit on `port`, in place of the one there.
    SimProcess& plug(int32_t port, const std::vector<std::string>& args = {}) {
        stopSim(folder.units[port]);
        EXPECT_TRUE(folder.start(port, args, fileText(QUILL_UNIT_STATE)));
        return folder.units[port];
    }
    void start(const std::string& ports) {
        ASSERT_TRUE(startProgram({QUILLCTL_PATH, "--ports", folder.path, "bench", path("t.sqc"), path("units.csv"), ports},
                                 path("out.txt"), pid));
    }
    // The bench's exit status; -1 when a signal ended it.
    int finish() {
        int status = 0;
        waitpid(pid, &status, 0);
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // The exit status once it ends by itself (killed after kWaitMs).
    int finishWithin() {
        if (!waitUntil([this] { return exited(); })) kill(pid, SIGKILL);
        return finish();
    }
    bool exited() {
        siginfo_t info = {};
        return waitid(P_PID, pid, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid;
    }

    // The receipts below the header (whole records only).
    std::vector<CsvRecord> receipts() const {
        std::vector<CsvRecord> records;
        std::string problem;
        const std::string text = fileText(path("units-receipts.csv"));
        readCsvRecords(text.substr(0, text.rfind('\n') + 1), records, problem);
        if (!records.empty()) records.erase(records.begin());
        return records;
    }
    size_t count(const std::string& result) const {
        const auto r = receipts();
        return std::count_if(r.begin(), r.end(), [&](const CsvRecord& c) { return c.fields[kResult] == result; });
    }
    bool receiptsReach(size_t n) { return waitUntil([&] { return receipts().size() >= n; }); }
    // Every label has exactly one `programmed` line.
    void expectEachProgrammedOnce(int labels) const {
        std::map<std::string, int> programmed;
        for (const CsvRecord& r : receipts())
            if (r.fields[kResult] == "programmed") ++programmed[r.fields[0]];
        for (int n = 1; n <= labels; ++n) EXPECT_EQ(programmed[labelOf(n)], 1) << labelOf(n);
        EXPECT_EQ(programmed.size(), static_cast<size_t>(labels));
    }
    std::string output() const { return fileText(path("out.txt")); }

    SimFolder folder{"quill-bench"};
    pid_t pid = -1;
};

constexpr int32_t kT1Register = 181;

std::string phoneIn(const SimUnit& unit) {
    return std::string(reinterpret_cast<const char*>(unit.registers + kT1Register));
}
// The unit's T1 as its registers hold it.
std::string phoneIn(const SimProcess& sim) { return phoneIn(simState(sim)); }

std::string factoryPhone() {
    SimUnit unit;
    std::vector<std::string> problems;
    parseSimState(fileText(QUILL_UNIT_STATE), unit, problems);
    return phoneIn(unit);
}

int32_t writes(const SimProcess& sim) {
    const auto frames = simRequests(sim);
    return static_cast<int32_t>(std::count_if(frames.begin(), frames.end(), [](const LinkFrame& f) { return f.op == kOpWrite; }));
}

// Each write is followed by the read of the same register: none was left
// written but unconfirmed.
void expectEveryWriteReadBack(const SimProcess& sim) {
    const auto frames = simRequests(sim);
    for (size_t i = 0; i < frames.size(); ++i)
        if (frames[i].op == kOpWrite) {
            ASSERT_LT(i + 1, frames.size()) << "the last request was a write";
            EXPECT_TRUE(frames[i + 1].op == kOpRead && frames[i + 1].address == frames[i].address) << i;
        }
}

TEST_F(BenchTest, AUnitThatRefusesFailsAtThatRegisterAndItsLabelGoesToTheNextUnit) {
    writeList(6);
    plug(3), plug(4, {"--refuse-write", std::to_string(kRefusedRow)}), plug(5);
    start("3-5");
    std::multiset<std::string> phones;
    for (const size_t round : {3u, 6u}) {
        ASSERT_TRUE(receiptsReach(round)) << output();
        for (int32_t port : {3, 4, 5}) {
            phones.insert(phoneIn(folder.units[port]));
            plug(port);
        }
    }
    EXPECT_EQ(finishWithin(), 0) << output();
    for (int32_t port : {3, 4, 5}) phones.insert(phoneIn(folder.units[port]));
    const auto lines = receipts();
    ASSERT_EQ(lines.size(), 7u) << output();
    ASSERT_EQ(count("failed"), 1u) << output();
    const auto failedAt = std::find_if(lines.begin(), lines.end(), [](const CsvRecord& r) { return r.fields[kResult] == "failed"; });
    EXPECT_LT(failedAt - lines.begin(), 3) << "in the first round";
    EXPECT_EQ(failedAt->fields[kPort], "COM4");
    EXPECT_EQ(failedAt->fields[kStopped], std::to_string(kRefusedRow));
    const std::string again = failedAt->fields[0];
    const auto doneAt = std::find_if(lines.begin(), lines.end(), [&](const CsvRecord& r) { return r.fields[0] == again && r.fields[kResult] == "programmed"; });
    EXPECT_TRUE(doneAt - lines.begin() >= 3 && doneAt - lines.begin() < 6) << "on one of the next units";
    expectEachProgrammedOnce(6);
    // Each label's phone is in one unit, the failed label's also in the unit
    // that failed (the fields go before the rows); the rest are untouched.
    phones.erase(factoryPhone());
    std::multiset<std::string> expected = {phoneOf(std::stoi(again.substr(5)))};
    for (int n = 1; n <= 6; ++n) expected.insert(phoneOf(n));
    EXPECT_EQ(phones, expected);
}

TEST_F(BenchTest, AKilledBenchGoesOnWithoutProgrammingAnythingTwice) {
    writeList(3);
    SimProcess& fast = plug(3);
    SimProcess& slow = plug(4, kSlow);
    start("3,4");
    ASSERT_TRUE(waitUntil([&] { return receipts().size() == 1 && writes(slow) > 0; })) << output();
    kill(pid, SIGKILL);
    finish();
    ASSERT_EQ(receipts().size(), 1u);
    const std::string first = receipts()[0].fields[0];
    const std::string text = fileText(path("units-receipts.csv"));
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << "whole lines only";
    writeText(path("units-receipts.csv"), text + "Unit 3,COM4,105,1.");  // as torn by a power cut
    const int32_t writesBefore = writes(fast);
    start("3,4");
    ASSERT_TRUE(receiptsReach(2)) << output();
    EXPECT_EQ(writes(fast), writesBefore) << "the unit that holds " << first << " is left alone";
    EXPECT_EQ(phoneIn(fast), phoneOf(std::stoi(first.substr(5))));
    plug(3);
    EXPECT_EQ(finishWithin(), 0) << output();
    EXPECT_EQ(receipts().size(), 3u) << output();
    expectEachProgrammedOnce(3);
    std::set<std::string> programmed;
    size_t whole = 0;
    std::string problem;
    EXPECT_TRUE(readReceipts(fileText(path("units-receipts.csv")), programmed, whole, problem)) << problem;
}

// Ctrl+C and a unit that goes in the middle of its write: no register is
// left written but unconfirmed, and each receipt says where it stopped.
TEST_F(BenchTest, CtrlCStopsEachPortAfterAStep) {
    writeList(3);
    const SimProcess& a = plug(3, kSlow);
    const SimProcess& b = plug(4, kSlow);
    start("3,4");
    ASSERT_TRUE(waitUntil([&] { return writes(a) > 0 && writes(b) > 0; })) << output();
    kill(pid, SIGINT);
    EXPECT_EQ(finishWithin(), 130) << output();
    ASSERT_EQ(receipts().size(), 2u) << output();
    for (const CsvRecord& r : receipts()) {
        EXPECT_EQ(r.fields[kResult], "interrupted");
        EXPECT_FALSE(r.fields[kStopped].empty());
    }
    expectEveryWriteReadBack(a);
    expectEveryWriteReadBack(b);
}

TEST_F(BenchTest, AUnitUnpluggedDuringItsWriteFailsAndIsDoneWhenItComesBack) {
    writeList(1);
    std::vector<std::string> args = kSlow;
    args.insert(args.end(), {"--away", "0"});
    SimProcess& unit = plug(3, args);
    start("3");
    ASSERT_TRUE(waitUntil([&] { return writes(unit) > 0; })) << output();
    signalSim(unit, SIGUSR2);
    ASSERT_TRUE(receiptsReach(1)) << output();
    signalSim(unit, SIGUSR2);
    ASSERT_TRUE(awaitAnnouncement(unit, 5000));
    EXPECT_EQ(finishWithin(), 0) << output();
    const auto lines = receipts();
    ASSERT_EQ(lines.size(), 2u) << output();
    EXPECT_EQ(lines[0].fields[kResult], "failed");
    EXPECT_FALSE(lines[0].fields[kStopped].empty());
    EXPECT_EQ(lines[1].fields[kResult], "programmed");
    EXPECT_EQ(phoneIn(unit), phoneOf(1));
}

}  // namespace
