// quillctl against simulated units, each alone in its own ports folder: the
// register commands, whole configurations and dumps, what is refused before
// anything is sent, and where a failure part-way is reported.
#include "link/frame.h"
#include "tests/file_text.h"
#include "tests/link/sim_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <sstream>
#include <thread>

namespace {

constexpr int32_t kRows = 50;  // the rows of a unit 1.05 in the built-in table

// The unit 1.05 of scripts/run, with its digit fields.
std::string unitA() { return fileText(QUILL_UNIT_STATE); }

// The same identity and choice counts, other values and other digits.
std::string unitB(int32_t identity = 105) {
    std::string state = "identity " + std::to_string(identity) + "\n";
    std::istringstream a(unitA());
    for (std::string line; std::getline(a, line);)
        if (line.rfind("count ", 0) == 0) state += line + "\n";
    for (int32_t n = 1; n <= kRows; ++n) state += "register " + std::to_string(n) + " 1\n";
    return state + "register 181 0x39\nregister 0 17\nregister 100 5\nregister 252 0x11\n";
}

class QuillctlTest : public ::testing::Test {
protected:
    // A unit alone in its own ports folder, so each run finds that one.
    SimProcess& unit(const std::string& state, const std::vector<std::string>& args = {}) {
        units.emplace_back("quill-ctl-unit");
        EXPECT_TRUE(units.back().start(3, args, state));
        return units.back().units[3];
    }

    // quillctl on a ports folder; its outputs stay in `output` and `errors`,
    // a failure (status 1) gives one line of reason.
    int runIn(const std::string& ports, std::vector<std::string> args) {
        args.insert(args.begin(), {QUILLCTL_PATH, "--ports", ports});
        const int status = runProgram(args, output, errors);
        EXPECT_TRUE(status != 1 || std::count(errors.begin(), errors.end(), '\n') == 1) << errors;
        return status;
    }
    // The state file lies beside the unit's port.
    int run(const SimProcess& sim, const std::vector<std::string>& args) {
        return runIn(sim.statePath.substr(0, sim.statePath.rfind('/')), args);
    }

    std::string path(const std::string& name) const { return files.path + "/" + name; }

    SimFolder files{"quill-ctl"};  // the test's files; a ports folder without units
    std::deque<SimFolder> units;   // a deque: the units stay where they are
    std::string output, errors;
};

std::string registersOf(const SimProcess& sim, int32_t first, int32_t last) {
    const SimUnit u = simState(sim);
    return std::string(u.registers + first, u.registers + last + 1);
}

TEST_F(QuillctlTest, RegisterCommandsAndWholeConfigurationsAndDumpsFromUnitToUnit) {
    const SimProcess& sim = unit("", {"--readback-differs", "9"});
    const struct { std::vector<std::string> args; int status; const char* output; } cases[] = {
        {{"scan"}, 0, "COM3 105 1.05\n"}, {{"set", "12", "7"}, 0, ""}, {{"get", "12", "253", "254"}, 0, "7\n105\n0\n"},
        {{"set", "9", "5"}, 1, ""},  // reads back 6
        {{"set-text", "181", "16", "0123"}, 0, ""}, {{"get-text", "181", "16"}, 0, "0123\n"},
        {{"set-bcd", "7"}, 0, ""}, {{"get-bcd"}, 0, "70\n"}, {{}, 2, ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(run(sim, c.args), c.status) << testing::PrintToString(c.args);
        EXPECT_EQ(output, c.output) << testing::PrintToString(c.args);
    }
    // No unit in the folder: a failure after the time-out.
    const int64_t began = nowMs();
    EXPECT_EQ(runIn(files.path, {"--timeout", "0.5", "scan"}), 1);
    EXPECT_LT(nowMs() - began, 5000);
    EXPECT_EQ(output, "");
    // A configuration read from one unit and written to another leaves both equal.
    SimProcess& a = unit(unitA());
    SimProcess& b = unit(unitB());
    const std::string fieldsOfB = registersOf(b, 181, 252);
    ASSERT_EQ(run(a, {"read-config", path("a.sqc")}), 0);
    EXPECT_EQ(run(b, {"diff", path("a.sqc")}), 3) << errors;
    const std::string rowsOfA = registersOf(a, 1, kRows);
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), kRows - std::count(rowsOfA.begin(), rowsOfA.end(), 1));
    EXPECT_EQ(output.rfind("1. Input 1 type\tunit: ", 0), 0u) << output;
    EXPECT_NE(output.find("\tfile: EOL\n2. "), std::string::npos) << output;
    ASSERT_EQ(run(b, {"write-config", path("a.sqc")}), 0);
    EXPECT_EQ(run(b, {"diff", path("a.sqc"), "--language", "Deutsch"}), 0);
    EXPECT_EQ(output, "");
    EXPECT_EQ(registersOf(b, 1, kRows), registersOf(a, 1, kRows));
    EXPECT_EQ(registersOf(b, 181, 252), fieldsOfB) << "a file carries no digit fields: they stay";
    for (const SimProcess* sim : {&a, &b})
        for (const LinkFrame& f : simRequests(*sim))
            EXPECT_FALSE(f.address >= 181 && f.address <= 252) << "a request for digit field register " << int(f.address);
    // A dump restores every register, and only to its identity unless forced.
    SimProcess& other = unit(unitB(106));
    ASSERT_EQ(run(a, {"dump", path("a.txt")}), 0);
    const std::string before = registersOf(other, 0, 255);
    EXPECT_EQ(run(other, {"restore", path("a.txt")}), 1);
    EXPECT_NE(errors.find("identity 105 (1.05), the unit is 106 (1.06)"), std::string::npos) << errors;
    EXPECT_EQ(registersOf(other, 0, 255), before);

