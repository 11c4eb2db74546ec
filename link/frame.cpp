#include "link/frame.h"

#include <cstring>

namespace {

void dropFront(ReplyBuffer& buffer, int32_t n) {
    std::memmove(buffer.bytes, buffer.bytes + n, static_cast<size_t>(buffer.count - n));
    buffer.count -= n;
}

bool checksumMatches(const uint8_t bytes[kFrameSize]) {
    return static_cast<uint8_t>(bytes[1] + bytes[2] + bytes[3]) == bytes[4];
}

LinkFrame frameOf(const uint8_t bytes[kFrameSize]) {
    LinkFrame frame;
    frame.op = bytes[1];
    frame.address = bytes[2];
    frame.data = bytes[3];
    return frame;
}

}  // namespace

uint8_t frameChecksum(const LinkFrame& frame) {
    return static_cast<uint8_t>(frame.op + frame.address + frame.data);
}

void encodeFrame(const LinkFrame& frame, uint8_t bytes[kFrameSize]) {
    bytes[0] = kFrameStart;
    bytes[1] = frame.op;
    bytes[2] = frame.address;
    bytes[3] = frame.data;
    bytes[4] = frameChecksum(frame);
}

ReplyStatus resynchronise(ReplyBuffer& buffer, LinkFrame& reply) {
    while (buffer.count > 0 && buffer.bytes[0] != kFrameStart) {
        if (buffer.bytes[0] == kRefusalByte) return ReplyStatus::Refused;
        dropFront(buffer, 1);
    }
    if (buffer.count < kFrameSize) return ReplyStatus::Incomplete;
    if (!checksumMatches(buffer.bytes)) return ReplyStatus::BadChecksum;
    reply = frameOf(buffer.bytes);
    return ReplyStatus::Accepted;
}

bool feedRequestByte(RequestAssembler& assembler, uint8_t byte, LinkFrame& request) {
    ReplyBuffer& b = assembler.pending;
    if (b.count == 0 && byte != kFrameStart) return false;
    b.bytes[b.count++] = byte;
    while (b.count == kFrameSize) {
        if (checksumMatches(b.bytes)) {
            request = frameOf(b.bytes);
            b.count = 0;
            return true;
        }
        dropFront(b, 1);
        while (b.count > 0 && b.bytes[0] != kFrameStart) dropFront(b, 1);
    }
    return false;
}
