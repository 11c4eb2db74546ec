// quill-sim: a simulated alarm unit on a pseudo-terminal, for the link
// tests, the end-to-end tests under Wine and installers' training. See
// kSimUsage (quill-sim --help) for the options, signals and state format.
//
// One thread: a poll() loop over the line and a signalfd. Signals are
// blocked and read as data, so a signal never interrupts a state save.
#include "tools/quill-sim/sim_line.h"
#include "tools/quill-sim/sim_options.h"
#include "tools/quill-sim/sim_state.h"
#include "tools/quill-sim/sim_unit.h"
#include "tools/common/tool_io.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>

#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

struct Simulator {
    SimOptions options;
    SimUnit unit;
    SimLine line;
    RequestAssembler assembler;
    bool present = false;             // the line is open and linked
    SimClock::time_point comeBackAt;  // while away, with a timed absence
    SimClock::time_point lineTime;    // when the line is free again (pacing)
    bool running = true;
    int exitCode = kExitOk;
};

void note(const Simulator& sim, const std::string& text) {
    if (!sim.options.verbose) return;
    if (sim.options.logTimes) {
        const auto since1970 = std::chrono::system_clock::now().time_since_epoch();
        const auto us = std::chrono::duration_cast<std::chrono::microseconds>(since1970).count();
        std::fprintf(stderr, "%lld.%06lld ", static_cast<long long>(us / 1000000), static_cast<long long>(us % 1000000));
    }
    std::fprintf(stderr, "quill-sim: %s\n", text.c_str());
}

void complain(const std::string& text) {
    std::fprintf(stderr, "quill-sim: %s\n", text.c_str());
}

// A state file with lines we cannot read is refused rather than rewritten
// without them: the person who wrote them would lose them unnoticed.
bool loadState(Simulator& sim) {
    const std::string& path = sim.options.statePath;
    std::error_code ec;
    if (path.empty() || !std::filesystem::exists(path, ec)) return true;
    std::string text, error;
    if (!readWholeFile(path, text, error)) {
        complain(error);
        return false;
    }
    std::vector<std::string> problems;
    parseSimState(text, sim.unit, problems);
    for (const auto& p : problems) complain(path + ": " + p);
    return problems.empty();
}

void saveState(const Simulator& sim) {
    std::string error;
    if (!sim.options.statePath.empty() && !writeWholeFile(sim.options.statePath, formatSimState(sim.unit), error))
        complain(error);
}

// The terminal's path on standard output (and in the ready file): the
// moment from which the unit answers.
void announce(const Simulator& sim) {
    std::printf("%s\n", sim.line.ptyPath.c_str());
    std::fflush(stdout);
    std::string error;
    if (!sim.options.readyPath.empty() && !writeWholeFile(sim.options.readyPath, sim.line.ptyPath + "\n", error))
        complain(error);
}

bool bringLineUp(Simulator& sim) {
    std::string error;
    if (!openSimLine(sim.options.linkPath, sim.line, error)) {
        complain(error);
        return false;
    }
    sim.present = true;
    sim.assembler = RequestAssembler();
    announce(sim);
    note(sim, "line open on " + sim.line.ptyPath);
    return true;
}

// Closes the line, removes the link and the ready file.
void closeLine(Simulator& sim) {
    closeSimLine(sim.line);
    std::error_code ec;
    if (!sim.options.readyPath.empty()) std::filesystem::remove(sim.options.readyPath, ec);
    sim.present = false;
}

void takeLineDown(Simulator& sim) {
    closeLine(sim);
    sim.comeBackAt = SimClock::now() + std::chrono::milliseconds(sim.options.awayMs);
    note(sim, "line closed (unit gone)");
}

void comeBack(Simulator& sim) {
    if (!bringLineUp(sim)) {
        sim.running = false;
        sim.exitCode = kExitFailed;
    }
}

