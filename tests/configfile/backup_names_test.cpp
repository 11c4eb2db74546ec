// Backup names and which backups go: nothing but the program's own names is
// ever deleted, and the backup just written survives a clock set back.
#include "configfile/backup_names.h"

#include <gtest/gtest.h>

namespace {

std::string nthBackup(int32_t day, int32_t port = 3) {
    return backupFileName(BackupMoment{2026, 1 + day / 28, 1 + day % 28, 10, 0, 0}, port, "1.05");
}

TEST(BackupNames, OnlyTheProgramsNamesAreBackupsAndTheNewestFiftyStay) {
    EXPECT_EQ(backupFileName({2026, 12, 6, 14, 3, 22}, 256, "12.34"), "2026-12-06 14-03-22 COM256 12.34.sqc");
    const std::string unsent = backupFileName({2026, 12, 6, 14, 3, 22}, 3, "1.05", BackupKind::Unsent);
    EXPECT_EQ(unsent, "2026-12-06 14-03-22 COM3 1.05 unsent.sqc");
    EXPECT_TRUE(isBackupFileName(unsent));
    for (int32_t port : {1, 99, 100, 256})
        EXPECT_TRUE(isBackupFileName(backupFileName({2026, 12, 6, 14, 3, 22}, port, "1.05"))) << port;
    const struct { BackupMoment moment; int32_t port; const char* version; } unnamed[] = {
        {{2026, 13, 6, 14, 3, 22}, 3, "1.05"}, {{2026, 12, 6, 24, 3, 22}, 3, "1.05"},
        {{2026, 12, 6, 14, 3, 22}, 257, "1.05"}, {{2026, 12, 6, 14, 3, 22}, 3, "1.05\\..\\x"}};
    for (const auto& c : unnamed) EXPECT_EQ(backupFileName(c.moment, c.port, c.version), "") << c.version;
    const char* const others[] = {
        "config.sqc", "2026-12-06 14-03-22 COM3 1.05.sqc.part", "2026-12-06 14-03-22 COM03 1.05.sqc",
        "2026-12-06 14:03:22 COM3 1.05.sqc", "2026-12-06 14-03-22 COM3 .sqc", "2026-12-06 14-03-22 COM3 1.05 mine.sqc",
        "2026-12-06 14-03-22 COM3 unsent.sqc", "2026-12-06 14-03-22 COM3 1.05 unsent unsent.sqc"};
    for (const char* name : others) EXPECT_FALSE(isBackupFileName(name)) << name;
    std::vector<std::string> fifty;
    for (int32_t d = 0; d < 50; ++d) fifty.push_back(nthBackup(d));
    const std::string setBack = nthBackup(0, 1);  // a clock set back: older than all the others
    const struct { const char* what; std::vector<std::string> more; std::string written; std::vector<std::string> deleted; }
        cases[] = {
            {"fifty", {}, fifty.back(), {}},
            {"the 51st removes the oldest", {nthBackup(60), "mine.sqc"}, nthBackup(60), {nthBackup(0)}},
            {"a clock set back keeps the one just written", {setBack}, setBack, {nthBackup(0)}},
            {"listed in any order", {nthBackup(52), nthBackup(51)}, nthBackup(52), {nthBackup(0), nthBackup(1)}},
            {"unsent files count", {fifty[0].substr(0, 29) + " unsent.sqc", nthBackup(60)}, nthBackup(60),
             {fifty[0].substr(0, 29) + " unsent.sqc", nthBackup(0)}}};
    for (const auto& c : cases) {
        std::vector<std::string> names = c.more;
        names.insert(names.end(), fifty.begin(), fifty.end());
        EXPECT_EQ(backupsToDelete(names, c.written), c.deleted) << c.what;
    }
}

}  // namespace
