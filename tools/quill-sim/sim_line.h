// The simulated unit's end of the serial line: a pseudo-terminal whose
// terminal device stands in for the unit's port, linked into a ports folder
// under the name the link looks for (e.g. /tmp/quill-ports/com3).
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

using SimClock = std::chrono::steady_clock;

struct SimLine {
    int master = -1;       // the unit's side; non-blocking
    int slave = -1;        // held open so that the master sees no hang-up
                           // while the host has the port closed
    std::string ptyPath;   // the terminal device, /dev/pts/N
    std::string linkPath;  // symbolic link to ptyPath; empty for none
};

// Opens a pseudo-terminal in raw mode and links `linkPath` (when given) to
// it, creating missing folders. An existing symbolic link there is replaced;
// anything else at that path is left alone and the open fails.
bool openSimLine(const std::string& linkPath, SimLine& line, std::string& error);
// Closes both ends and removes the link if it still points to this line.
void closeSimLine(SimLine& line);

// Timing of the replies. byteNanos is one character's wire time (10 bits)
// or 0 for no pacing.
struct LinePacing {
    uint64_t byteNanos = 0;
    uint32_t latencyMs = 0;
    uint32_t splitMs = 0;  // reply in three writes with this pause between; 0: one write
};

// Sends `bytes` as the line would deliver them: each paced byte is written
// when its wire time ends on the line's clock `lineTime` (advanced here).
// Bytes the host does not take are lost, as on a real line.
void sendReply(const SimLine& line, const std::vector<uint8_t>& bytes, const LinePacing& pacing,
               SimClock::time_point& lineTime);
