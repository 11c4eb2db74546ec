#include "app/dialog_rules.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(DialogRules, CentredInTheParentAndEntriesOfTheRequiredLengthAndDigits) {
    const struct { const char* name; ScreenRect dialog, parent; int32_t x, y; } cases[] = {
        {"smaller, even difference", {0, 0, 200, 100}, {100, 50, 700, 450}, 300, 200},
        {"odd difference truncates", {0, 0, 201, 101}, {0, 0, 600, 400}, 199, 149},
        {"same size", {5, 5, 305, 205}, {40, 60, 340, 260}, 40, 60},
        {"wider: overhangs by half", {0, 0, 374, 100}, {100, 100, 420, 500}, 73, 250},
        {"wider, odd: toward zero", {0, 0, 375, 100}, {100, 100, 420, 500}, 73, 250},
        {"taller too", {0, 0, 100, 301}, {0, 0, 50, 100}, -25, -100},
        {"negative screen coordinates", {0, 0, 100, 100}, {-500, -300, -100, -100}, -350, -250},
        {"dialog position is irrelevant", {900, 900, 1100, 1000}, {0, 0, 600, 400}, 200, 150},
        // A stored placement may hold any 32-bit coordinates.
        {"parent spanning the whole range", {0, 0, 100, 100}, {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, -51, -51},
        {"far corner, huge dialog: limited", {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX},
         {INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN}, INT32_MIN, INT32_MIN},
        {"inverted dialog at the top end: limited", {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN},
         {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX}, INT32_MAX, INT32_MAX}};
    for (const auto& c : cases) {
        const ScreenPoint p = centredOrigin(c.dialog, c.parent);
        EXPECT_EQ(std::make_pair(p.x, p.y), std::make_pair(c.x, c.y)) << c.name;
    }
    const struct { int32_t required; const char* entered; bool ok; } entries[] = {
        {6, "", false},       {6, "12345", false}, {6, "123456", true}, {6, "1234567", false}, {6, "12345a", false},
        {6, "12 456", false}, {-1, "", true},      {-1, "12", true},    {-1, "1", true},       {-1, "1x", false},
        {-1, "-1", false},    {0, "", true},       {-1, "123456789012345", true}};
    for (const auto& c : entries)
        EXPECT_EQ(entryAcceptable(c.required, c.entered), c.ok) << c.required << " '" << c.entered << "'";
}

}  // namespace
