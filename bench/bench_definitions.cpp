// Figures for the definition data: seal and unseal throughput, unseal and
// parse of a 16 KB definition text, and with the built-in table the start-up
// load (unseal, parse, choice counts), one pass of the parameter list rules
// as a rebuild after a language switch runs them, and the translator's lint.
#include "defs/definition_parser.h"
#include "defs/definition_store.h"
#include "defs/sealed_codec.h"
#include "params/parameter_list.h"
#include "tools/common/windows1250.h"
#include "tools/sqctool/defs_lint.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

template <class F>
double msPerRun(F f, int runs) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < runs; ++i) f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / runs;
}

// What a rebuild asks of the rules for every parameter of the list.
size_t rebuildPass(const DefinitionStore& store, const ChoiceCountMap& counts) {
    size_t texts = static_cast<size_t>(countVisibleParameters(store));
    forEachParameter(store, [&](int32_t n, const Row& row) {
        texts += displayedCaption(n, row.front()).size();
        if (isVisibleCaption(row.front())) texts += choiceTexts(store, counts, n).size();
    });
    return texts;
}

void loadBuiltIn(DefinitionStore& store, ChoiceCountMap& counts) {
    loadDefinitionsFrom(store, SealedDefinitionTable);
    fillChoiceCountsFromDefinitions(store, counts);
}

}  // namespace

int main() {
    std::string big(4 * 1024 * 1024, '\0'), sealed, back;
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 131 + 7);
    for (const bool sealing : {true, false}) {
        const double ms = msPerRun([&] { sealing ? sealBytes(big, sealed) : unsealBytes(sealed, back); }, 3);
        std::printf("%-7s %.1f MB/s (%.0f ms for %.1f MB)\n", sealing ? "seal:" : "unseal:", big.size() / ms / 1e3, ms,
                    big.size() / 1e6);
    }
    if (back != big) {
        std::printf("seal/unseal round trip FAILED\n");
        return 1;
    }

    std::string payload;
    DefinitionStore store;
    ChoiceCountMap startCounts;
    unsealDefinitionTable(SealedDefinitionTable, payload);
    loadBuiltIn(store, startCounts);
    if (!store.database) return 1;
    std::printf("built-in table: %zu bytes of text, %zu languages, %zu variants\n", payload.size(),
                store.database->languages.size(), store.database->variants.size());

    const std::string text = payload.substr(0, payload.rfind('\n', 16 * 1024) + 1);  // its first lines up to 16 KB
    sealBytes(text, sealed);
    size_t languages = 0;
    const double sixteen = msPerRun([&] {
        std::string plain;
        unsealBytes(sealed, plain);
        languages += parseDefinitions(plain).languages.size();
    }, 200);
    std::printf("unseal+parse of a %zu-byte definition text: %.3f ms\n", text.size(), sixteen);
    std::printf("start-up load (unseal + parse + choice counts): %.3f ms\n", msPerRun([] {
        DefinitionStore loaded;
        ChoiceCountMap counts;
        loadBuiltIn(loaded, counts);
    }, 200));

    std::vector<int32_t> variants{0};
    for (int32_t v : store.database->variants)
        if (v != 0) variants.push_back(v);
    size_t sink = 0;
    for (const std::string& language : languageNames(store)) {
        selectLanguage(store, language);
        for (int32_t variant : variants) {
            store.currentVariant = variant;
            const double pass = msPerRun([&] { sink += rebuildPass(store, startCounts); }, 200);
            std::printf("rules pass %-8s variant %3d: %3d parameters, %.3f ms\n", language.c_str(), variant,
                        parameterListLength(store), pass);
        }
    }
    const std::string source = windows1250ToUtf8(payload);
    std::printf("lint of the built-in table: %.3f ms\n", msPerRun([&] { lintDefinitionSource(source); }, 20));
    return 0;
}
