#include "configfile/backup_files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kFolderVariable = "QUILL_BACKUPS";
// Below the home folder, where the data of desktop programs lives.
constexpr const char* kBelowHome = "/.local/share/Valdrix/BrontivaSetup/Backups";
constexpr mode_t kFolderMode = 0755;

// Every level of `path` made where missing, as mkdir -p does.
bool makeFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string level = path.substr(0, slash);
        if (mkdir(level.c_str(), kFolderMode) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) break;
    }
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool backupFolder(std::string& folder) {
    const char* chosen = std::getenv(kFolderVariable);
    const char* home = std::getenv("HOME");
    if (chosen && *chosen)
        folder = chosen;
    else if (home && *home)
        folder = std::string(home) + kBelowHome;
    else
        return false;
    return makeFolders(folder);
}

std::vector<std::string> backupCandidates(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return names;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".sqc") == 0) names.push_back(name);
    }
    closedir(dir);
    return names;
}

std::string backupPath(const std::string& folder, const std::string& name) {
    return folder + "/" + name;
}

void removeBackup(const std::string& path) {
    unlink(path.c_str());
}

BackupMoment localMoment() {
    const std::time_t now = std::time(nullptr);
    std::tm local = {};
    localtime_r(&now, &local);
    return BackupMoment{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}
