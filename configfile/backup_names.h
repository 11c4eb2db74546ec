// Backups of every configuration read from a unit: one configuration file
// per read in the backup folder, named by when it was read, from which port
// and which firmware, the newest ones kept. A write that did not go through
// leaves the rows it was sending there too, marked unsent, counted with the
// backups. Pure: the names and which of them to delete; the program does
// the file work.
//
//   2026-12-06 14-03-22 COM3 1.05.sqc
//   2026-12-06 14-05-10 COM3 1.05 unsent.sqc
//   date       time     port version
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Backups kept in the folder; older ones are deleted after a new one.
constexpr size_t kBackupsKept = 50;

// A moment of local time, as the calendar shows it.
struct BackupMoment {
    int32_t year = 0;
    int32_t month = 0;  // 1..12
    int32_t day = 0;
    int32_t hour = 0;
    int32_t minute = 0;
    int32_t second = 0;
};

enum class BackupKind {
    Read,    // a configuration read completely
    Unsent,  // the rows of a write that stopped or was refused
};

// "YYYY-MM-DD HH-MM-SS COMn V.sqc" with `version` as the unit shows it
// ("1.05"), " unsent" before ".sqc" for an unsent one. Empty when a field
// of `moment` is out of range, the port is not 1..256 or the version holds
// anything but digits and dots: such a name could not be told apart from
// the user's own files.
std::string backupFileName(const BackupMoment& moment, int32_t port, const std::string& version,
                           BackupKind kind = BackupKind::Read);

// Whether `name` (without a folder) is one that backupFileName makes. Only
// such files are ever deleted; anything else in the folder is the user's.
bool isBackupFileName(const std::string& name);

// Of the names in a folder, the backups to delete so that the newest
// `kept` remain, oldest first. Age is the time in the name (equal times by
// the rest of the name); `justWritten` is never among them, whatever its
// time says (a clock set back must not delete the backup just made).
std::vector<std::string> backupsToDelete(const std::vector<std::string>& names, const std::string& justWritten,
                                         size_t kept = kBackupsKept);
