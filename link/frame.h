// The 5-byte frame of the serial link, the same in both directions:
//
//   56 op address data checksum        checksum = (op + address + data) mod 256
//
//   56 00 FD 00 FD   read register 253          56 80 0C 03 8F   write 3 to 12
//   56 40 0C 00 4C   choice count of 12         56 00 FD 05 02   reply: value 5
//
// No other framing and no escaping. A single byte FE where a reply should
// start is the unit's refusal of the request; an FE inside a frame that
// already began with 56 is ordinary data. Pure code: no port, no clock.
#pragma once

#include <cstdint>

constexpr uint8_t kFrameStart = 0x56;
constexpr uint8_t kRefusalByte = 0xFE;
constexpr int32_t kFrameSize = 5;

// The only operation codes the host sends.
constexpr uint8_t kOpRead = 0;          // reply data: the register's value
constexpr uint8_t kOpChoiceCount = 64;  // reply data: choices of the parameter
constexpr uint8_t kOpWrite = 128;       // reply data ignored

// Register map beyond the parameter registers (parameter number mod 256).
constexpr uint8_t kBcdRegister = 252;
constexpr uint8_t kIdentityLowRegister = 253;
constexpr uint8_t kIdentityHighRegister = 254;

struct LinkFrame {
    uint8_t op = 0;
    uint8_t address = 0;
    uint8_t data = 0;
};

uint8_t frameChecksum(const LinkFrame& frame);
void encodeFrame(const LinkFrame& frame, uint8_t bytes[kFrameSize]);

// Bytes of a reply gathered so far: `count` valid bytes at the front.
struct ReplyBuffer {
    uint8_t bytes[kFrameSize] = {};
    int32_t count = 0;
};

enum class ReplyStatus {
    Incomplete,   // read more
    Accepted,     // a whole frame with a good checksum
    Refused,      // FE where the frame should start
    BadChecksum,  // a whole frame that is never accepted: wait out the deadline
};

// Resynchronises the buffer after new bytes were added: drops leading bytes
// that cannot start a frame, then judges what is left. On Accepted, `reply`
// holds the frame; its op and address are whatever the unit sent (they are
// not compared with the request).
ReplyStatus resynchronise(ReplyBuffer& buffer, LinkFrame& reply);

// Collects request frames from a byte stream (the unit's side of the line):
// bytes before a 56 are skipped, and a frame with a wrong checksum gives up
// only its first byte, so a frame starting inside it is still found.
struct RequestAssembler {
    ReplyBuffer pending;
};

// Feeds one byte; true when it completed a request, then in `request`.
bool feedRequestByte(RequestAssembler& assembler, uint8_t byte, LinkFrame& request);
