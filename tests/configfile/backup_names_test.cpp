// Backup names and which backups go: a name the program makes is always
// recognised and ordered by its time; nothing else in the folder is ever
// deleted, and the backup just written survives a clock set back.
#include "configfile/backup_names.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

const BackupMoment kMoment{2026, 12, 6, 14, 3, 22};

TEST(BackupNames, NameOfAMomentPortAndVersion) {
    const struct { BackupMoment moment; int32_t port; const char* version; const char* name; } cases[] = {
        {kMoment, 3, "1.05", "2026-12-06 14-03-22 COM3 1.05.sqc"},
        {{2027, 1, 2, 3, 4, 5}, 256, "12.34", "2027-01-02 03-04-05 COM256 12.34.sqc"},
        {kMoment, 0, "1.05", ""},
        {kMoment, 257, "1.05", ""},
        {{2026, 13, 6, 14, 3, 22}, 3, "1.05", ""},
        {{2026, 12, 6, 24, 3, 22}, 3, "1.05", ""},
        {kMoment, 3, "", ""},
        {kMoment, 3, "1.05\\..\\x", ""},  // a version never leads out of the folder
        {kMoment, 3, "1.", ""},
    };
    for (const auto& c : cases) {
        const std::string name = backupFileName(c.moment, c.port, c.version);
        EXPECT_EQ(name, c.name) << c.port << " " << c.version;
        EXPECT_TRUE(name.empty() || isBackupFileName(name)) << name;
    }
}

TEST(BackupNames, OnlyTheProgramsNamesAreBackups) {
    const char* const others[] = {
        "config.sqc", "2026-12-06 14-03-22 COM3 1.05.sqc.part", "2026-12-06 14-03-22 COM3 1.05.SQC",
        "2026-12-06 14-03-22 COM03 1.05.sqc", "2026-12-06 14-03-22 COM0 1.05.sqc", "2026-12-06 14-03-22 COM999 1.05.sqc",
        "2026-12-06 14:03:22 COM3 1.05.sqc", "2026-12-06 14-03-22 COM3 .sqc", "2026-12-06 14-03-22 COM3 1.05 mine.sqc",
        "2026-12-06 14-03-22.sqc", "",
    };
    for (const char* name : others) EXPECT_FALSE(isBackupFileName(name)) << name;
}

std::string nthBackup(int32_t day, int32_t second = 0, int32_t port = 3) {
    return backupFileName(BackupMoment{2026, 1 + day / 28, 1 + day % 28, 10, 0, second}, port, "1.05");
}

TEST(BackupNames, TheNewestFiftyStayAndNothingElseGoes) {
    std::vector<std::string> fifty;
    for (int32_t d = 0; d < 50; ++d) fifty.push_back(nthBackup(d));
    const std::string newest = nthBackup(60);
    const std::string setBack = nthBackup(0, 0, 1);  // a clock set back: older than all the others
    struct Case {
        const char* what;
        std::vector<std::string> names;
        std::string written;
        std::vector<std::string> deleted;
    };
    std::vector<Case> cases = {
        {"fifty", fifty, fifty.back(), {}},
        {"the 51st removes the oldest", fifty, newest, {nthBackup(0)}},
        {"a clock set back keeps the one just written", fifty, setBack, {nthBackup(0)}},
        {"the user's files stay", {"config.sqc", "notes.txt"}, newest, {}},
    };
    cases[1].names.push_back(newest);
    cases[2].names.push_back(setBack);
    for (int32_t d = 50; d < 55; ++d) cases[3].names.push_back(nthBackup(d));
    for (const auto& c : cases) EXPECT_EQ(backupsToDelete(c.names, c.written), c.deleted) << c.what;

    // Shuffled listings (FindNextFile gives no order), with more than one over.
    std::vector<std::string> many = fifty;
    for (int32_t d = 50; d < 53; ++d) many.insert(many.begin(), nthBackup(d));
    EXPECT_EQ(backupsToDelete(many, nthBackup(52)), (std::vector<std::string>{nthBackup(0), nthBackup(1), nthBackup(2)}));
}

}  // namespace
