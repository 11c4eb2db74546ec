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

// Builds a stream by hand from plain blocks, enciphered with the system key.
std::string handMade(uint32_t seed, const std::vector<std::vector<uint8_t>>& blocks, const std::string& tail) {
    SealedCodec codec;
    for (int i = 0; i < 4; ++i) codec.key[i] = seed ^ keyMasks[i];
    std::string s;
    for (int i = 0; i < 4; ++i) s.push_back(char(seed >> (8 * i)));
    for (auto b : blocks) {
        encipherBlock(codec, b.data());
        s.append(reinterpret_cast<const char*>(b.data()), 8);
    }
    return s + tail;
}

std::vector<uint8_t> endBlock(int32_t length) {
    uint32_t v = static_cast<uint32_t>(length);
    return {0, uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24), 1, 2, 3};
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

// Every length class modulo 7, a long payload, and several seeding seconds:
// a data block whose marker came out 0 would read as the end block.
TEST(SealRoundTrip, EveryLengthClassAndSeedingSecond) {
    for (size_t n : {0u, 1u, 6u, 7u, 8u, 13u, 14u, 15u, 20u, 50u, 100000u}) {
        const std::string payload = payloadOfLength(n);
        for (std::time_t t = 0; t < (n < 1000 ? 40 : 1); ++t) {
            const std::string s = sealed(payload, t);
            ASSERT_EQ(s.size(), 8 * (n / 7) + 24) << n;
            std::string back;
            ASSERT_TRUE(unsealBytes(s, back)) << "length " << n << " second " << t;
            ASSERT_EQ(back, payload) << "length " << n << " second " << t;
        }
    }
    EXPECT_EQ(sealed("abc", 1700000000), sealed("abc", 1700000000)) << "same second, same bytes";
    EXPECT_NE(sealed("abc", 1700000000), sealed("abc", 1700000001));
}

// A stream sealed earlier must keep opening: seed, key masks, cycle count,
// block layout and CRC are the file format.
TEST(SealFormat, AKnownStreamOpens) {
    const auto known = fromHex("b7938e9047c0ad7cb7737acda49ae3ccd608ff42bfb8fa55");
    std::string payload;
    EXPECT_TRUE(unsealRaw(std::string(known.begin(), known.end()), &payload));
    EXPECT_EQ(payload, "Quill");
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

// Streams around the end block: the length must fit the data blocks (T
// bytes: T - 7 < length <= T, or -7..0 with none) and the CRC must follow.
TEST(UnsealEdge, EndBlockLengthAndCrc) {
    const std::vector<uint8_t> data = {1, 'a', 'b', 'c', 'd', 'e', 'f', 'g'}, filler = {9, 0, 0, 0, 0, 0, 0, 0};
    std::string crc7(4, '\0'), zero(4, '\0');
    const uint32_t crc = crc32Update(0, 7, data.data() + 1);
    for (int i = 0; i < 4; ++i) crc7[i] = char(crc >> (8 * i));
    const std::string empty = sealed(""), some = sealed("abc");
    struct Case { const char* what; std::string stream; bool ok; const char* payload; };
    const Case cases[] = {
        {"no data, length 0", handMade(0x12345678, {endBlock(0)}, zero), true, ""},
        {"no data, length -3", handMade(0x12345678, {endBlock(-3)}, zero), true, ""},
        {"no data, length -7", handMade(0x12345678, {endBlock(-7)}, zero), true, ""},
        {"no data, length 1", handMade(0x12345678, {endBlock(1)}, zero), false, ""},
        {"no data, length -8", handMade(0x12345678, {endBlock(-8)}, zero), false, ""},
        {"no data, CRC 1", handMade(0x12345678, {endBlock(0)}, std::string("\1\0\0\0", 4)), false, ""},
        {"T = 14, honest length 7", handMade(7, {data, filler, endBlock(7)}, crc7), true, "abcdefg"},
        {"length beyond T", handMade(7, {data, filler, endBlock(15)}, crc7), false, ""},
        {"length below T - 7", handMade(7, {data, filler, endBlock(6)}, crc7), false, ""},
        // T - 7 bytes delivered as a T-byte payload, or nothing as 7 bytes.
        {"length T", handMade(7, {data, filler, endBlock(14)}, crc7), false, ""},
        {"one data block, length T", handMade(7, {filler, endBlock(7)}, zero), false, ""},
        {"empty payload, CRC missing", empty.substr(0, empty.size() - 4), true, ""},
        {"payload, CRC missing", some.substr(0, some.size() - 4), false, ""},
        {"part of a CRC: the rest counts as zero", some.substr(0, some.size() - 2), false, ""},
    };
    for (const Case& c : cases) {
        std::string out;
        EXPECT_EQ(unsealRaw(c.stream, &out), c.ok) << c.what;
        if (c.ok) {
            EXPECT_EQ(out, c.payload) << c.what;
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
