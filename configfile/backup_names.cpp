#include "configfile/backup_names.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kExtension = ".sqc";
constexpr const char* kUnsentMark = " unsent";
constexpr int32_t kLastPort = 256;
// "YYYY-MM-DD HH-MM-SS": the part of a name that says its age.
constexpr size_t kMomentLength = 19;

bool inRange(int32_t v, int32_t low, int32_t high) { return v >= low && v <= high; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool endsWith(const std::string& text, const char* end) {
    const size_t n = std::strlen(end);
    return text.size() >= n && text.compare(text.size() - n, n, end) == 0;
}

bool momentValid(const BackupMoment& m) {
    return inRange(m.year, 0, 9999) && inRange(m.month, 1, 12) && inRange(m.day, 1, 31) && inRange(m.hour, 0, 23) &&
           inRange(m.minute, 0, 59) && inRange(m.second, 0, 60);
}

// Digits separated by single dots, starting and ending with a digit.
bool versionValid(const std::string& v) {
    if (v.empty() || !isDigit(v.front()) || !isDigit(v.back())) return false;
    for (size_t i = 0; i < v.size(); ++i)
        if (!isDigit(v[i]) && !(v[i] == '.' && isDigit(v[i + 1]))) return false;
    return true;
}

// "DDDD-DD-DD DD-DD-DD": the shape of the moment, digit for digit.
bool momentShape(const std::string& name) {
    const char* shape = "####-##-## ##-##-##";
    if (name.size() < kMomentLength) return false;
    for (size_t i = 0; i < kMomentLength; ++i)
        if (shape[i] == '#' ? !isDigit(name[i]) : name[i] != shape[i]) return false;
    return true;
}

// " COMn " after the moment, n without leading zeros in 1..256; returns
// where the version starts, or 0.
size_t afterPort(const std::string& name) {
    const std::string prefix = " COM";
    if (name.compare(kMomentLength, prefix.size(), prefix) != 0) return 0;
    size_t i = kMomentLength + prefix.size();
    const size_t start = i;
    while (i < name.size() && isDigit(name[i])) ++i;
    if (i == start || i - start > 3 || name[start] == '0' || i >= name.size() || name[i] != ' ') return 0;
    return std::stoi(name.substr(start, i - start)) <= kLastPort ? i + 1 : 0;
}

}  // namespace

std::string backupFileName(const BackupMoment& m, int32_t port, const std::string& version, BackupKind kind) {
    if (!momentValid(m) || !inRange(port, 1, kLastPort) || !versionValid(version)) return std::string();
    char moment[40];
    std::snprintf(moment, sizeof moment, "%04d-%02d-%02d %02d-%02d-%02d", m.year, m.month, m.day, m.hour, m.minute,
                  m.second);
    const char* mark = kind == BackupKind::Unsent ? kUnsentMark : "";
    return std::string(moment) + " COM" + std::to_string(port) + " " + version + mark + kExtension;
}

bool isBackupFileName(const std::string& name) {
    if (!momentShape(name) || !endsWith(name, kExtension)) return false;
    std::string rest = name.substr(0, name.size() - std::strlen(kExtension));
    if (endsWith(rest, kUnsentMark)) rest.resize(rest.size() - std::strlen(kUnsentMark));
    const size_t version = afterPort(rest);
    return version && version < rest.size() && versionValid(rest.substr(version));
}

std::vector<std::string> backupsToDelete(const std::vector<std::string>& names, const std::string& justWritten,
                                         size_t kept) {
    std::vector<std::string> backups;
    for (const std::string& name : names)
        if (isBackupFileName(name)) backups.push_back(name);
    // The moment leads the name in fixed width, so text order is age order.
    std::sort(backups.begin(), backups.end());
    backups.erase(std::unique(backups.begin(), backups.end()), backups.end());
    const auto written = std::find(backups.begin(), backups.end(), justWritten);
    if (written != backups.end()) {
        backups.erase(written);
        kept = kept ? kept - 1 : 0;
    }
    if (backups.size() <= kept) return {};
    backups.resize(backups.size() - kept);
    return backups;
}