    const struct { SimProcess* sim; std::vector<std::string> args; const char* identity; } restores[] = {
        {&b, {"restore", path("a.txt")}, "\x69"}, {&other, {"restore", path("a.txt"), "--force"}, "\x6A"}};
    for (const auto& c : restores) {
        EXPECT_EQ(run(*c.sim, c.args), 0) << errors;
        EXPECT_EQ(registersOf(*c.sim, 0, 252), registersOf(a, 0, 252)) << "digit fields and all";
        EXPECT_EQ(registersOf(*c.sim, 253, 254), std::string(c.identity) + '\0');
    }
}

// Where a failure part-way is reported; every kind of bad input gives a
// reason (or the usage) and exit 2, and sends not one request.
TEST_F(QuillctlTest, FailurePartWayNamesTheRegisterAndBadInputSendsNothing) {
    const struct { std::vector<std::string> fault; std::vector<std::string> args; const char* where; } cases[] = {
        {{"--refuse-address", "4"}, {"read-config", path("x.sqc")}, "read stopped at parameter 4 (register 4)"},
        {{"--readback-differs", "5"}, {"write-config", path("x.sqc")}, "write stopped at parameter 5 (register 5)"},
        {{"--refuse-address", "200"}, {"restore", path("a.txt")}, "restore stopped at register 200"},
        {{"--refuse-address", "181"}, {"dump", path("d.txt")}, "read stopped at register 181"},
        {{}, {"read-config", path("none/x.sqc")}, "none/x.sqc"}};
    SimProcess& a = unit(unitA());
    ASSERT_EQ(run(a, {"read-config", path("x.sqc")}), 0);
    ASSERT_EQ(run(a, {"dump", path("a.txt")}), 0);
    for (const auto& c : cases) {
        EXPECT_EQ(run(unit(unitB(), c.fault), c.args), 1) << c.where;
        EXPECT_NE(errors.find(c.where), std::string::npos) << errors;
    }
    EXPECT_FALSE(std::ifstream(path("d.txt")).good()) << "no dump from a failed read";
    std::string flipped = fileText(path("x.sqc"));
    flipped[30] ^= 1;
    writeText(path("flipped.sqc"), flipped);
    writeText(path("plain.sqc"), "BRONTIVASETUP1.0\nT1 -\n");
    writeText(path("empty.sqc"), "");
    // Which dumps are bad is quillctl_core_test's; here that one goes nowhere.
    std::string dump = fileText(path("a.txt"));
    const size_t at = dump.find("\n100 ") + 5;
    writeText(path("ten.txt"), dump.replace(at, dump.find('\n', at) - at, "9999999999"));
    const std::string good = path("x.sqc");
    const std::vector<std::string> refused[] = {
        {"write-config", path("flipped.sqc")}, {"write-config", path("plain.sqc")},
        {"write-config", path("empty.sqc")},   {"write-config", path("missing.sqc")},
        {"diff", good, "--language", "Klingon"}, {"diff", good, "--language"}, {"diff", good, good},
        {"restore", path("ten.txt")}, {"restore", good, "--force"}, {"restore", good, good},
        {"frobnicate"}, {"get"}, {"get", "256"}, {"set", "12", "300"}, {"scan", "--timeout", "-1"}, {"--timeout"},
        {"get-text", "250", "7"},  // runs past register 255
        {"set-text", "181", "16", "12a4"}, {"set-text", "181", "16", "1234567890123456"}, {"set-bcd", "5x"},
        {"set-bcd", "123"}};
    // A run that has just ended may have left its last idle poll on the line.
    for (size_t was = SIZE_MAX; was != simRequests(a).size();) {
        was = simRequests(a).size();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    for (const auto& args : refused) {
        const size_t requests = simRequests(a).size();
        EXPECT_EQ(run(a, args), 2) << args[0];
        EXPECT_EQ(errors.rfind("quillctl: ", 0), 0u) << errors;
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;  // one line of reason
        EXPECT_EQ(simRequests(a).size(), requests) << args[0];  // so nothing written either
    }
}

}  // namespace
