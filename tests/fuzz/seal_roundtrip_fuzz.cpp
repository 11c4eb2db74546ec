// Sealing any payload: the stream has the size the format fixes, every data
// block a nonzero marker (a zero one reads as the end block), both entry
// points write the same bytes, and unsealing gives the payload back.
// Input: seeding second(4) | payload...
#include "defs/sealed_codec.h"
#include "tests/fuzz/fuzz_check.h"

#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input{data, size};
    const std::time_t second = static_cast<std::time_t>(input.word());
    const std::string payload = input.rest();

    std::string sealed;
    FUZZ_CHECK(sealBytesAt(payload, second, sealed), "sealing into memory failed");
    FUZZ_CHECK(sealed.size() == 8 * (payload.size() / 7) + 24, "sealed size is not 8 * floor(L / 7) + 24");

    std::istringstream in(payload);
    std::ostringstream out;
    SealedCodec codec;
    FUZZ_CHECK(sealAt(codec, in, out, second) && out.str() == sealed, "the stream entry point seals other bytes");

    SealedCodec reader;
    const uint32_t seed = uint32_t(uint8_t(sealed[0])) | uint32_t(uint8_t(sealed[1])) << 8 |
                          uint32_t(uint8_t(sealed[2])) << 16 | uint32_t(uint8_t(sealed[3])) << 24;
    for (int i = 0; i < 4; ++i) reader.key[i] = seed ^ keyMasks[i];
    const size_t dataBlocks = payload.size() / 7 + 1;
    for (size_t b = 0; b <= dataBlocks; ++b) {
        uint8_t block[8];
        for (int i = 0; i < 8; ++i) block[i] = static_cast<uint8_t>(sealed[4 + 8 * b + i]);
        decipherBlock(reader, block);
        FUZZ_CHECK((block[0] != 0) == (b < dataBlocks), "a data block without marker, or no end block");
    }

    std::string back;
    FUZZ_CHECK(unsealBytes(sealed, back) && back == payload, "a sealed payload does not unseal to itself");
    return 0;
}
