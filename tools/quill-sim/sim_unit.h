// The simulated unit's behaviour, without the line: registers, choice
// counts, and the fault switches that change its answers. Pure code.
#pragma once

#include "link/frame.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

constexpr int32_t kDefaultIdentity = 105;

// Each switch is off by default. A count of -1 means never.
struct SimFaults {
    std::set<uint8_t> refuseAddresses;  // answer FE for these registers
    std::set<uint8_t> refuseOps;        // answer FE for these op codes
    std::set<uint8_t> refuseWrites;     // answer FE for writes (op 128) to these registers
    int32_t noiseBytes = 0;             // bytes before each reply (never 56 or FE)
    bool badChecksum = false;           // replies carry checksum + 1
    std::set<uint8_t> badChecksumAddresses;  // the same for these registers only
    bool mismatch = false;              // replies carry another op and address
    std::set<uint8_t> readbackDiffers;  // a write stores value + 1
    int64_t silentAfter = -1;           // answer this many requests, then none
    int64_t vanishAfter = -1;           // close the line at request N + 1 (once)
    int32_t refuseNext = 0;             // answer FE for the next N requests, whatever they ask
    int32_t badChecksumNext = 0;        // the next N replies carry a wrong checksum
};

struct SimUnit {
    uint8_t registers[256] = {};
    uint8_t choiceCounts[256] = {};  // what op 64 answers; 0 when not in the profile
    SimFaults faults;
    int64_t requests = 0;  // complete requests received
    bool silent = false;   // switched by a signal
};

struct SimAnswer {
    std::vector<uint8_t> bytes;  // empty: no answer
    bool changed = false;        // a register changed: save the state
    bool vanish = false;         // close the line now
};

void setIdentity(SimUnit& unit, int32_t identity);
int32_t identityOf(const SimUnit& unit);

// What the unit does with one request frame. Ops other than 0, 64 and 128
// are refused.
SimAnswer answerRequest(SimUnit& unit, const LinkFrame& request);

// One bad reply, armed by a signal: the next request is refused, or the
// next reply carries a wrong checksum (the link waits out its deadline).
void refuseNextRequest(SimUnit& unit);
void corruptNextReply(SimUnit& unit);

// Silent units answer again (also after --silent-after); answering ones go
// silent.
void toggleSilence(SimUnit& unit);

// "56 00 FD 00 FD": bytes in hexadecimal for the frame log.
std::string hexBytes(const std::vector<uint8_t>& bytes);
