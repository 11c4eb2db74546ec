// The serial port on POSIX: a terminal device in raw mode, opened without
// blocking; reads and writes wait with poll() so that their time limits are
// the ones the Windows COMMTIMEOUTS give (VTIME counts tenths of a second and
// only between bytes, which is too coarse for the 10 + 5 n ms bound).
#include "link/serial.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <mutex>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

struct PortsFolder {
    std::mutex lock;
    std::string path;  // guarded by lock
};

// Never destroyed: probe threads may still open ports while the process exits.
PortsFolder& portsFolder() {
    static PortsFolder* folder = [] {
        auto* f = new PortsFolder;
        const char* env = std::getenv("QUILL_PORTS");
        f->path = (env && *env) ? env : kDefaultPortsFolder;
        return f;
    }();
    return *folder;
}

int descriptor(PortHandle port) {
    return static_cast<int>(port);
}

int32_t millisecondsUntil(Clock::time_point when) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(when - Clock::now()).count();
    return left > 0 ? static_cast<int32_t>(left) : 0;
}

// 9600 8N1, raw bytes both ways, no software or hardware flow control, and
// read() never waits by itself (VMIN = VTIME = 0): poll() does the waiting.
bool applyLineSettings(int fd) {
    termios t{};
    if (tcgetattr(fd, &t) != 0) return false;
    cfmakeraw(&t);
    t.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    t.c_cflag |= CS8 | CLOCAL | CREAD;
    t.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

// DTR and RTS off. Pseudo-terminals have no modem lines; the failure is
// expected there and ignored.
void dropModemLines(int fd) {
    int lines = TIOCM_DTR | TIOCM_RTS;
    ioctl(fd, TIOCMBIC, &lines);
}

// Waits for `events` until `waitMs`; returns poll's revents, 0 on time-out,
// -1 on failure.
int waitFor(int fd, short events, int32_t waitMs) {
    pollfd p{fd, events, 0};
    for (;;) {
        const int r = poll(&p, 1, waitMs);
        if (r > 0) return p.revents;
        if (r == 0) return 0;
        if (errno != EINTR) return -1;
    }
}

}  // namespace

void setSerialPortsFolder(const std::string& folder) {
    PortsFolder& f = portsFolder();
    std::lock_guard<std::mutex> hold(f.lock);
    f.path = folder;
}

std::string serialPortName(int32_t portNumber) {
    PortsFolder& f = portsFolder();
    std::lock_guard<std::mutex> hold(f.lock);
    return f.path + "/com" + std::to_string(portNumber);
}

bool openSerialPort(int32_t portNumber, PortHandle& port) {
    const std::string name = serialPortName(portNumber);
    const int fd = ::open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    // TIOCEXCL keeps other programs from opening the terminal, but not root,
    // and everything here may run as root: the advisory lock is what makes a
    // port held by another program (that locks it too) count as in use.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || !applyLineSettings(fd)) {
        ::close(fd);
        return false;
    }
    ioctl(fd, TIOCEXCL);
    dropModemLines(fd);
    port = fd;
    return true;
}

void closeSerialPort(PortHandle port) {
    const int fd = descriptor(port);
    // The exclusive flag outlives this descriptor when another one stays open
    // (the simulator keeps one); clear it so the port can be opened again.
    ioctl(fd, TIOCNXCL);
    ::close(fd);
}

void purgeSerialPort(PortHandle port) {
    tcflush(descriptor(port), TCIOFLUSH);
}

bool writeSerialPort(PortHandle port, const uint8_t* bytes, size_t count) {
    const int fd = descriptor(port);
    const auto limit = Clock::now() + std::chrono::milliseconds(kWriteTotalTimeoutConstantMs +
                                                                kWriteTotalTimeoutMultiplierMs * count);
    size_t sent = 0;
    while (sent < count) {
        const ssize_t n = ::write(fd, bytes + sent, count - sent);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
        const int revents = waitFor(fd, POLLOUT, millisecondsUntil(limit));
        if (revents < 0 || (revents & (POLLERR | POLLHUP | POLLNVAL))) return false;
        if (revents == 0) return true;  // cut short by the write time-out
    }
    return true;
}

void flushSerialPort(PortHandle port) {
    tcdrain(descriptor(port));
}

bool readSerialPort(PortHandle port, uint8_t* bytes, size_t capacity, size_t& received) {
    const int fd = descriptor(port);
    received = 0;
    const auto total = Clock::now() + std::chrono::milliseconds(kReadTotalTimeoutConstantMs +
                                                                kReadTotalTimeoutMultiplierMs * capacity);
    auto interval = total;
    while (received < capacity) {
        const int32_t waitMs = millisecondsUntil(std::min(total, interval));
        const int revents = waitFor(fd, POLLIN, waitMs);
        if (revents < 0) return false;
        if (revents == 0) {
            if (waitMs == 0) return true;
            continue;
        }
        if (!(revents & POLLIN)) return false;  // hung up or failed
        const ssize_t n = ::read(fd, bytes + received, capacity - received);
        if (n == 0) return false;  // end of file: the other side is gone
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR) continue;
            return false;
        }
        received += static_cast<size_t>(n);
        interval = Clock::now() + std::chrono::milliseconds(kReadIntervalTimeoutMs);
    }
    return true;
}
