#include "app/placement_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

const PlacementRecord kMaximised = {44, 0, 3, -1, -1, -1, -1, 100, 120, 700, 560};
const std::string kStored = "2C000000" "00000000" "03000000" "FFFFFFFF" "FFFFFFFF" "FFFFFFFF" "FFFFFFFF"
                            "64000000" "78000000" "BC020000" "30020000";

// The record is eleven 32-bit fields without padding.
bool sameRecord(const PlacementRecord& a, const PlacementRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::string with(std::string text, size_t at, const std::string& part) { return text.replace(at, part.size(), part); }

// Stored show states come back but hidden, which opens normally.
TEST(PlacementText, EncodedInUpperCaseMemoryOrderReadInAnyCaseRejectedFormsLeaveTheRecordAlone) {
    EXPECT_EQ(encodePlacementText(kMaximised), kStored);
    std::string lower = kStored;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    for (const std::string& text : {kStored, lower, kStored + "Z", kStored + "7"}) {
        PlacementRecord decoded;
        ASSERT_TRUE(decodePlacementText(text, decoded)) << text;
        EXPECT_TRUE(sameRecord(decoded, kMaximised)) << text;
    }
    for (const auto& [stored, applied] : {std::pair{0, 1}, {1, 1}, {3, 3}, {7, 7}}) {
        PlacementRecord r = kMaximised, decoded;
        r.showCmd = stored;
        ASSERT_TRUE(decodePlacementText(encodePlacementText(r), decoded));
        EXPECT_EQ(decoded.showCmd, applied) << "stored " << stored;
    }
    const struct { const char* name; std::string text; } cases[] = {
        {"empty", ""}, {"87 characters", kStored.substr(0, 87)}, {"90 characters", kStored + "00"},
        {"176 characters", kStored + kStored}, {"length field 45", with(kStored, 0, "2D")},
        {"length field 0", std::string(88, '0')}, {"non-hexadecimal pair", with(kStored, 41, "G")},
        {"sign inside a pair", with(kStored, 60, "-1")}, {"space inside", with(kStored, 10, " ")}};
    for (const auto& c : cases) {
        PlacementRecord untouched = kMaximised;
        untouched.left = 7;
        PlacementRecord decoded = untouched;
        EXPECT_FALSE(decodePlacementText(c.text, decoded)) << c.name;
        EXPECT_TRUE(sameRecord(decoded, untouched)) << c.name;
    }
}

}  // namespace
