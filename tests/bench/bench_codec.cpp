// Seal and unseal throughput of the container over 4 MB. The start-up load
// of the real table (unseal and parse) is bench_definitions'.
#include "defs/sealed_codec.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

template <class F>
double secondsPerRun(F f, int runs) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < runs; ++i) f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / runs;
}

}  // namespace

int main() {
    std::string big(4 * 1024 * 1024, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 131 + 7);
    std::string sealed, back;
    const double sealTime = secondsPerRun([&] { sealBytes(big, sealed); }, 3);
    const double unsealTime = secondsPerRun([&] { unsealBytes(sealed, back); }, 3);
    const double mb = big.size() / 1e6;
    std::printf("seal:   %.1f MB/s (%.0f ms for %.1f MB)\n", mb / sealTime, sealTime * 1e3, mb);
    std::printf("unseal: %.1f MB/s (%.0f ms for %.1f MB)%s\n", mb / unsealTime, unsealTime * 1e3, mb,
                back == big ? "" : "  ROUND TRIP FAILED");
    return back == big ? 0 : 1;
}
