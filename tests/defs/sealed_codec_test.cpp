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

TEST(XteaBlock, ZeroCyclesLeavesTheBlockAlone) {
    SealedCodec codec;
    codec.cycles = 0;
    auto block = fromHex("0102030405060708");
    encipherBlock(codec, block.data());
    decipherBlock(codec, block.data());
    EXPECT_EQ(block, fromHex("0102030405060708"));
}

TEST(Crc32, StandardValuesAndChaining) {
    const std::string digits = "123456789";
    auto p = reinterpret_cast<const uint8_t*>(digits.data());
    EXPECT_EQ(crc32Update(0, 9, p), 0xCBF43926u);
    EXPECT_EQ(crc32Update(crc32Update(0, 4, p), 5, p + 4), 0xCBF43926u);
    EXPECT_EQ(crc32Update(0, 0, p), 0u);
    EXPECT_EQ(crc32Update(1234, 0, nullptr), 0u);
}

TEST(SealRoundTrip, EveryLengthClassAndALongPayload) {
    std::vector<size_t> lengths;
    for (size_t n = 0; n <= 20; ++n) lengths.push_back(n);
    lengths.push_back(100000);
    for (size_t n : lengths) {
        const std::string payload = payloadOfLength(n);
        const std::string s = sealed(payload);
        EXPECT_EQ(s.size(), 8 * (n / 7) + 24) << n;
        std::string back;
        EXPECT_TRUE(unsealBytes(s, back)) << n;
        EXPECT_EQ(back, payload) << n;
    }
}

TEST(SealLayout, EmptyPayloadHasOneFillerBlockLengthZeroAndCrcZero) {
    const std::string s = sealed("");
    ASSERT_EQ(s.size(), 24u);
    SealedCodec codec;
    const uint32_t seed = le32(reinterpret_cast<const uint8_t*>(s.data()));
    for (int i = 0; i < 4; ++i) codec.key[i] = seed ^ keyMasks[i];
    uint8_t data[8], end[8];
    memcpy(data, s.data() + 4, 8);
    memcpy(end, s.data() + 12, 8);
    decipherBlock(codec, data);
    decipherBlock(codec, end);
    EXPECT_NE(data[0], 0);
    EXPECT_EQ(end[0], 0);
    EXPECT_EQ(le32(end + 1), 0u);
    EXPECT_EQ(le32(reinterpret_cast<const uint8_t*>(s.data()) + 20), 0u);
}

TEST(SealLayout, EveryDataBlockCarriesANonZeroMarker) {
    for (size_t n : {0u, 6u, 7u, 14u, 50u}) {
        for (std::time_t t = 0; t < 40; ++t) {
            const std::string s = sealed(payloadOfLength(n), t);
            SealedCodec codec;
            const uint32_t seed = le32(reinterpret_cast<const uint8_t*>(s.data()));
            for (int i = 0; i < 4; ++i) codec.key[i] = seed ^ keyMasks[i];
            for (size_t b = 0; b <= n / 7; ++b) {
                uint8_t block[8];
                memcpy(block, s.data() + 4 + 8 * b, 8);
                decipherBlock(codec, block);
                ASSERT_NE(block[0], 0) << "length " << n << " block " << b << " second " << t;
            }
        }
    }
}

TEST(SealDeterminism, SameSecondSameBytesOtherSecondOtherBytes) {
    const std::string payload = payloadOfLength(33);
    EXPECT_EQ(sealed(payload, 1700000000), sealed(payload, 1700000000));
    EXPECT_NE(sealed(payload, 1700000000), sealed(payload, 1700000001));
}

TEST(UnsealRejects, EveryTruncationBeforeTheEndBlockIsComplete) {
    for (size_t n : {0u, 5u, 7u, 30u}) {
        const std::string s = sealed(payloadOfLength(n));
        for (size_t cut = 0; cut < s.size() - 4; ++cut)
            EXPECT_FALSE(unsealRaw(s.substr(0, cut))) << "length " << n << " cut " << cut;
    }
}

TEST(UnsealRejects, AnySingleChangedByte) {
    const std::string payload = payloadOfLength(40);
    const std::string s = sealed(payload);
    for (size_t i = 0; i < s.size(); ++i) {
        for (uint8_t flip : {0x01, 0x80, 0xFF}) {
            std::string damaged = s;
            damaged[i] = static_cast<char>(damaged[i] ^ flip);
            std::string out = "stale";
            EXPECT_FALSE(unsealBytes(damaged, out)) << "byte " << i;
            EXPECT_TRUE(out.empty()) << "a failed unseal must not hand back a prefix";
        }
    }
}

