// quill-sim as a child process of a test or benchmark: started on a port of
// a ports folder, its frame log (-v) and state file read back. Native only.
#pragma once

#include "link/frame.h"
#include "tools/quill-sim/sim_unit.h"

#include <csignal>
#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

struct SimProcess {
    pid_t pid = -1;
    int output = -1;        // the simulator's standard output (pty paths)
    std::string logPath;    // its standard error: the -v frame log
    std::string statePath;  // its --state file
};

// Starts quill-sim with `args` plus -v, --state `folder`/sim<port>.state
// (holding `stateText`) on `folder`/com<port>; waits until it announces its
// terminal, as awaitAnnouncement does after it came back from vanishing.
bool startSim(const std::string& folder, int32_t port, const std::vector<std::string>& args,
              const std::string& stateText, SimProcess& sim);
bool awaitAnnouncement(SimProcess& sim, int32_t timeoutMs);
inline void signalSim(const SimProcess& sim, int signalNumber) {
    if (sim.pid > 0) kill(sim.pid, signalNumber);
}
// SIGTERM, then waits for the process; true when it ended cleanly (exit 0).
bool stopSim(SimProcess& sim);

// A fresh ports folder under the temporary directory and the units started
// in it, all stopped and the folder removed when it goes.
struct SimFolder {
    explicit SimFolder(const std::string& prefix);
    SimFolder(const SimFolder&) = delete;
    SimFolder& operator=(const SimFolder&) = delete;
    ~SimFolder();
    bool start(int32_t port, const std::vector<std::string>& args, const std::string& stateText = "") {
        return startSim(path, port, args, stateText, units[port]);
    }
    std::string path;
    std::map<int32_t, SimProcess> units;
};

// The unit's registers and counts as its state file holds them now; the
// requests it has received so far, and how many match op and address.
SimUnit simState(const SimProcess& sim);
std::vector<LinkFrame> simRequests(const SimProcess& sim);
int32_t countRequests(const SimProcess& sim, uint8_t op, uint8_t address);

// Runs a program to its end, standard output and error captured; its exit
// status, or -1 when it did not exit normally.
int runProgram(const std::vector<std::string>& argv, std::string& output, std::string& errors);

// Starts a program in the background, its standard output and error both
// appended to `outputPath`; the caller waits for it.
bool startProgram(const std::vector<std::string>& argv, const std::string& outputPath, pid_t& pid);

// Milliseconds on a steady clock, for elapsed times in tests.
int64_t nowMs();
