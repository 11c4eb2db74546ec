#include "defs/sealed_codec.h"

#include <cstdint>
#include <istream>
#include <ostream>
#include <sstream>

const uint32_t keyMasks[4] = {0x5B3D8C21u, 0xE41A97F6u, 0x2C6F05B9u, 0x9AD2734Eu};

namespace {

constexpr uint32_t kDelta = 0x9E3779B9u;

// The filler and key generator. Our own rather than the C runtime's rand(),
// so the native and the Windows builds seal identical bytes in one second.
struct SealRandom {
    uint32_t state;
    uint32_t next() {
        uint32_t z = (state += 0x9E3779B9u);
        z = (z ^ (z >> 16)) * 0x21F0AAADu;
        z = (z ^ (z >> 15)) * 0x735A2D97u;
        return z ^ (z >> 15);
    }
    uint8_t nonZeroByte() {
        uint8_t b = 0;
        while (b == 0) b = static_cast<uint8_t>(next());
        return b;
    }
};

uint32_t loadLe32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void storeLe32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

void deriveKey(SealedCodec& codec, uint32_t keySeed) {
    for (int i = 0; i < 4; ++i) codec.key[i] = keySeed ^ keyMasks[i];
}

void writeBytes(std::ostream& out, const uint8_t* p, size_t n) {
    out.write(reinterpret_cast<const char*>(p), static_cast<std::streamsize>(n));
}

// Reads up to n bytes; returns how many arrived.
size_t readBytes(std::istream& in, uint8_t* p, size_t n) {
    in.read(reinterpret_cast<char*>(p), static_cast<std::streamsize>(n));
    return static_cast<size_t>(in.gcount());
}

void writeEnciphered(SealedCodec& codec, std::ostream& out) {
    encipherBlock(codec, codec.block);
    writeBytes(out, codec.block, 8);
}

}  // namespace

void encipherBlock(const SealedCodec& codec, uint8_t block[8]) {
    uint32_t y = loadLe32(block), z = loadLe32(block + 4), sum = 0;
    for (int32_t i = 0; i < codec.cycles; ++i) {
        y += (((z << 4) ^ (z >> 5)) + z) ^ (sum + codec.key[sum & 3]);
        sum += kDelta;
        z += (((y << 4) ^ (y >> 5)) + y) ^ (sum + codec.key[(sum >> 11) & 3]);
    }
    storeLe32(block, y);
    storeLe32(block + 4, z);
}

void decipherBlock(const SealedCodec& codec, uint8_t block[8]) {
    if (codec.cycles <= 0) return;
    uint32_t y = loadLe32(block), z = loadLe32(block + 4);
    uint32_t sum = static_cast<uint32_t>(codec.cycles) * kDelta;
    for (int32_t i = 0; i < codec.cycles; ++i) {
        z -= (((y << 4) ^ (y >> 5)) + y) ^ (sum + codec.key[(sum >> 11) & 3]);
        sum -= kDelta;
        y -= (((z << 4) ^ (z >> 5)) + z) ^ (sum + codec.key[sum & 3]);
    }
    storeLe32(block, y);
    storeLe32(block + 4, z);
}

