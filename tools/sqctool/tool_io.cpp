#include "tools/sqctool/tool_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace fs = std::filesystem;

namespace {

constexpr size_t kReadChunkBytes = 64 * 1024;

void binaryStdio() {
#ifdef _WIN32
    // The Windows runtime translates line ends on text streams; sealed bytes
    // must pass untouched.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
}

std::string describeErrno(const std::string& path) {
    return path + ": " + std::strerror(errno);
}

// Writes `bytes` straight into `path`, truncating a file that is there.
bool writeInPlace(const std::string& path, const std::string& bytes, std::string& error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        error = describeErrno(path);
        return false;
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) error = path + ": write error";
    return static_cast<bool>(out);
}

// The file that a complete new content replaces: `path` itself, or for a
// symbolic link the file it names, so the link stays a link (renaming over
// the link would turn it into a plain file and leave its target unchanged).
std::string replacedFile(const std::string& path) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
    const fs::path resolved = fs::weakly_canonical(path, ec);
    return ec ? path : resolved.string();
}

}  // namespace

bool readWholeFile(const std::string& path, std::string& bytes, std::string& error) {
    if (path == "-") {
        binaryStdio();
        std::ostringstream all;
        all << std::cin.rdbuf();
        bytes = all.str();
        return true;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = describeErrno(path);
        return false;
    }
    // read() rather than a stream-buffer iterator: the file buffer throws
    // when the read call itself fails (a folder, an I/O error), and only the
    // stream's own functions turn that into a bad state.
    bytes.clear();
    char chunk[kReadChunkBytes];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) bytes.append(chunk, static_cast<size_t>(in.gcount()));
    if (in.bad()) {
        bytes.clear();
        error = path + ": cannot be read";
        return false;
    }
    return true;
}

bool writeWholeFile(const std::string& path, const std::string& bytes, std::string& error) {
    if (path == "-") {
        binaryStdio();
        std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        std::cout.flush();
        if (!std::cout) error = "standard output: write error";
        return static_cast<bool>(std::cout);
    }
    std::error_code ec;
    const fs::file_status target = fs::status(path, ec);
    if (fs::exists(target) && !fs::is_regular_file(target) && !fs::is_directory(target))
        return writeInPlace(path, bytes, error);
    const std::string destination = replacedFile(path);
    const std::string temp = destination + ".part";
    if (!writeInPlace(temp, bytes, error)) {
        std::remove(temp.c_str());
        return false;
    }
    // filesystem::rename replaces an existing file in one step on Windows
    // too (MoveFileEx), so a failed replace never loses the old content.
    fs::rename(temp, destination, ec);
    if (ec) {
        error = path + ": " + ec.message();
        std::remove(temp.c_str());
        return false;
    }
    return true;
}
