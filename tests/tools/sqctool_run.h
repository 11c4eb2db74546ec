// sqctool's commands run in-process, their standard output captured and
// their standard error dropped, and the test files beside each other in the
// test's temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct CommandResult {
    int code;
    std::string out;
};

template <class Command>
CommandResult runCaptured(Command command, const std::vector<std::string>& args) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int code = command(args);
    testing::internal::GetCapturedStderr();
    return {code, testing::internal::GetCapturedStdout()};
}

inline std::string tempPath(const std::string& name) { return testing::TempDir() + "sqctool_test_" + name; }
