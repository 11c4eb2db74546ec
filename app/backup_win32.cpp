#include "app/backup_win32.h"

#include "configfile/config_file.h"

#include <windows.h>

#include <vector>

namespace {

inline constexpr const char* kAppDataVariable = "APPDATA";
// Below %APPDATA%, one folder at a time (CreateDirectoryA makes one level).
inline constexpr const char* kBackupFolders[] = {"Valdrix", "BrontivaSetup", "Backups"};

// The backup folder, created where missing; false when there is no
// %APPDATA% or a level cannot be made.
bool backupFolder(std::string& folder) {
    char appData[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA(kAppDataVariable, appData, sizeof appData);
    if (length == 0 || length >= sizeof appData) return false;
    folder = appData;
    for (const char* level : kBackupFolders) {
        folder += std::string("\\") + level;
        if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
    return true;
}

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found = {};
    HANDLE search = FindFirstFileA((folder + "\\*.sqc").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

}  // namespace

BackupMoment localMoment() {
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    return BackupMoment{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

void backUpConfiguration(const std::vector<FormRow>& rows, const BackupMoment& moment, int32_t port,
                         const std::string& version, BackupKind kind) {
    std::string folder, error;
    const std::string name = backupFileName(moment, port, version, kind);
    if (name.empty() || !backupFolder(folder)) return;
    if (writeConfigFile(folder + "\\" + name, rows, error) != ReplaceResult::replaced) return;
    for (const std::string& old : backupsToDelete(filesIn(folder), name)) DeleteFileA((folder + "\\" + old).c_str());
}
