// Windows replacement of a file. Under Wine two things need care:
// GetTempFileNameA can report success without having created the file, so
// the temporary file is created here with CREATE_NEW and that result is
// checked; and under a full disk or a size limit WriteFile can return TRUE
// having written less, so every count is compared.
#include "configfile/safe_file.h"

#include <windows.h>

#include <algorithm>

namespace {

// Large writes go in pieces: WriteFile takes a 32-bit count.
constexpr DWORD kWriteChunkBytes = 1 << 20;

std::string describeError(const std::string& path, DWORD code) {
    char text[256] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                   text, sizeof text, nullptr);
    std::string reason(text, n);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.'))
        reason.pop_back();
    return path + ": " + (reason.empty() ? "error " + std::to_string(code) : reason);
}

// Writes every byte; false with the error code otherwise.
bool writeAll(HANDLE file, const std::string& bytes, DWORD& code) {
    for (size_t done = 0; done < bytes.size();) {
        const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, kWriteChunkBytes));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, want, &written, nullptr) || written != want) {
            code = GetLastError();
            if (code == ERROR_SUCCESS) code = ERROR_DISK_FULL;  // a short count without an error
            return false;
        }
        done += written;
    }
    return true;
}

bool writeAndFlush(HANDLE file, const std::string& bytes, DWORD& code) {
    if (!writeAll(file, bytes, code)) return false;
    if (FlushFileBuffers(file)) return true;
    code = GetLastError();
    return false;
}

// A console, a pipe or NUL: true when `path` exists and is no disk file.
bool isDevice(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const DWORD type = GetFileType(h);
    CloseHandle(h);
    return type == FILE_TYPE_CHAR || type == FILE_TYPE_PIPE;
}

ReplaceResult writeInPlace(const std::string& path, const std::string& bytes, std::string& error) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = describeError(path, GetLastError());
        return ReplaceResult::cannotCreate;
    }
    DWORD code = 0;
    // Not flushed: devices refuse it, and there is no cache to empty.
    const bool written = writeAll(h, bytes, code);
    CloseHandle(h);
    if (!written) error = describeError(path, code);
    return written ? ReplaceResult::replaced : ReplaceResult::writeFailed;
}

HANDLE createTemporary(const std::string& target, std::string& temp, DWORD& code) {
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        temp = temporaryName(target, attempt);
        HANDLE h = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) return h;
        code = GetLastError();
        if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) break;
    }
    return INVALID_HANDLE_VALUE;
}

}  // namespace

ReplaceResult replaceFileSafely(const std::string& path, const std::string& bytes, std::string& error) {
    if (isDevice(path)) return writeInPlace(path, bytes, error);
    std::string temp;
    DWORD code = 0;
    HANDLE h = createTemporary(path, temp, code);
    if (h == INVALID_HANDLE_VALUE) {
        error = describeError(temp, code);
        return ReplaceResult::cannotCreate;
    }
    bool good = writeAndFlush(h, bytes, code);
    if (!CloseHandle(h) && good) {
        code = GetLastError();
        good = false;
    }
    if (good && !MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        code = GetLastError();
        good = false;
    }
    if (good) return ReplaceResult::replaced;
    error = describeError(path, code);
    DeleteFileA(temp.c_str());
    return ReplaceResult::writeFailed;
}

// GENERIC_WRITE rather than append-only access: cutting a short write back
// needs SetEndOfFile. Shared for reading, so the receipts can be watched.
bool appendToFile(const std::string& path, const std::string& bytes, std::string& error) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    LARGE_INTEGER before = {};
    if (h == INVALID_HANDLE_VALUE || !SetFilePointerEx(h, LARGE_INTEGER{}, &before, FILE_END)) {
        error = describeError(path, GetLastError());
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        return false;
    }
    DWORD written = 0;
    const DWORD want = static_cast<DWORD>(bytes.size());
    const bool whole = WriteFile(h, bytes.data(), want, &written, nullptr) && written == want;
    DWORD code = whole ? 0 : GetLastError();
    if (!whole && written > 0 && SetFilePointerEx(h, before, nullptr, FILE_BEGIN)) SetEndOfFile(h);
    const bool flushed = whole && FlushFileBuffers(h);
    if (whole && !flushed) code = GetLastError();
    CloseHandle(h);
    if (!flushed) error = describeError(path, code == ERROR_SUCCESS ? ERROR_DISK_FULL : code);
    return flushed;
}
