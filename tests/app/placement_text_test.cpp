#include "app/placement_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

PlacementRecord sampleRecord() {
    PlacementRecord r;
    r.length = 44;
    r.flags = 0;
    r.showCmd = 3;  // maximised
    r.minX = r.minY = r.maxX = r.maxY = -1;
    r.left = 100;
    r.top = 120;
    r.right = 700;
    r.bottom = 560;
    return r;
}

// The record is eleven 32-bit fields without padding.
bool sameRecord(const PlacementRecord& a, const PlacementRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::string lowered(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

TEST(PlacementText, EncodesEightyEightUpperCaseDigitsInMemoryOrder) {
    const std::string text = encodePlacementText(sampleRecord());
    ASSERT_EQ(text.size(), 88u);
    EXPECT_EQ(text.substr(0, 8), "2C000000");
    EXPECT_EQ(text.substr(16, 8), "03000000");
    EXPECT_EQ(text.substr(24, 8), "FFFFFFFF");
    EXPECT_EQ(text.substr(56, 8), "64000000");  // left 100, little-endian
    EXPECT_EQ(text.substr(80, 8), "30020000");  // bottom 560
    EXPECT_EQ(text.find_first_not_of("0123456789ABCDEF"), std::string::npos);
}

TEST(PlacementText, AcceptedForms) {
    const std::string stored = encodePlacementText(sampleRecord());
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"as written", stored},
        {"lower case", lowered(stored)},
        {"89th character ignored", stored + "Z"},
        {"89th character a digit", stored + "7"},
    };
    for (const auto& c : cases) {
        PlacementRecord decoded;
        ASSERT_TRUE(decodePlacementText(c.text, decoded)) << c.name;
        EXPECT_TRUE(sameRecord(decoded, sampleRecord())) << c.name;
    }
}

TEST(PlacementText, RejectedFormsLeaveTheRecordAlone) {
    const std::string stored = encodePlacementText(sampleRecord());
    std::string wrongLength = stored;
    wrongLength.replace(0, 2, "2D");
    std::string nonHexPair = stored;
    nonHexPair[41] = 'G';
    std::string signInPair = stored;
    signInPair.replace(60, 2, "-1");
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"empty", ""},
        {"87 characters", stored.substr(0, 87)},
        {"90 characters", stored + "00"},
        {"176 characters", stored + stored},
        {"length field 45", wrongLength},
        {"length field 0", std::string(88, '0')},
        {"non-hexadecimal pair", nonHexPair},
        {"sign inside a pair", signInPair},
        {"space inside", stored.substr(0, 10) + " " + stored.substr(11)},
    };
    for (const auto& c : cases) {
        PlacementRecord untouched = sampleRecord();
        untouched.left = 7;
        PlacementRecord decoded = untouched;
        EXPECT_FALSE(decodePlacementText(c.text, decoded)) << c.name;
        EXPECT_TRUE(sameRecord(decoded, untouched)) << c.name;
    }
}

TEST(PlacementText, StoredShowStatesComeBackExceptHidden) {
    const struct {
        int32_t stored, applied;
    } cases[] = {{0, 1}, {1, 1}, {2, 2}, {3, 3}, {7, 7}};
    for (const auto& c : cases) {
        PlacementRecord r = sampleRecord();
        r.showCmd = c.stored;
        PlacementRecord decoded;
        ASSERT_TRUE(decodePlacementText(encodePlacementText(r), decoded));
        EXPECT_EQ(decoded.showCmd, c.applied) << "stored " << c.stored;
    }
}

}  // namespace
