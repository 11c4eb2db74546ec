// Figures for the definition data path: how long start-up spends unsealing
// and parsing a definition text of about 16 KB, and the raw seal/unseal
// throughput of the container.
#include "defs/definition_parser.h"
#include "defs/sealed_codec.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

// A definition text shaped like the shipped one: three languages, a few
// variants, parameter rows with choices.
std::string sampleDefinitions(size_t targetBytes) {
    std::string text;
    const char* languages[] = {"English", "Deutsch", "Polski"};
    int language = 0;
    while (text.size() < targetBytes) {
        text += std::string("Y;\"") + languages[language++ % 3] + "\"\n";
        text += "Q;\"Save\";\"Open\";\"Print\";\"Language\";\"About\";\"Exit\"\n";
        for (int v : {100, 105, 200}) {
            text += "V;" + std::to_string(v) + "\nXI;\"%d\"\n";
            for (int p = 1; p <= 12 && text.size() < targetBytes; ++p)
                text += "X;\"Parameter caption number\";\"Disabled\";\"Enabled\";\"10 s\";\"20 s\"\n";
        }
    }
    return text;
}

template <class F>
double secondsPerRun(F f, int runs) {
    const auto start = Clock::now();
    for (int i = 0; i < runs; ++i) f();
    return std::chrono::duration<double>(Clock::now() - start).count() / runs;
}

}  // namespace

int main() {
    const std::string text = sampleDefinitions(16 * 1024);
    std::string sealed;
    sealBytes(text, sealed);
    size_t rows = 0;
    const double load = secondsPerRun([&] {
        std::string plain;
        unsealBytes(sealed, plain);
        rows = parseDefinitions(plain).languages.size();
    }, 200);
    std::printf("unseal+parse of %zu bytes of definitions (%zu languages): %.3f ms\n", text.size(), rows,
                load * 1e3);

    std::string big(4 * 1024 * 1024, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 131 + 7);
    std::string bigSealed, back;
    const double sealTime = secondsPerRun([&] { sealBytes(big, bigSealed); }, 3);
    const double unsealTime = secondsPerRun([&] { unsealBytes(bigSealed, back); }, 3);
    const double mb = big.size() / 1e6;
    std::printf("seal:   %.1f MB/s (%.0f ms for %.1f MB)\n", mb / sealTime, sealTime * 1e3, mb);
    std::printf("unseal: %.1f MB/s (%.0f ms for %.1f MB)%s\n", mb / unsealTime, unsealTime * 1e3, mb,
                back == big ? "" : "  ROUND TRIP FAILED");
    return back == big ? 0 : 1;
}
