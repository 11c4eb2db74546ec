// Streams the harness enciphers itself, so the fuzzer reaches the end-block
// and CRC rules, checked against those rules written out here: a declared
// length c with T bytes of data blocks is honest when T - 7 <= c < T (without
// blocks -7 <= c <= 0); the reader delivers max(c, 0) bytes and accepts when
// the end block is there and the CRC (missing bytes as zero) matches them.
// Input: seed(4) | length skew(1) | shape(1) | payload...
// shape bit 0: CRC off by one; 1: no CRC; 2: one more data block of filler;
// 3: no data block at all; bits 4..7: bytes cut off the end.
#include "defs/sealed_codec.h"
#include "tests/fuzz/fuzz_check.h"

#include <algorithm>
#include <sstream>

namespace {

void putLe32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>(v >> (8 * i)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input{data, size};
    const uint32_t seed = input.word();
    const int32_t skew = static_cast<int8_t>(input.byte()) % 10;
    const uint8_t shape = input.byte();
    const std::string payload = input.take(4096);

    // The bytes the data blocks carry: the payload, then filler.
    size_t blocks = payload.size() / 7 + 1 + ((shape & 4) ? 1 : 0);
    if ((shape & 8) && payload.empty()) blocks = 0;
    std::string carried = payload;
    for (size_t i = payload.size(); i < 7 * blocks; ++i) carried.push_back(static_cast<char>(i * 31 + 7));
    const int64_t total = static_cast<int64_t>(7 * blocks);
    const int32_t declared = static_cast<int32_t>(payload.size()) + skew;

    SealedCodec codec;
    for (int i = 0; i < 4; ++i) codec.key[i] = seed ^ keyMasks[i];
    std::string stream;
    putLe32(stream, seed);
    for (size_t b = 0; b <= blocks; ++b) {
        uint8_t block[8] = {0};
        if (b < blocks) {
            block[0] = static_cast<uint8_t>(b % 255 + 1);
            std::copy_n(carried.begin() + 7 * b, 7, block + 1);
        } else {
            for (int i = 0; i < 4; ++i) block[1 + i] = static_cast<uint8_t>(uint32_t(declared) >> (8 * i));
        }
        encipherBlock(codec, block);
        stream.append(reinterpret_cast<const char*>(block), 8);
    }
    const bool honest = blocks == 0 ? declared >= -7 && declared <= 0 : declared >= total - 7 && declared < total;
    const std::string delivered = carried.substr(0, honest ? static_cast<size_t>(std::max(declared, 0)) : 0);
    const uint32_t deliveredCrc = crc32Update(0, delivered.size(), reinterpret_cast<const uint8_t*>(delivered.data()));
    if (!(shape & 2)) putLe32(stream, deliveredCrc + (shape & 1));
    const size_t endOfEndBlock = 4 + 8 * (blocks + 1);
    stream.resize(stream.size() - std::min<size_t>(shape >> 4, stream.size()));

    // Missing CRC bytes count as zero.
    uint32_t storedCrc = 0;
    for (size_t i = 0; i < 4 && endOfEndBlock + i < stream.size(); ++i)
        storedCrc |= uint32_t(static_cast<uint8_t>(stream[endOfEndBlock + i])) << (8 * i);
    const bool expected = stream.size() >= endOfEndBlock && honest && storedCrc == deliveredCrc;

    std::string out;
    const bool ok = unsealBytes(stream, out);
    FUZZ_CHECK(ok == expected, expected ? "an honest stream was rejected" : "a broken stream was accepted");
    if (ok) FUZZ_CHECK(out == delivered, "delivered other bytes than the declared length");

    std::istringstream in(stream);
    std::ostringstream streamed;
    SealedCodec other;
    FUZZ_CHECK(unseal(other, in, streamed) == ok, "the stream entry point disagrees");
    return 0;
}
