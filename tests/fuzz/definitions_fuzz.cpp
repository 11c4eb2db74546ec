// A damaged or hand-edited definition text through the parser, the store and
// the parameter texts: the three parse entry points agree; the store takes
// what the parser takes up to the first NUL; every stored row (never empty)
// is found with its language and variant selected; choice texts, "XI"
// applied, keep their limits and number as the choice count says.
#include "defs/definition_store.h"
#include "params/parameter_list.h"
#include "tests/fuzz/fuzz_check.h"

#include <algorithm>
#include <climits>
#include <sstream>

namespace {

bool sameDatabase(const DefinitionDatabase& a, const DefinitionDatabase& b) {
    return a.languages == b.languages && a.parseError == b.parseError && a.firstLanguage == b.firstLanguage &&
           a.variants == b.variants;
}

// Every row of `language` through findRow, with the variant its key names.
void checkLookups(DefinitionStore& store, const std::string& language, const LanguageTable& table) {
    std::vector<int32_t> variants = store.database->variants;
    variants.push_back(0);
    selectLanguage(store, language);
    for (const auto& [key, row] : table) {
        FUZZ_CHECK(!row.empty(), "an empty row was stored");
        store.currentVariant = 0;
        bool found = !isVariantKey(key) && findRow(store, key) == &row;
        for (size_t i = 0; !found && isVariantKey(key) && i < variants.size(); ++i) {
            const std::string suffix = "-" + std::to_string(variants[i]);
            const size_t base = key.size() - suffix.size();
            if (key.size() < suffix.size() || key.compare(base, suffix.size(), suffix) != 0) continue;
            store.currentVariant = variants[i];
            found = findRow(store, key.substr(0, base)) == &row;
        }
        FUZZ_CHECK(found, "a row is not found with its language and variant selected");
    }
}

void checkChoiceTexts(DefinitionStore& store, size_t size) {
    const int32_t indices[] = {0, 1, -1, INT32_MIN, INT32_MAX, static_cast<int32_t>(size % 1000)};
    const std::string format = text(store, "XI", 0);
    for (int32_t k : indices) FUZZ_CHECK(formatChoiceIndex(format, k).size() <= 999, "choice index text too long");
    ChoiceCountMap counts;
    forEachParameter(store, [&](int32_t n, const Row& row) {
        FUZZ_CHECK(displayedCaption(n, row.front()).size() <= 499, "caption too long");
        const std::vector<std::string> texts = choiceTexts(store, counts, n);
        FUZZ_CHECK(texts.size() == row.size() - 1, "choice texts and choice count differ");
        for (size_t k = 0; k < texts.size(); ++k) {
            const std::string& entry = row[k + 1];
            if (entry != "0") FUZZ_CHECK(texts[k] == entry, "a defined choice text was replaced");
            else FUZZ_CHECK(texts[k].size() <= 999, "generated choice text too long");
        }
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    const DefinitionDatabase viaView = parseDefinitions(std::string_view(text));
    std::istringstream in(text);
    FUZZ_CHECK(sameDatabase(viaView, parseDefinitions(in)), "string and stream parses differ");
    DefinitionSourceMap sources;
    FUZZ_CHECK(sameDatabase(viaView, parseDefinitions(text, sources)), "the parse with line numbers differs");
    FUZZ_CHECK(viaView.parseError.empty() == (sources.errorLine == 0), "error line and error disagree");

    DefinitionStore store;
    loadDefinitionText(store, text);
    const DefinitionDatabase upToNul = parseDefinitions(std::string_view(text).substr(0, text.find('\0')));
    FUZZ_CHECK(upToNul.parseError.empty() == startupError(store).empty(), "store and parser disagree on the text");
    if (!store.database) return 0;
    FUZZ_CHECK(sameDatabase(*store.database, upToNul), "the store keeps another database");
    FUZZ_CHECK(currentLanguageName(store) == store.database->firstLanguage, "the default language is not the first one");

    for (const auto& [language, table] : store.database->languages) checkLookups(store, language, table);
    // A few languages and variants suffice; all of them make slow inputs.
    std::vector<int32_t> variants = store.database->variants;
    variants.resize(std::min<size_t>(variants.size(), 3));
    variants.push_back(0);
    const std::vector<std::string> names = languageNames(store);
    for (size_t i = 0; i < names.size() && i < 3; ++i) {
        selectLanguage(store, names[i]);
        FUZZ_CHECK(currentLanguageName(store) == names[i], "a declared language cannot be selected");
        for (int32_t v : variants) {
            selectVariant(store, v);
            if (v != 0) FUZZ_CHECK(store.currentVariant == v, "a listed variant is not selected");
            checkChoiceTexts(store, size);
        }
    }
    return 0;
}
