#include "defs/sealed_codec.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> fromHex(const std::string& hex) {
    std::vector<uint8_t> out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) out.push_back(uint8_t(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return out;
}

uint32_t le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

std::string payloadOfLength(size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s.push_back(static_cast<char>((i * 37 + 11) & 0xFF));
    return s;
}

std::string sealed(const std::string& payload, std::time_t at = 1700000000) {
    std::string out;
    EXPECT_TRUE(sealBytesAt(payload, at, out));
    return out;
}

// Unseals with the raw stream interface, so a failing case shows whether the
// codec itself reports it (the helper also hides partial output).
bool unsealRaw(const std::string& stream, std::string* payload = nullptr) {
    std::istringstream in(stream);
    std::ostringstream out;
    SealedCodec codec;
    codec.cycles = kSealCycles;
    const bool ok = unseal(codec, in, out);
    if (payload) *payload = out.str();
    return ok;
}

TEST(XteaBlock, KnownAnswersWith32Cycles) {
    struct Case { const char* key; const char* plain; const char* cipher; };
    const Case cases[] = {
        {"2b02056806144976775d0e266c287843", "74657374206d652e", "94ebc896846a49a8"},
        {"00000000000000000000000000000000", "4141414141414141", "5a3723ed2d8c1a82"},
    };
    for (const auto& c : cases) {
        SealedCodec codec;
        codec.cycles = 32;
        auto key = fromHex(c.key);
        for (int i = 0; i < 4; ++i) codec.key[i] = le32(&key[4 * i]);
        auto block = fromHex(c.plain);
        encipherBlock(codec, block.data());
        EXPECT_EQ(block, fromHex(c.cipher)) << c.key;
        decipherBlock(codec, block.data());
        EXPECT_EQ(block, fromHex(c.plain)) << c.key;
    }
}

TEST(Crc32, StandardValuesAndChaining) {
    const std::string digits = "123456789";
    auto p = reinterpret_cast<const uint8_t*>(digits.data());
    EXPECT_EQ(crc32Update(0, 9, p), 0xCBF43926u);
    EXPECT_EQ(crc32Update(crc32Update(0, 4, p), 5, p + 4), 0xCBF43926u);
    EXPECT_EQ(crc32Update(0, 0, p), 0u);
}

// A stream sealed earlier must keep opening: seed, key masks, cycle count,
// block layout and CRC are the file format. A new stream's seed comes from
// the second it is sealed in. Round trips, block markers and the end-block
// rules are the fuzz targets' (seal_roundtrip, unseal_structured).
TEST(SealFormat, AKnownStreamOpensAndTheSecondSeedsTheStream) {
    const auto known = fromHex("b7938e9047c0ad7cb7737acda49ae3ccd608ff42bfb8fa55");
    std::string payload;
    EXPECT_TRUE(unsealRaw(std::string(known.begin(), known.end()), &payload));
    EXPECT_EQ(payload, "Quill");
    EXPECT_EQ(sealed("abc", 1700000000), sealed("abc", 1700000000));
    EXPECT_NE(sealed("abc", 1700000000), sealed("abc", 1700000001));
}

// Every cut before the end block is complete, and any single changed byte;
// a failed unseal hands back no prefix.
TEST(UnsealRejects, EveryTruncationAndAnyChangedByte) {
    for (size_t n : {0u, 5u, 7u, 30u}) {
        const std::string s = sealed(payloadOfLength(n));
        for (size_t cut = 0; cut < s.size() - 4; ++cut)
            EXPECT_FALSE(unsealRaw(s.substr(0, cut))) << "length " << n << " cut " << cut;
    }
    const std::string s = sealed(payloadOfLength(40));
    for (size_t i = 0; i < s.size(); ++i) {
        for (uint8_t flip : {0x01, 0x80, 0xFF}) {
            std::string damaged = s, out = "stale";
            damaged[i] = static_cast<char>(damaged[i] ^ flip);
            EXPECT_FALSE(unsealBytes(damaged, out)) << "byte " << i;
            EXPECT_TRUE(out.empty()) << "byte " << i;
        }
    }
}

// A source that hands out `bytes`, then fails (the stream goes bad), as a
// file on a failing disk does.
struct FailingSource : std::streambuf {
    explicit FailingSource(std::string bytes) : bytes_(std::move(bytes)) {
        setg(bytes_.data(), bytes_.data(), bytes_.data() + bytes_.size());
    }
    int_type underflow() override { throw std::runtime_error("read error"); }
    std::string bytes_;
};

// A sink that takes `room` bytes, then refuses every write, as a full disk.
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

TEST(StreamFailures, AnInputThatFailsPartWayIsNotSealedAsComplete) {
    FailingSource source(payloadOfLength(20));
    std::istream in(&source);
    std::ostringstream out;
    SealedCodec codec;
    EXPECT_FALSE(seal(codec, in, out)) << "the first 20 bytes are not the whole payload";
}

TEST(StreamFailures, AnOutputThatCannotTakeThePayloadFailsTheUnseal) {
    const std::string payload = payloadOfLength(30);
    const std::string s = sealed(payload);
    for (size_t room : {0, 10, 29, 30}) {
        std::istringstream in(s);
        FullSink sink(room);
        std::ostream out(&sink);
        SealedCodec codec;
        EXPECT_EQ(unseal(codec, in, out), room == 30) << "room for " << room << " of 30 bytes";
        EXPECT_EQ(sink.taken, payload.substr(0, room));
    }
}

}  // namespace
