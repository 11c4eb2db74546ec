// Whole files on disk for the program and the tools: reading one into
// memory, and replacing one so that a failure never damages what was there.
#pragma once

#include <cstddef>
#include <string>

enum class ReplaceResult {
    replaced,
    cannotCreate,  // nothing could be created beside the target (no folder, no permission)
    writeFailed,   // writing, flushing or the final replace failed (disk full, ...)
};

// Writes `bytes` to a new file in the target's folder, flushes it to the
// disk and only then puts it in the target's place in one step. On any
// failure the new file is removed again and the target keeps its old
// content byte for byte (or stays absent). A device or a pipe (/dev/stdout,
// NUL) is written in place, since it cannot be replaced. On POSIX systems a
// symbolic link keeps being a link: the file it names is replaced. `error`
// gets a one-line reason on failure.
ReplaceResult replaceFileSafely(const std::string& path, const std::string& bytes, std::string& error);

// Adds `bytes` (one record, a line) to the end of `path`, creating it when
// missing, in one write call, then flushes it to the disk. A record is
// never left in part: when fewer bytes went in (a full disk), the file is
// cut back to its old length and the result is false. So a process killed
// at any moment leaves whole records only, and a power cut at worst a torn
// last one, which its reader drops. One appending thread per file.
bool appendToFile(const std::string& path, const std::string& bytes, std::string& error);

// Reads the whole of `path`. Fails, with `bytes` empty and a one-line
// `error`, when it cannot be opened or read or holds more than `maxBytes`.
bool readFileBytes(const std::string& path, size_t maxBytes, std::string& bytes, std::string& error);

// The temporary names tried beside a target, in order: "<target>.part",
// then "<target>.part1" ... so a file left behind by a crash is never
// overwritten or taken for our own.
std::string temporaryName(const std::string& target, int attempt);
constexpr int kTemporaryNameAttempts = 100;
