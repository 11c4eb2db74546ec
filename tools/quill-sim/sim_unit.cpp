#include "tools/quill-sim/sim_unit.h"

#include <cstdio>

namespace {

// Noise that cannot be taken for a frame start or a refusal.
const uint8_t kNoise[] = {0x00, 0xFF, 0x55, 0xAA, 0x13, 0x57, 0xFD, 0x80};

bool refused(SimUnit& unit, const LinkFrame& request) {
    SimFaults& f = unit.faults;
    if (f.refuseNext > 0) {
        --f.refuseNext;
        return true;
    }
    if (request.op != kOpRead && request.op != kOpChoiceCount && request.op != kOpWrite) return true;
    if (request.op == kOpWrite && f.refuseWrites.count(request.address)) return true;
    return f.refuseAddresses.count(request.address) || f.refuseOps.count(request.op);
}

bool isSilent(const SimUnit& unit) {
    return unit.silent || (unit.faults.silentAfter >= 0 && unit.requests > unit.faults.silentAfter);
}

uint8_t serve(SimUnit& unit, const LinkFrame& request, bool& changed) {
    const uint8_t a = request.address;
    if (request.op == kOpRead) return unit.registers[a];
    if (request.op == kOpChoiceCount) return unit.choiceCounts[a];
    const uint8_t stored = unit.faults.readbackDiffers.count(a) ? uint8_t(request.data + 1) : request.data;
    changed = unit.registers[a] != stored;
    unit.registers[a] = stored;
    return request.data;
}

void appendReply(SimFaults& faults, LinkFrame reply, std::vector<uint8_t>& bytes) {
    bool corrupt = faults.badChecksum || faults.badChecksumAddresses.count(reply.address) != 0;
    if (faults.badChecksumNext > 0) {
        --faults.badChecksumNext;
        corrupt = true;
    }
    if (faults.mismatch) {
        reply.op = static_cast<uint8_t>(reply.op ^ 0x01);
        reply.address = static_cast<uint8_t>(reply.address + 1);
    }
    uint8_t frame[kFrameSize];
    encodeFrame(reply, frame);
    if (corrupt) ++frame[kFrameSize - 1];
    bytes.insert(bytes.end(), frame, frame + kFrameSize);
}

}  // namespace

void setIdentity(SimUnit& unit, int32_t identity) {
    unit.registers[kIdentityLowRegister] = static_cast<uint8_t>(identity & 0xFF);
    unit.registers[kIdentityHighRegister] = static_cast<uint8_t>((identity >> 8) & 0xFF);
}

int32_t identityOf(const SimUnit& unit) {
    return unit.registers[kIdentityHighRegister] * 256 + unit.registers[kIdentityLowRegister];
}

SimAnswer answerRequest(SimUnit& unit, const LinkFrame& request) {
    SimAnswer answer;
    ++unit.requests;
    if (unit.faults.vanishAfter >= 0 && unit.requests > unit.faults.vanishAfter) {
        unit.faults.vanishAfter = -1;
        answer.vanish = true;
        return answer;
    }
    if (isSilent(unit)) return answer;
    for (int32_t i = 0; i < unit.faults.noiseBytes; ++i) answer.bytes.push_back(kNoise[i % sizeof kNoise]);
    if (refused(unit, request)) {
        answer.bytes.push_back(kRefusalByte);
        return answer;
    }
    LinkFrame reply = request;
    reply.data = serve(unit, request, answer.changed);
    appendReply(unit.faults, reply, answer.bytes);
    return answer;
}

void refuseNextRequest(SimUnit& unit) { ++unit.faults.refuseNext; }

void corruptNextReply(SimUnit& unit) { ++unit.faults.badChecksumNext; }

void toggleSilence(SimUnit& unit) {
    if (isSilent(unit)) {
        unit.silent = false;
        unit.faults.silentAfter = -1;
    } else {
        unit.silent = true;
    }
}

std::string hexBytes(const std::vector<uint8_t>& bytes) {
    std::string text;
    char two[4];
    for (uint8_t b : bytes) {
        std::snprintf(two, sizeof two, "%02X", b);
        if (!text.empty()) text += ' ';
        text += two;
    }
    return text;
}
