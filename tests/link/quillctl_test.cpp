// quillctl end to end: each run starts its own link worker, finds the
// simulated unit in the ports folder and goes through submitRequest.
#include "tests/link/sim_process.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class QuillctlTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = makeTempFolder("quill-ctl");
        ASSERT_TRUE(startSim(folder, 3, {"--readback-differs", "9"}, "", sim));
    }
    void TearDown() override {
        stopSim(sim);
        removeFolder(folder);
    }

    int run(std::vector<std::string> args, std::string& output, const std::string& ports = "") {
        args.insert(args.begin(), {QUILLCTL_PATH, "--ports", ports.empty() ? folder : ports});
        std::string errors;
        const int status = runProgram(args, output, errors);
        if (status == 1) {
            EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
        }
        return status;
    }

    std::string folder;
    SimProcess sim;
};

TEST_F(QuillctlTest, CommandsOutputsAndExitStatus) {
    const struct { std::vector<std::string> args; int status; const char* output; } cases[] = {
        {{"scan"}, 0, "COM3 105 1.05\n"},
        {{"set", "12", "7"}, 0, ""},
        {{"get", "12", "253", "254"}, 0, "7\n105\n0\n"},
        {{"set", "9", "5"}, 1, ""},  // reads back 6
        {{"set-text", "181", "16", "0123"}, 0, ""},
        {{"get-text", "181", "16"}, 0, "0123\n"},
        {{"set-bcd", "7"}, 0, ""},
        {{"get-bcd"}, 0, "70\n"},
        {{}, 2, ""},
        {{"frobnicate"}, 2, ""},
        {{"get"}, 2, ""},
        {{"get", "256"}, 2, ""},
        {{"set", "12", "300"}, 2, ""},
        {{"get-text", "250", "7"}, 2, ""},  // runs past register 255
        {{"scan", "--timeout", "-1"}, 2, ""},
    };
    for (const auto& c : cases) {
        std::string output;
        std::string line;
        for (const auto& a : c.args) line += a + " ";
        EXPECT_EQ(run(c.args, output), c.status) << line;
        EXPECT_EQ(output, c.output) << line;
    }
}

TEST_F(QuillctlTest, NoUnitInTheFolderFailsAfterTheTimeout) {
    std::string output;
    const int64_t began = nowMs();
    const std::string empty = makeTempFolder("quill-empty");
    EXPECT_EQ(run({"--timeout", "0.5", "scan"}, output, empty), 1);
    removeFolder(empty);
    EXPECT_LT(nowMs() - began, 5000);
    EXPECT_EQ(output, "");
}

}  // namespace
