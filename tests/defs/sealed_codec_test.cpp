// The sealed container's known answers and streams failing part-way. Round
// trips, block markers, end-block rules and damaged streams are the fuzz
// targets' (seal_roundtrip, unseal_structured, unseal_raw).
#include "defs/sealed_codec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::string fromHex(const std::string& hex) {
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) out.push_back(char(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return out;
}

std::string sealed(const std::string& payload, std::time_t at = 1700000000) {
    std::string out;
    EXPECT_TRUE(sealBytesAt(payload, at, out));
    return out;
}

TEST(KnownAnswers, XteaBlocksCrc32AndAStreamSealedEarlier) {
    const struct { const char* key; const char* plain; const char* cipher; } cases[] = {
        {"2b02056806144976775d0e266c287843", "74657374206d652e", "94ebc896846a49a8"},
        {"00000000000000000000000000000000", "4141414141414141", "5a3723ed2d8c1a82"}};
    for (const auto& c : cases) {
        SealedCodec codec;
        codec.cycles = 32;
        std::memcpy(codec.key, fromHex(c.key).data(), sizeof codec.key);  // little-endian words, as on both targets
        std::string block = fromHex(c.plain);
        encipherBlock(codec, reinterpret_cast<uint8_t*>(&block[0]));
        EXPECT_EQ(block, fromHex(c.cipher)) << c.key;
        decipherBlock(codec, reinterpret_cast<uint8_t*>(&block[0]));
        EXPECT_EQ(block, fromHex(c.plain)) << c.key;
    }
    const auto p = reinterpret_cast<const uint8_t*>("123456789");
    EXPECT_EQ(crc32Update(0, 9, p), 0xCBF43926u);
    EXPECT_EQ(crc32Update(crc32Update(0, 4, p), 5, p + 4), 0xCBF43926u);
    EXPECT_EQ(crc32Update(0, 0, p), 0u);
    // A stream sealed earlier must keep opening: seed, key masks, cycle count,
    // block layout and CRC are the file format. A new stream's seed comes from
    // the second it is sealed in.
    std::istringstream in(fromHex("b7938e9047c0ad7cb7737acda49ae3ccd608ff42bfb8fa55"));
    std::ostringstream out;
    SealedCodec codec;
    codec.cycles = kSealCycles;
    EXPECT_TRUE(unseal(codec, in, out));
    EXPECT_EQ(out.str(), "Quill");
    EXPECT_EQ(sealed("abc", 1700000000), sealed("abc", 1700000000));
    EXPECT_NE(sealed("abc", 1700000000), sealed("abc", 1700000001));
}

// A source that hands out `bytes`, then fails (the stream goes bad), as a
// file on a failing disk does; a sink that takes `room` bytes, then refuses
// every write, as a full disk does.
struct FailingSource : std::streambuf {
    explicit FailingSource(std::string bytes) : bytes_(std::move(bytes)) {
        setg(bytes_.data(), bytes_.data(), bytes_.data() + bytes_.size());
    }
    int_type underflow() override { throw std::runtime_error("read error"); }
    std::string bytes_;
};
struct FullSink : std::streambuf {
    explicit FullSink(size_t room) : room_(room) {}
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof()) || taken.size() >= room_) return traits_type::eof();
        taken += traits_type::to_char_type(c);
        return c;
    }
    std::string taken;
    size_t room_;
};

TEST(StreamFailures, AnInputFailingPartWayIsNotSealedAndAnOutputWithoutRoomFailsTheUnseal) {
    FailingSource source("twenty bytes of text");
    std::istream failing(&source);
    std::ostringstream sealedOut;
    SealedCodec sealer;
    EXPECT_FALSE(seal(sealer, failing, sealedOut)) << "the first 20 bytes are not the whole payload";
    const std::string payload = "a payload of exactly 30 bytes.";
    for (size_t room : {0, 10, 29, 30}) {
        std::istringstream in(sealed(payload));
        FullSink sink(room);
        std::ostream out(&sink);
        SealedCodec codec;
        EXPECT_EQ(unseal(codec, in, out), room == 30) << "room for " << room << " of 30 bytes";
        EXPECT_EQ(sink.taken, payload.substr(0, room));
    }
}

}  // namespace
