#include "configfile/backup_files.h"

#include "configfile/config_file.h"

#include <mutex>

namespace {

// The bench saves from one thread per port; the window from its own.
std::mutex& saveLock() {
    static std::mutex lock;
    return lock;
}

}  // namespace

bool backUpConfiguration(const std::vector<FormRow>& rows, const BackupMoment& moment, int32_t port,
                         const std::string& version, BackupKind kind, std::string* savedName) {
    const std::string name = backupFileName(moment, port, version, kind);
    std::string folder, error;
    const std::lock_guard<std::mutex> hold(saveLock());
    if (name.empty() || !backupFolder(folder)) return false;
    if (writeConfigFile(backupPath(folder, name), rows, error) != ReplaceResult::replaced) return false;
    for (const std::string& old : backupsToDelete(backupCandidates(folder), name)) removeBackup(backupPath(folder, old));
    if (savedName) *savedName = name;
    return true;
}
