// Replacing a file safely with the platform's code (natively POSIX's, under
// Wine Win32's): the old content survives every failure, no temporary file
// stays, a crash's leftover is never taken over. The full disk is the
// end-to-end test's, links and devices sqctool's (sqctool_cli_test.sh).
#include "configfile/safe_file.h"
#include "tests/file_text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace {

class SafeFile : public ::testing::Test {
protected:
    void SetUp() override { empty(); }
    void TearDown() override { fs::remove_all(dir); }
    void empty() { fs::remove_all(dir); fs::create_directories(dir); }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    size_t entries() const { return static_cast<size_t>(std::distance(fs::directory_iterator(dir), {})); }

    const fs::path dir = fs::temp_directory_path() /
                         ("quill-safe-file-" + std::to_string(testing::UnitTest::GetInstance()->random_seed()));
};

TEST_F(SafeFile, ReplacesOrCreatesLeavingNothingBesideFailuresKeepTheOldContentReadsStopAtTheLimit) {
    const struct { const char* name; bool existing, stalePart; } cases[] = {
        {"new file", false, false}, {"existing file", true, false}, {"a leftover .part stays untouched", true, true}};
    const std::string target = path("config.sqc"), bytes("new\0\r\n\x1a bytes", 14);
    for (const auto& c : cases) {
        empty();
        if (c.existing) writeText(target, "old content");
        if (c.stalePart) writeText(temporaryName(target, 0), "left by a crash");
        std::string error;
        EXPECT_EQ(replaceFileSafely(target, bytes, error), ReplaceResult::replaced) << c.name << error;
        EXPECT_EQ(fileText(target), bytes) << c.name;
        EXPECT_EQ(entries(), c.stalePart ? 2u : 1u) << c.name;
        EXPECT_EQ(fileText(temporaryName(target, 0)), c.stalePart ? "left by a crash" : "") << c.name;
    }
    std::string error;
#ifndef _WIN32
    // The mode is kept, and a narrow umask must not narrow it.
    ::chmod(target.c_str(), 0640);
    const mode_t umaskBefore = ::umask(077);
    EXPECT_EQ(replaceFileSafely(target, "new", error), ReplaceResult::replaced) << error;
    ::umask(umaskBefore);
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
#endif
    empty();
    EXPECT_EQ(replaceFileSafely(path("no-such-folder/config.sqc"), "x", error), ReplaceResult::cannotCreate);
    EXPECT_NE(error.find("no-such-folder"), std::string::npos) << error;
    EXPECT_EQ(entries(), 0u);

    // The replace itself fails: the target is a folder.
    fs::create_directories(path("folder"));
    writeText(path("folder/inside"), "kept");
    EXPECT_EQ(replaceFileSafely(path("folder"), "x", error), ReplaceResult::writeFailed);
    EXPECT_EQ(fileText(path("folder/inside")), "kept");
    EXPECT_EQ(entries(), 1u) << "the temporary file is removed";
#ifdef _WIN32
    // Another program holds the target open without letting it be replaced.
    const std::string held = path("held.sqc");
    writeText(held, "old content");
    HANDLE h = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(replaceFileSafely(held, "new", error), ReplaceResult::writeFailed);
    CloseHandle(h);
    EXPECT_EQ(fileText(held), "old content");
    EXPECT_EQ(entries(), 2u) << "the temporary file is removed";
#endif
    writeText(path("six"), "123456");
    const struct { const char* name; std::string file; size_t limit; bool good; } reads[] = {
        {"within", "six", 6, true}, {"one over", "six", 5, false}, {"missing", "none", 99, false}};
    for (const auto& c : reads) {
        std::string bytes = "stale", error;
        EXPECT_EQ(readFileBytes(path(c.file), c.limit, bytes, error), c.good) << c.name;
        EXPECT_EQ(bytes, c.good ? "123456" : "") << c.name;
        EXPECT_EQ(error.empty(), c.good) << c.name;
    }
}

}  // namespace
