// Command line of quill-sim.
#pragma once

#include "tools/quill-sim/sim_line.h"
#include "tools/quill-sim/sim_unit.h"

#include <string>

constexpr uint32_t kDefaultAwayMs = 2000;

struct SimOptions {
    std::string linkPath;   // where the port appears; empty: only the printed path
    std::string statePath;  // empty: nothing is loaded or saved
    std::string readyPath;  // empty: no ready file
    int64_t identity = -1;  // -1: from the state file, else kDefaultIdentity
    uint32_t baud = 0;      // 0: no pacing
    uint32_t awayMs = kDefaultAwayMs;
    bool verbose = false;
    bool logTimes = false;  // each frame-log line starts with the wall-clock time
    bool help = false;
    LinePacing pacing;
    SimFaults faults;
};

// False with `problem` for a usage error.
bool parseSimOptions(int argc, char** argv, SimOptions& options, std::string& problem);

extern const char* const kSimUsage;
