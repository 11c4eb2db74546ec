// Reply bytes fed to the resynchronisation in any chunks a serial read hands
// out (up to the 5-byte buffer's room, maybe none) give the outcome the whole
// stream decides: the first 56 or FE rules (FE refuses; after 56 the checksum
// of five bytes decides). The unit's side finds the frames a left-to-right
// scan finds: the next 56 with a good checksum, one byte on after a bad one.
// Input: number of chunk sizes(1) | chunk sizes... | line bytes...
#include "link/frame.h"
#include "tests/fuzz/fuzz_check.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

struct Outcome { ReplyStatus status = ReplyStatus::Incomplete; LinkFrame frame; };

Outcome decidedByWholeStream(const std::string& line) {
    Outcome o;
    const size_t at = line.find_first_of("\x56\xFE");
    if (at == std::string::npos) return o;
    if (static_cast<uint8_t>(line[at]) == kRefusalByte) return Outcome{ReplyStatus::Refused, {}};
    if (line.size() - at < static_cast<size_t>(kFrameSize)) return o;
    const auto* b = reinterpret_cast<const uint8_t*>(line.data() + at);
    o.frame = LinkFrame{b[1], b[2], b[3]};
    o.status = frameChecksum(o.frame) == b[4] ? ReplyStatus::Accepted : ReplyStatus::BadChecksum;
    return o;
}

Outcome fedInChunks(const std::string& line, const std::vector<uint8_t>& chunks) {
    ReplyBuffer buffer;
    Outcome o;
    size_t pos = 0;
    // The reads follow the chunk sizes, then take what there is room for.
    for (size_t read = 0;; ++read) {
        const size_t room = static_cast<size_t>(kFrameSize - buffer.count);
        const size_t want = read < chunks.size() ? chunks[read] % (room + 1) : room;
        const size_t n = std::min(want, line.size() - pos);
        std::memcpy(buffer.bytes + buffer.count, line.data() + pos, n);
        buffer.count += static_cast<int32_t>(n);
        pos += n;
        o.status = resynchronise(buffer, o.frame);
        FUZZ_CHECK(buffer.count >= 0 && buffer.count <= kFrameSize, "buffer count out of range");
        if (o.status != ReplyStatus::Incomplete || (pos == line.size() && read >= chunks.size())) return o;
    }
}

std::vector<LinkFrame> scannedRequests(const std::string& line) {
    std::vector<LinkFrame> frames;
    size_t at = line.find('\x56');
    while (at != std::string::npos && line.size() - at >= static_cast<size_t>(kFrameSize)) {
        const auto* b = reinterpret_cast<const uint8_t*>(line.data() + at);
        const LinkFrame f{b[1], b[2], b[3]};
        const bool good = frameChecksum(f) == b[4];
        if (good) frames.push_back(f);
        at = line.find('\x56', at + (good ? kFrameSize : 1));
    }
    return frames;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input{data, size};
    const std::string sizes = input.take(input.byte() % 16);
    const std::vector<uint8_t> chunks(sizes.begin(), sizes.end());
    const std::string line = input.rest();

    const Outcome expected = decidedByWholeStream(line);
    const Outcome got = fedInChunks(line, chunks);
    FUZZ_CHECK(got.status == expected.status, "chunking changed the outcome");
    if (got.status == ReplyStatus::Accepted)  // frames are three bytes, no padding
        FUZZ_CHECK(std::memcmp(&got.frame, &expected.frame, sizeof(LinkFrame)) == 0, "another frame accepted");

    RequestAssembler assembler;
    std::vector<LinkFrame> collected;
    for (char c : line) {
        LinkFrame request;
        if (feedRequestByte(assembler, static_cast<uint8_t>(c), request)) collected.push_back(request);
    }
    const std::vector<LinkFrame> scanned = scannedRequests(line);
    FUZZ_CHECK(std::equal(collected.begin(), collected.end(), scanned.begin(), scanned.end(),
                          [](const LinkFrame& a, const LinkFrame& b) { return std::memcmp(&a, &b, sizeof a) == 0; }),
               "the unit found other requests");
    return 0;
}