uint32_t crc32Update(uint32_t crc, size_t length, const uint8_t* bytes) {
    if (bytes == nullptr) return 0;
    static uint32_t table[256];
    static const bool ready = [] {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        return true;
    }();
    (void)ready;
    crc = ~crc;
    for (size_t i = 0; i < length; ++i) crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

bool sealAt(SealedCodec& codec, std::istream& input, std::ostream& output, std::time_t seconds) {
    SealRandom rng{static_cast<uint32_t>(static_cast<uint64_t>(seconds))};
    uint32_t keySeed = 0;
    for (int i = 0; i < 4; ++i) keySeed |= uint32_t(rng.next() & 0xFF) << (8 * i);
    deriveKey(codec, keySeed);
    uint8_t seedBytes[4];
    storeLe32(seedBytes, keySeed);
    writeBytes(output, seedBytes, 4);

    codec.fill = 0;
    uint32_t crc = 0;
    int32_t count = 0;
    // The end block holds the length as a signed 32-bit number: a longer
    // payload cannot be sealed and is refused rather than wrapped.
    bool tooLong = false;
    char c;
    while (input.good() && output.good() && input.get(c)) {
        if (count == INT32_MAX) {
            tooLong = true;
            break;
        }
        uint8_t byte = static_cast<uint8_t>(c);
        crc = crc32Update(crc, 1, &byte);
        if (codec.fill == 0) codec.block[codec.fill++] = rng.nonZeroByte();
        codec.block[codec.fill++] = byte;
        if (codec.fill == 8) {
            writeEnciphered(codec, output);
            codec.fill = 0;
        }
        ++count;
    }

    // The last data block: a marker of its own when empty, then filler.
    if (codec.fill == 0) codec.block[codec.fill++] = rng.nonZeroByte();
    while (codec.fill < 8) codec.block[codec.fill++] = static_cast<uint8_t>(rng.next());
    writeEnciphered(codec, output);

    // The end block reuses the buffer: bytes 5..7 keep what was just written.
    codec.block[0] = 0;
    storeLe32(codec.block + 1, static_cast<uint32_t>(count));
    writeEnciphered(codec, output);
    codec.fill = 0;

    uint8_t crcBytes[4];
    storeLe32(crcBytes, crc);
    writeBytes(output, crcBytes, 4);
    // The closing blocks are written either way, but an input that failed
    // (rather than ended) was not read whole: the stream must not pass for
    // the complete payload.
    return output.good() && !input.bad() && !tooLong;
}

bool seal(SealedCodec& codec, std::istream& input, std::ostream& output) {
    return sealAt(codec, input, output, std::time(nullptr));
}

bool unseal(SealedCodec& codec, std::istream& input, std::ostream& output) {
    codec.fill = 0;
    uint8_t head[4];
    if (readBytes(input, head, 4) != 4) return false;
    deriveKey(codec, loadLe32(head));

    int64_t total = 0;
    uint32_t crc = 0;
    uint8_t in[8];
    for (;;) {
        if (readBytes(input, in, 8) != 8) return false;
        decipherBlock(codec, in);
        if (in[0] == 0) break;
        total += 7;
        for (int i = 1; i < 8; ++i) {
            if (codec.fill < 7) {
                codec.block[codec.fill++] = in[i];
                continue;
            }
            uint8_t out = codec.block[0];
            writeBytes(output, &out, 1);
            crc = crc32Update(crc, 1, &out);
            for (int k = 0; k < 6; ++k) codec.block[k] = codec.block[k + 1];
            codec.block[6] = in[i];
        }
        if (!input.good()) return false;
    }

    // The last data block carries 0..6 payload bytes (a payload that fills
    // its blocks exactly is followed by a block of filler only), so with T
    // bytes of data blocks an honest length lies in T - 7 .. T - 1: a length
    // of T would deliver T - 7 bytes while declaring T. Without any data
    // block (T = 0) the lengths -7 .. 0 all stand for the empty payload.
    const int32_t length = static_cast<int32_t>(loadLe32(in + 1));
    if (length > total || length < total - 7 || (length == total && total > 0)) return false;
    const int32_t rest = length % 7;
    for (int32_t i = 0; i < rest && i < codec.fill; ++i) {
        writeBytes(output, &codec.block[i], 1);
        crc = crc32Update(crc, 1, &codec.block[i]);
    }

    // Missing CRC bytes count as zero: the stream state is not examined here.
    uint8_t stored[4] = {0, 0, 0, 0};
    readBytes(input, stored, 4);
    // A payload that did not reach `output` whole is no success either.
    return loadLe32(stored) == crc && output.good();
}

bool sealBytesAt(const std::string& payload, std::time_t seconds, std::string& sealed) {
    std::istringstream in(payload);
    std::ostringstream out;
    SealedCodec codec;
    codec.cycles = kSealCycles;
    if (!sealAt(codec, in, out, seconds)) return false;
    sealed = out.str();
    return true;
}

bool sealBytes(const std::string& payload, std::string& sealed) {
    return sealBytesAt(payload, std::time(nullptr), sealed);
}

bool unsealBytes(const std::string& sealed, std::string& payload) {
    std::istringstream in(sealed);
    std::ostringstream out;
    SealedCodec codec;
    codec.cycles = kSealCycles;
    const bool ok = unseal(codec, in, out);
    payload = ok ? out.str() : std::string();
    return ok;
}
