// What the fuzz targets share: the check that turns a broken property into a
// finding (libFuzzer saves the input that aborted), and a reader that takes
// structure off the front of the fuzzer's bytes.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

[[noreturn]] inline void propertyBroken(const char* file, int line, const char* what) {
    std::fprintf(stderr, "property broken at %s:%d: %s\n", file, line, what);
    std::abort();
}
#define FUZZ_CHECK(condition, what) ((condition) ? void(0) : propertyBroken(__FILE__, __LINE__, what))

// Hands out the input front to back; past its end every value is 0 and
// every string empty, so a target never reads outside the input.
struct FuzzInput {
    const uint8_t* data;
    size_t size;

    uint8_t byte() { return size == 0 ? 0 : (--size, *data++); }
    uint32_t word() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= uint32_t(byte()) << (8 * i);
        return v;
    }
    std::string take(size_t n) {
        n = std::min(n, size);
        std::string s(reinterpret_cast<const char*>(data), n);
        data += n, size -= n;
        return s;
    }
    std::string rest() { return take(size); }
};
