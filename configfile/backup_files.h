// Backups on disk: where they go, saving one and keeping the newest. The
// program saves one after every complete read and the rows of a write that
// did not go through; the production bench one for every unit it reads
// before writing to it. Both come here, so the folder, the names and the
// pruning are the same for both.
//
// The folder: %APPDATA%\Valdrix\BrontivaSetup\Backups on Windows; elsewhere
// $QUILL_BACKUPS, else ~/.local/share/Valdrix/BrontivaSetup/Backups.
#pragma once

#include "configfile/backup_names.h"
#include "params/form_values.h"

#include <cstdint>
#include <string>
#include <vector>

// Saves the rows' selections in the backup folder as backupFileName names
// them, then deletes the oldest backups beyond kBackupsKept (never the one
// just saved, and nothing that is not a backup's name). False when no name
// can be made, the folder cannot be made or the file cannot be written;
// `savedName` (when given) gets the file's name without the folder on
// success. Any thread: saves within one process follow one another, so one
// save's pruning never meets another's file half-made.
bool backUpConfiguration(const std::vector<FormRow>& rows, const BackupMoment& moment, int32_t port,
                         const std::string& version, BackupKind kind = BackupKind::Read,
                         std::string* savedName = nullptr);

// The local time now, to the second.
BackupMoment localMoment();

// Platform parts (backup_files_win32.cpp, backup_files_posix.cpp).
// The backup folder, created where missing; false when there is none.
bool backupFolder(std::string& folder);
// The names of the files in `folder` that end in ".sqc".
std::vector<std::string> backupCandidates(const std::string& folder);
// `folder` and `name` joined with the platform's separator.
std::string backupPath(const std::string& folder, const std::string& name);
// Deletes one file; a failure leaves it (the next save tries again).
void removeBackup(const std::string& path);
