// Figures for the definition data path: the container's seal and unseal
// throughput, unseal and parse of a 16 KB definition text, and with the
// table built into the program the start-up load
// (unseal, parse, choice counts), one pass of the parameter list rules as a
// rebuild after a language switch runs them, and the translator's lint.
#include "defs/definition_parser.h"
#include "defs/definition_store.h"
#include "defs/sealed_codec.h"
#include "params/parameter_list.h"
#include "tools/sqctool/defs_lint.h"
#include "tools/common/windows1250.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

template <class F>
double msPerRun(F f, int runs) {
    const auto start = Clock::now();
    for (int i = 0; i < runs; ++i) f();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count() / runs;
}

// What a rebuild asks of the rules for every parameter of the list.
size_t rebuildPass(const DefinitionStore& store, const ChoiceCountMap& counts) {
    size_t texts = 0;
    forEachParameter(store, [&](int32_t n, const Row& row) {
        texts += displayedCaption(n, row.front()).size();
        if (isVisibleCaption(row.front())) texts += choiceTexts(store, counts, n).size();
    });
    return texts + static_cast<size_t>(countVisibleParameters(store));
}

// Seal and unseal over 4 MB; false when the round trip fails.
bool codecThroughput() {
    std::string big(4 * 1024 * 1024, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 131 + 7);
    std::string sealed, back;
    const double sealMs = msPerRun([&] { sealBytes(big, sealed); }, 3);
    const double unsealMs = msPerRun([&] { unsealBytes(sealed, back); }, 3);
    const double mb = big.size() / 1e6;
    std::printf("seal:   %.1f MB/s (%.0f ms for %.1f MB)\n", mb / sealMs * 1e3, sealMs, mb);
    std::printf("unseal: %.1f MB/s (%.0f ms for %.1f MB)\n", mb / unsealMs * 1e3, unsealMs, mb);
    return back == big;
}

// Unseal and parse of a definition text of 16 KB: the built-in table's
// first lines up to that size.
void sixteenKilobyteLoad(const std::string& payload) {
    const std::string text = payload.substr(0, payload.rfind('\n', 16 * 1024) + 1);
    std::string sealed;
    sealBytes(text, sealed);
    size_t languages = 0;
    const double ms = msPerRun([&] {
        std::string plain;
        unsealBytes(sealed, plain);
        languages += parseDefinitions(plain).languages.size();
    }, 200);
    std::printf("unseal+parse of a %zu-byte definition text: %.3f ms\n", text.size(), ms);
}

}  // namespace

int main() {
    if (!codecThroughput()) {
        std::printf("seal/unseal round trip FAILED\n");
        return 1;
    }
    std::string payload;
    unsealDefinitionTable(SealedDefinitionTable, payload);
    DefinitionStore store;
    ChoiceCountMap startCounts;
    loadDefinitionsFrom(store, SealedDefinitionTable);
    fillChoiceCountsFromDefinitions(store, startCounts);
    std::printf("built-in table: %zu bytes of text, %zu languages, %zu variants\n", payload.size(),
                store.database ? store.database->languages.size() : 0,
                store.database ? store.database->variants.size() : 0);
    sixteenKilobyteLoad(payload);

    const double load = msPerRun([] {
        DefinitionStore loaded;
        ChoiceCountMap counts;
        loadDefinitionsFrom(loaded, SealedDefinitionTable);
        fillChoiceCountsFromDefinitions(loaded, counts);
    }, 200);
    std::printf("start-up load (unseal + parse + choice counts): %.3f ms\n", load);

    if (!store.database) return 1;
    for (const std::string& language : languageNames(store)) {
        selectLanguage(store, language);
        std::vector<int32_t> variants{0};
        for (int32_t v : store.database->variants)
            if (v != 0) variants.push_back(v);
        for (int32_t variant : variants) {
            store.currentVariant = variant;
            size_t sink = 0;
            const double pass = msPerRun([&] { sink += rebuildPass(store, startCounts); }, 200);
            std::printf("rules pass %-8s variant %3d: %3d parameters, %.3f ms\n", language.c_str(), store.currentVariant,
                        parameterListLength(store), pass);
        }
    }

    const std::string source = windows1250ToUtf8(payload);
    const double lint = msPerRun([&] { lintDefinitionSource(source); }, 20);
    std::printf("lint of the built-in table: %.3f ms\n", lint);
    return 0;
}