void handleRequest(Simulator& sim, const LinkFrame& request) {
    uint8_t frame[kFrameSize];
    encodeFrame(request, frame);
    note(sim, "-> " + hexBytes(std::vector<uint8_t>(frame, frame + kFrameSize)));
    const SimAnswer answer = answerRequest(sim.unit, request);
    if (answer.changed) saveState(sim);  // before the reply: a confirmed write is on disk
    if (answer.vanish) return takeLineDown(sim);
    if (answer.bytes.empty()) return note(sim, "   (no answer)");
    note(sim, "<- " + hexBytes(answer.bytes));
    sendReply(sim.line, answer.bytes, sim.options.pacing, sim.lineTime);
}

void readFromHost(Simulator& sim) {
    uint8_t bytes[256];
    const ssize_t n = ::read(sim.line.master, bytes, sizeof bytes);
    if (n <= 0) return;  // EAGAIN: woken for nothing
    sim.lineTime = std::max(sim.lineTime, SimClock::now());
    const auto byteTime = std::chrono::nanoseconds(sim.options.pacing.byteNanos);
    for (ssize_t i = 0; i < n && sim.present; ++i) {
        sim.lineTime += byteTime;
        LinkFrame request;
        if (feedRequestByte(sim.assembler, bytes[i], request)) handleRequest(sim, request);
    }
}

void handleSignal(Simulator& sim, int signalNumber) {
    if (signalNumber == SIGUSR1) {
        toggleSilence(sim.unit);
        note(sim, sim.unit.silent ? "silent" : "answering");
    } else if (signalNumber == SIGWINCH) {
        refuseNextRequest(sim.unit);
        note(sim, "refusing the next request");
    } else if (signalNumber == SIGALRM) {
        corruptNextReply(sim.unit);
        note(sim, "a wrong checksum in the next reply");
    } else if (signalNumber == SIGUSR2) {
        if (sim.present)
            takeLineDown(sim);
        else
            comeBack(sim);
    } else {
        sim.running = false;
    }
}

int pollTimeout(const Simulator& sim) {
    if (sim.present || sim.options.awayMs == 0) return -1;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(sim.comeBackAt - SimClock::now());
    return static_cast<int>(std::max<int64_t>(left.count(), 0));
}

void serve(Simulator& sim, int signals) {
    while (sim.running) {
        pollfd fds[2] = {{signals, POLLIN, 0}, {sim.present ? sim.line.master : -1, POLLIN, 0}};
        if (poll(fds, 2, pollTimeout(sim)) < 0 && errno != EINTR) break;
        signalfd_siginfo info;
        if ((fds[0].revents & POLLIN) && ::read(signals, &info, sizeof info) == sizeof info)
            handleSignal(sim, static_cast<int>(info.ssi_signo));
        if (sim.present && (fds[1].revents & POLLIN)) readFromHost(sim);
        if (sim.running && !sim.present && sim.options.awayMs && SimClock::now() >= sim.comeBackAt) comeBack(sim);
    }
}

int blockedSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGUSR1, SIGUSR2, SIGWINCH, SIGALRM}) sigaddset(&set, s);
    sigprocmask(SIG_BLOCK, &set, nullptr);
    std::signal(SIGPIPE, SIG_IGN);  // a reader of standard output that went away
    return signalfd(-1, &set, SFD_CLOEXEC);
}

}  // namespace

int main(int argc, char** argv) {
    Simulator sim;
    std::string problem;
    if (!parseSimOptions(argc, argv, sim.options, problem)) {
        complain(problem);
        std::fputs(kSimUsage, stderr);
        return kExitUsage;
    }
    if (sim.options.help) {
        std::fputs(kSimUsage, stdout);
        return kExitOk;
    }
    sim.unit.faults = sim.options.faults;
    setIdentity(sim.unit, kDefaultIdentity);
    if (!loadState(sim)) return kExitFailed;
    if (sim.options.identity >= 0) setIdentity(sim.unit, static_cast<int32_t>(sim.options.identity));
    const int signals = blockedSignals();
    if (signals < 0 || !bringLineUp(sim)) return kExitFailed;
    saveState(sim);
    serve(sim, signals);
    saveState(sim);
    if (sim.present) closeLine(sim);
    return sim.exitCode;
}
