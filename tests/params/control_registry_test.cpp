#include "params/control_registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

WindowHandle fakeWindow(uintptr_t n) { return reinterpret_cast<WindowHandle>(n); }

ControlRecord record(uintptr_t first, uintptr_t second = 0) {
    ControlRecord r;
    r.firstWindow = fakeWindow(first);
    r.secondWindow = fakeWindow(second);
    return r;
}

TEST(ControlRegistry, LookupsNeverAddRecords) {
    ControlMap map;
    storeControl(map, 5003, record(1, 2));
    EXPECT_EQ(findControl(map, 5004), nullptr);
    EXPECT_EQ(map.size(), 1u) << "a lookup added a record";
    removeControl(map, 5003);
    removeControl(map, 5003);  // removing what is gone is harmless
    EXPECT_TRUE(map.empty());
}

std::vector<int32_t> walk(const ControlMap& rows) {
    std::vector<int32_t> visited;
    forEachParameterRow(rows, [&](int32_t n, const ControlRecord&) { visited.push_back(n); });
    return visited;
}

TEST(ControlRegistry, ParameterRowWalk) {
    struct Case { const char* what; std::vector<int32_t> keys; size_t visited; };
    const Case cases[] = {
        {"empty", {}, 0},
        {"contiguous", {1, 2, 3}, 3},
        {"stops at the first missing record", {1, 2, 4, 5}, 2},
        {"needs a record for 1", {0, 2, 3}, 0},
        {"ends at 999", {}, 999},
    };
    for (const Case& c : cases) {
        ControlMap rows;
        for (int32_t key : c.keys) storeControl(rows, key, record(1));
        if (c.visited == 999)
            for (int32_t n = 1; n <= 1005; ++n) storeControl(rows, n, record(1));
        const std::vector<int32_t> visited = walk(rows);
        ASSERT_EQ(visited.size(), c.visited) << c.what;
        for (size_t i = 0; i < visited.size(); ++i) EXPECT_EQ(visited[i], static_cast<int32_t>(i) + 1) << c.what;
    }
}

}  // namespace
