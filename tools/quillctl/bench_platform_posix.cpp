#include "tools/quillctl/bench_platform.h"

#include "tools/quillctl/receipts.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <thread>

#include <sys/ioctl.h>
#include <unistd.h>

namespace {

constexpr int32_t kDefaultColumns = 80;

bool takesEscapes() {
    const char* term = std::getenv("TERM");
    return !(term && std::strcmp(term, "dumb") == 0);
}

}  // namespace

// Blocked here, the signals stay blocked in every thread started later;
// sigwait takes them as data, so no handler runs in the middle of a lock.
bool watchStopRequests(std::function<void()> stop) {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    if (pthread_sigmask(SIG_BLOCK, &set, nullptr) != 0) return false;
    std::thread([set, stop]() {
        for (int signalNumber = 0;;)
            if (sigwait(&set, &signalNumber) == 0) stop();
    }).detach();
    return true;
}

std::FILE* liveTerminal() {
    if (!takesEscapes()) return nullptr;
    if (isatty(STDERR_FILENO)) return stderr;
    return isatty(STDOUT_FILENO) ? stdout : nullptr;
}

bool outputIsTerminal() {
    return isatty(STDOUT_FILENO) != 0;
}

int32_t terminalColumns(std::FILE* out) {
    winsize size = {};
    if (ioctl(fileno(out), TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return kDefaultColumns;
    return size.ws_col;
}

std::string localTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local = {}, utc = {};
    localtime_r(&now, &local);
    gmtime_r(&now, &utc);
    return isoLocalTime(local, utc);
}
