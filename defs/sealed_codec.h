// Sealed container: XTEA-enciphered 8-byte blocks carrying seven payload
// bytes each, a length block, and a CRC-32 of the payload. Used for the
// built-in definition table and for configuration files.
//
// Stream layout (little-endian):
//   keySeed(4) | data block(8) x n | end block(8) | crc32(4)
// Data block plain text:  marker(!=0) | 7 payload bytes (last block: rest + filler)
// End block plain text:   0x00 | payload length (int32) | 3 filler bytes
// There are always floor(L/7)+1 data blocks, so a sealed stream of a payload
// of L bytes is 8*floor(L/7)+24 bytes long.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <iosfwd>
#include <string>

// Every stream of the system is sealed and unsealed with this many cycles.
constexpr int32_t kSealCycles = 63;

// Key word i = keySeed XOR keyMasks[i]. Part of the file format: changing
// them makes every existing configuration file and the built-in table
// unreadable.
extern const uint32_t keyMasks[4];

struct SealedCodec {
    int32_t cycles = kSealCycles;
    uint32_t key[4] = {};
    // Sealing: the block being assembled. Unsealing: the 7-byte delay window.
    uint8_t block[8] = {};
    int32_t fill = 0;
};

// Reads `input` to its end and writes the sealed stream to `output`. The key
// seed and filler come from a generator seeded with the calendar time in
// seconds, so two seals of the same bytes within one second are identical.
// Returns whether `output` is still good after the last write and `input`
// ended rather than failed.
bool seal(SealedCodec& codec, std::istream& input, std::ostream& output);
// As seal, with the seeding second given (tests, reproducible builds).
bool sealAt(SealedCodec& codec, std::istream& input, std::ostream& output, std::time_t seconds);

// Writes the payload to `output` as it comes free of the delay window.
// Returns true only for a complete stream with an acceptable end block and a
// matching CRC, written whole to `output`. On false, `output` may hold a
// prefix of the payload: callers must discard it (unsealBytes does).
bool unseal(SealedCodec& codec, std::istream& input, std::ostream& output);

void encipherBlock(const SealedCodec& codec, uint8_t block[8]);
void decipherBlock(const SealedCodec& codec, uint8_t block[8]);

// Standard CRC-32 (reflected 0xEDB88320). Start with 0 and chain the result;
// with no buffer it returns 0.
uint32_t crc32Update(uint32_t crc, size_t length, const uint8_t* bytes);

// Whole-buffer helpers over seal/unseal with kSealCycles. unsealBytes leaves
// `payload` empty when it fails, never a partial prefix.
bool sealBytes(const std::string& payload, std::string& sealed);
bool sealBytesAt(const std::string& payload, std::time_t seconds, std::string& sealed);
bool unsealBytes(const std::string& sealed, std::string& payload);
