#include "configfile/backup_files.h"

#include <windows.h>

namespace {

inline constexpr const char* kAppDataVariable = "APPDATA";
// Below %APPDATA%, one folder at a time (CreateDirectoryA makes one level).
inline constexpr const char* kBackupFolders[] = {"Valdrix", "BrontivaSetup", "Backups"};

}  // namespace

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

std::vector<std::string> backupCandidates(const std::string& folder) {
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

std::string backupPath(const std::string& folder, const std::string& name) {
    return folder + "\\" + name;
}

void removeBackup(const std::string& path) {
    DeleteFileA(path.c_str());
}

BackupMoment localMoment() {
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    return BackupMoment{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}
