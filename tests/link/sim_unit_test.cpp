// The numbers of the simulated unit's state file and command line. Its
// answers, fault switches (its noise never looking like a frame start or a
// refusal: the transaction test's noise row sends every noise byte) and
// state file are exercised through the link tests.
#include "tools/quill-sim/sim_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A number is the whole text: blanks, a sign, or anything after the digits
// (an embedded NUL included) make it no number.
TEST(SimNumber, TheWholeTextIsTheNumber) {
    using namespace std::string_literals;
    const struct { std::string text; bool ok; int64_t value; } cases[] = {
        {"0", true, 0},      {"255", true, 255}, {"0x1f", true, 31},  {"0XFF", true, 255}, {"256", false, 0},
        {"0x100", false, 0}, {"", false, 0},     {"0x", false, 0},    {"3\0"s, false, 0}, {"3\0009"s, false, 0},
        {" 3", false, 0},    {"3 ", false, 0},   {"+3", false, 0},    {"0x-1", false, 0},  {"1e2", false, 0},
        {"99999999999999999999", false, 0},
    };
    for (const auto& c : cases) {
        int64_t value = -1;
        EXPECT_EQ(parseSimNumber(c.text, 255, value), c.ok) << "'" << c.text << "'";
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

}  // namespace
