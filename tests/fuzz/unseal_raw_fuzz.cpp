// Unsealing any bytes, as a damaged or forged file gives them: both entry
// points agree; an accepted stream delivers the length its end block declares
// with the CRC it carries, and seals and unseals again to the same payload.
#include "defs/sealed_codec.h"
#include "tests/fuzz/fuzz_check.h"

#include <sstream>

namespace {

uint32_t le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// The length the end block declares, found by deciphering block after block
// as the reader does; false when there is no complete end block.
bool declaredLength(const std::string& stream, int32_t& length, size_t& dataBlocks) {
    if (stream.size() < 4) return false;
    SealedCodec codec;
    const uint32_t seed = le32(reinterpret_cast<const uint8_t*>(stream.data()));
    for (int i = 0; i < 4; ++i) codec.key[i] = seed ^ keyMasks[i];
    for (size_t at = 4, n = 0; at + 8 <= stream.size(); at += 8, ++n) {
        uint8_t block[8];
        for (int i = 0; i < 8; ++i) block[i] = static_cast<uint8_t>(stream[at + i]);
        decipherBlock(codec, block);
        if (block[0] == 0) {
            length = static_cast<int32_t>(le32(block + 1));
            dataBlocks = n;
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string stream(reinterpret_cast<const char*>(data), size);

    std::istringstream in(stream);
    std::ostringstream out;
    SealedCodec codec;
    const bool streamOk = unseal(codec, in, out);
    std::string payload = "stale";
    const bool bufferOk = unsealBytes(stream, payload);
    FUZZ_CHECK(streamOk == bufferOk, "unseal and unsealBytes disagree");
    FUZZ_CHECK(bufferOk || payload.empty(), "a failed unseal handed back bytes");
    if (!bufferOk) return 0;
    FUZZ_CHECK(payload == out.str(), "unseal and unsealBytes deliver different payloads");

    int32_t length = 0;
    size_t dataBlocks = 0;
    FUZZ_CHECK(declaredLength(stream, length, dataBlocks), "accepted without an end block");
    FUZZ_CHECK(payload.size() == static_cast<size_t>(length < 0 ? 0 : length),
               "delivered a length other than the declared one");
    FUZZ_CHECK(payload.size() <= 7 * dataBlocks, "delivered more than the data blocks carry");

    const size_t crcAt = 4 + 8 * (dataBlocks + 1);
    uint8_t storedCrc[4] = {0, 0, 0, 0};
    for (size_t i = 0; i < 4 && crcAt + i < size; ++i) storedCrc[i] = data[crcAt + i];
    const uint32_t crc = crc32Update(0, payload.size(), reinterpret_cast<const uint8_t*>(payload.data()));
    FUZZ_CHECK(crc == le32(storedCrc), "accepted with a CRC that does not match");

    std::string resealed, back;
    FUZZ_CHECK(sealBytesAt(payload, 1700000000, resealed), "sealing an accepted payload failed");
    FUZZ_CHECK(unsealBytes(resealed, back) && back == payload, "an accepted payload does not seal again");
    return 0;
}