TEST(UnsealEdge, EndBlockRightAfterTheSeed) {
    // No data block: accepted as an empty payload for lengths -7..0 with CRC 0.
    const std::string zeroCrc("\0\0\0\0", 4);
    for (int32_t length : {0, -3, -7}) {
        std::string out;
        EXPECT_TRUE(unsealRaw(handMade(0x12345678, {endBlock(length)}, zeroCrc), &out)) << length;
        EXPECT_TRUE(out.empty());
    }
    EXPECT_FALSE(unsealRaw(handMade(0x12345678, {endBlock(1)}, zeroCrc)));
    EXPECT_FALSE(unsealRaw(handMade(0x12345678, {endBlock(-8)}, zeroCrc)));
    EXPECT_FALSE(unsealRaw(handMade(0x12345678, {endBlock(0)}, std::string("\1\0\0\0", 4))));
}

TEST(UnsealEdge, MissingCrcSucceedsOnlyForAnEmptyPayload) {
    const std::string empty = sealed("");
    EXPECT_TRUE(unsealRaw(empty.substr(0, empty.size() - 4)));
    const std::string some = sealed("abc");
    EXPECT_FALSE(unsealRaw(some.substr(0, some.size() - 4)));
    // Part of a CRC: the missing bytes count as zero.
    EXPECT_FALSE(unsealRaw(some.substr(0, some.size() - 2)));
}

TEST(UnsealEdge, LengthBeyondTheDataBlocksIsRejected) {
    std::vector<uint8_t> data = {1, 'a', 'b', 'c', 'd', 'e', 'f', 'g'};
    const uint8_t* p = data.data() + 1;
    std::string crc7(4, '\0');
    const uint32_t c = crc32Update(0, 7, p);
    for (int i = 0; i < 4; ++i) crc7[i] = char(c >> (8 * i));
    // Two data blocks (T = 14) carrying "abcdefg" and filler: length 7 is the
    // honest value; 15 exceeds T, 6 falls below T - 7.
    std::vector<uint8_t> filler = {9, 0, 0, 0, 0, 0, 0, 0};
    std::string out;
    EXPECT_TRUE(unsealRaw(handMade(7, {data, filler, endBlock(7)}, crc7), &out));
    EXPECT_EQ(out, "abcdefg");
    EXPECT_FALSE(unsealRaw(handMade(7, {data, filler, endBlock(15)}, crc7)));
    EXPECT_FALSE(unsealRaw(handMade(7, {data, filler, endBlock(6)}, crc7)));
}

TEST(UnsealEdge, OtherMasksOrCyclesDoNotOpen) {
    const std::string s = sealed("configuration");
    std::istringstream in(s);
    std::ostringstream out;
    SealedCodec codec;
    codec.cycles = 32;
    EXPECT_FALSE(unseal(codec, in, out));
}

// A stream whose device fails part-way: it hands out `bytes`, then the
// next read fails (the stream goes bad), as a file on a failing disk does.
class FailingSource : public std::streambuf {
public:
    explicit FailingSource(std::string bytes) : bytes_(std::move(bytes)) {
        setg(bytes_.data(), bytes_.data(), bytes_.data() + bytes_.size());
    }

protected:
    int_type underflow() override { throw std::runtime_error("read error"); }

private:
    std::string bytes_;
};

// A sink that takes `room` bytes, then refuses every further write, as a
// full disk does.
class FullSink : public std::streambuf {
public:
    explicit FullSink(size_t room) : room_(room) {}
    std::string taken;

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof()) || taken.size() >= room_) return traits_type::eof();
        taken += traits_type::to_char_type(c);
        return c;
    }

private:
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
    for (size_t room : {size_t(0), size_t(10), size_t(29)}) {
        std::istringstream in(s);
        FullSink sink(room);
        std::ostream out(&sink);
        SealedCodec codec;
        EXPECT_FALSE(unseal(codec, in, out)) << "room for " << room << " of 30 bytes";
        EXPECT_EQ(sink.taken, payload.substr(0, room));
    }
    std::istringstream in(s);
    FullSink sink(30);
    std::ostream out(&sink);
    SealedCodec codec;
    EXPECT_TRUE(unseal(codec, in, out)) << "exactly enough room";
    EXPECT_EQ(sink.taken, payload);
}

}  // namespace
