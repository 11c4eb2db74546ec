#include "tools/quill-sim/sim_line.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Raw both ways: without it the terminal would echo the unit's replies back
// to the unit before the host has set its own line settings.
bool makeRaw(int fd) {
    termios t{};
    if (tcgetattr(fd, &t) != 0) return false;
    cfmakeraw(&t);
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

bool openPseudoTerminal(SimLine& line, std::string& error) {
    line.master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128];
    if (line.master < 0 || grantpt(line.master) != 0 || unlockpt(line.master) != 0 ||
        ptsname_r(line.master, name, sizeof name) != 0) {
        error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    line.ptyPath = name;
    line.slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (line.slave < 0 || !makeRaw(line.slave)) {
        error = line.ptyPath + ": " + std::strerror(errno);
        return false;
    }
    fcntl(line.master, F_SETFL, fcntl(line.master, F_GETFL) | O_NONBLOCK);
    return true;
}

// Replaces a symbolic link in one step (a link beside it, renamed over it),
// so the link never points nowhere while the folder is scanned.
bool placeLink(const std::string& linkPath, const std::string& target, std::string& error) {
    std::error_code ec;
    const fs::path path(linkPath);
    if (path.has_parent_path()) fs::create_directories(path.parent_path(), ec);
    const fs::file_status status = fs::symlink_status(path, ec);
    if (fs::exists(status) && !fs::is_symlink(status)) {
        error = linkPath + ": exists and is not a symbolic link; left alone";
        return false;
    }
    const fs::path temp = linkPath + ".new";
    fs::remove(temp, ec);
    fs::create_symlink(target, temp, ec);
    if (!ec) fs::rename(temp, path, ec);
    if (ec) {
        error = linkPath + ": " + ec.message();
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

void writeAll(int fd, const uint8_t* bytes, size_t count) {
    while (count > 0) {
        const ssize_t n = ::write(fd, bytes, count);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;  // nobody takes them: lost like bytes on a wire
        bytes += n;
        count -= static_cast<size_t>(n);
    }
}

// Where the writes of a reply end: a split reply sends what precedes the
// frame's last four bytes, then two pieces of two.
std::vector<size_t> pieceEnds(size_t size, bool split) {
    if (!split || size < 5) return {size};
    return {size - 4, size - 2, size};
}

}  // namespace

bool openSimLine(const std::string& linkPath, SimLine& line, std::string& error) {
    if (!openPseudoTerminal(line, error) || (!linkPath.empty() && !placeLink(linkPath, line.ptyPath, error))) {
        closeSimLine(line);
        return false;
    }
    line.linkPath = linkPath;
    return true;
}

void closeSimLine(SimLine& line) {
    std::error_code ec;
    if (!line.linkPath.empty() && fs::read_symlink(line.linkPath, ec) == fs::path(line.ptyPath))
        fs::remove(line.linkPath, ec);
    if (line.slave >= 0) ::close(line.slave);
    if (line.master >= 0) ::close(line.master);
    line = SimLine();
}

void sendReply(const SimLine& line, const std::vector<uint8_t>& bytes, const LinePacing& pacing,
               SimClock::time_point& lineTime) {
    const auto byteTime = std::chrono::nanoseconds(pacing.byteNanos);
    lineTime += std::chrono::milliseconds(pacing.latencyMs);
    size_t sent = 0;
    for (const size_t end : pieceEnds(bytes.size(), pacing.splitMs != 0)) {
        if (sent > 0) lineTime += std::chrono::milliseconds(pacing.splitMs);
        if (pacing.byteNanos == 0) {
            std::this_thread::sleep_until(lineTime);
            writeAll(line.master, bytes.data() + sent, end - sent);
            sent = end;
        }
        for (; sent < end; ++sent) {
            lineTime += byteTime;
            std::this_thread::sleep_until(lineTime);
            writeAll(line.master, bytes.data() + sent, 1);
        }
    }
}
