#include "configfile/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::string describeErrno(const std::string& path) { return path + ": " + std::strerror(errno); }

bool writeAll(int fd, const std::string& bytes) {
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// A device or a pipe is written where it is, truncating nothing it cannot.
ReplaceResult writeInPlace(const std::string& path, const std::string& bytes, std::string& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        error = describeErrno(path);
        return ReplaceResult::cannotCreate;
    }
    const bool written = writeAll(fd, bytes);
    if (!written) error = describeErrno(path);
    if (::close(fd) != 0 && written) {
        error = describeErrno(path);
        return ReplaceResult::writeFailed;
    }
    return written ? ReplaceResult::replaced : ReplaceResult::writeFailed;
}

// The file that new content replaces: `path` itself, or for a symbolic link
// the file it names, so the link stays a link (renaming over the link would
// turn it into a plain file and leave its target unchanged).
std::string replacedFile(const std::string& path) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
    const fs::path resolved = fs::weakly_canonical(path, ec);
    return ec ? path : resolved.string();
}

// Creates a temporary file of our own beside `target`, with the target's
// permissions when it exists (a replace must not widen or narrow them).
int createTemporary(const std::string& target, std::string& temp, std::string& error) {
    struct stat old = {};
    const mode_t mode = ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0666;
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        temp = temporaryName(target, attempt);
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            if (old.st_mode) ::fchmod(fd, mode);  // the umask applied at creation
            return fd;
        }
        if (errno != EEXIST) break;
    }
    error = describeErrno(temp);
    return -1;
}

}  // namespace

ReplaceResult replaceFileSafely(const std::string& path, const std::string& bytes, std::string& error) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (fs::exists(status) && !fs::is_regular_file(status) && !fs::is_directory(status))
        return writeInPlace(path, bytes, error);
    const std::string target = replacedFile(path);
    std::string temp;
    const int fd = createTemporary(target, temp, error);
    if (fd < 0) return ReplaceResult::cannotCreate;
    bool good = writeAll(fd, bytes) && ::fsync(fd) == 0;
    if (!good) error = describeErrno(temp);
    if (::close(fd) != 0 && good) {
        good = false;
        error = describeErrno(temp);
    }
    if (good && ::rename(temp.c_str(), target.c_str()) != 0) {
        good = false;
        error = describeErrno(path);
    }
    if (!good) ::unlink(temp.c_str());
    return good ? ReplaceResult::replaced : ReplaceResult::writeFailed;
}

bool appendToFile(const std::string& path, const std::string& bytes, std::string& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    struct stat before = {};
    if (fd < 0 || ::fstat(fd, &before) != 0) {
        error = describeErrno(path);
        if (fd >= 0) ::close(fd);
        return false;
    }
    ssize_t n = -1;
    do {
        n = ::write(fd, bytes.data(), bytes.size());
    } while (n < 0 && errno == EINTR);
    bool good = n == static_cast<ssize_t>(bytes.size());
    if (!good) {
        error = n < 0 ? describeErrno(path) : path + ": the disk is full";
        if (n > 0 && ::ftruncate(fd, before.st_size) != 0) error += " (a part of the line stays)";
    }
    if (good && ::fsync(fd) != 0) {
        good = false;
        error = describeErrno(path);
    }
    return ::close(fd) == 0 && good;
}
