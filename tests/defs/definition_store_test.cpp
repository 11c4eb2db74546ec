#include "defs/definition_store.h"
#include "defs/sealed_codec.h"
#include "tests/defs/store_of.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

// A table laid out like SealedDefinitionTable: a count (the stream's size,
// when it is right), then the sealed stream.
std::vector<unsigned char> tableOf(int32_t count, const std::string& sealed) {
    std::vector<unsigned char> table(4 + sealed.size());
    for (int i = 0; i < 4; ++i) table[i] = static_cast<unsigned char>(static_cast<uint32_t>(count) >> (8 * i));
    std::copy(sealed.begin(), sealed.end(), table.begin() + 4);
    return table;
}

std::vector<unsigned char> sealedTable(const std::string& payload) {
    std::string sealed;
    sealBytesAt(payload, 1700000000, sealed);
    return tableOf(static_cast<int32_t>(sealed.size()), sealed);
}

// English with variant 0 and 7, then Deutsch and Polski.
const char* const kThreeLanguages =
    "Y;\"English\"\nQ;\"File\";\"Device\";\"Help\"\nE1;\"only English\"\nX;\"Delay\";\"Off\";\"On\"\n"
    "V;7\nX;\"Delay seven\"\nX;\"Siren seven\"\nX;\"Third seven\";\"a\"\nT1;\"Phone seven\"\n"
    "Y;\"Deutsch\"\nQ;\"Datei\"\nY;\"Polski\"\nE;\"only Polish\"\n";

// What text() finds for a key under a variant and a selected language: the
// variant suffix only for X, T, H and K keys, no fallback between variants,
// and a fallback to the first language only, never to a third one.
TEST(StoreLookup, VariantsAndLanguagesAndTheVariantAUnitSelects) {
    const struct { const char* language; int32_t variant; const char* key; int32_t index; const char* shown; } cases[] =
        {{"", 7, "X3", 0, "Third seven"}, {"", 7, "X3", 1, "a"}, {"", 7, "T1", 0, "Phone seven"}, {"", 0, "X2", 0, ""},
        {"", 7, "E1", 0, "only English"}, {"", 0, "X1", 0, "Delay"}, {"", 7, "Q", 2, "Help"},
        {"", 7, "x3", 0, ""}, {"", 7, "X4", 0, ""},  // keys are matched as stored: upper case
        {"", 7, "Q", 3, ""}, {"", 7, "Q", -1, ""}, {"", 7, "Q", INT32_MIN, ""},  // outside the row
        {"", 7, "X1", 1, ""},  // the variant-0 row is not consulted
        {"Deutsch", 0, "E1", 0, "only English"}, {"Deutsch", 0, "E", 0, ""},
        {"Deutsch", 0, "Q", 0, "Datei"}, {"Deutsch", 0, "Q", 1, ""},  // shadows the longer English row
        {"Polski", 0, "E", 0, "only Polish"},
        {"Klingon", 0, "E", 0, ""}, {"english", 0, "E", 0, ""}};  // not declared (names are exact): the first
    for (const auto& c : cases) {
        DefinitionStore store = storeOf(kThreeLanguages);
        ASSERT_EQ(startupError(store), "");
        selectLanguage(store, "Polski");  // a later selection replaces it, an unknown or empty name too
        selectLanguage(store, c.language);
        store.currentVariant = c.variant;
        const std::string what = std::string(c.language) + " " + c.key + " " + std::to_string(c.index);
        EXPECT_EQ(text(store, c.key, c.index), c.shown) << what;
        const bool declared = std::string(c.language) == "Deutsch" || std::string(c.language) == "Polski";
        EXPECT_EQ(currentLanguageName(store), declared ? c.language : "English") << what;
        EXPECT_EQ(store.selectedLanguage == nullptr, !declared) << what;
    }
    EXPECT_EQ(languageNames(storeOf(kThreeLanguages)), (std::vector<std::string>{"Deutsch", "English", "Polski"}));
    const struct { const char* variantLines; int32_t identity; int32_t expected; } units[] = {
        {"V;100\nV;250\nV;7\n", 7, 7}, {"V;100\nV;250\nV;7\n", 0, 250}, {"", 105, 0}, {"V;0\nV;-2\n", 9, 0},
        {"V;100\nV;250\nV;7\n", 105, 250},                     // unknown unit: the newest variant
        {"V;-5\nV;-3\n", 4, 0}, {"V;-5\nV;-3\n", -3, -3}};  // only negative numbers listed
    for (const auto& c : units) {
        DefinitionStore store = storeOf("Y;\"English\"\n"s + c.variantLines);
        store.currentVariant = 12345;
        selectVariant(store, c.identity);
        EXPECT_EQ(store.currentVariant, c.expected) << c.variantLines << " " << c.identity;
    }
}

// The count in front of the stream (damage inside it is the codec's), and a parse error.
TEST(StoreLoad, FailuresLeaveNoDatabase) {
    std::string good;
    sealBytesAt(kThreeLanguages, 1700000000, good);
    const struct { const char* what; std::vector<unsigned char> table; std::string error; } cases[] = {
        {"count cut short", tableOf(int32_t(good.size()) - 8, good), kDecryptError},
        {"count too short for a stream", tableOf(3, good), kDecryptError},
        {"negative count", tableOf(-1, good), kDecryptError},
        {"absurd count", tableOf(INT32_MAX, good), kDecryptError},
        {"text before a language", sealedTable("Q;\"x\"\nY;\"English\"\n"), "Parse error: Missing Y identifier"}};
    for (const auto& c : cases) {
        DefinitionStore store;
        loadDefinitionsFrom(store, c.table.data());
        EXPECT_EQ(startupError(store), c.error) << c.what;
        EXPECT_TRUE(store.database == nullptr && store.defaultLanguage == nullptr) << c.what;
        // Without a database nothing is found, whatever is selected.
        selectLanguage(store, "English");
        selectVariant(store, 100);
        EXPECT_TRUE(!findRow(store, "Q") && text(store, "Q", 0).empty() && currentLanguageName(store).empty() &&
                    languageNames(store).empty() && store.currentVariant == 0) << c.what;
    }
    DefinitionStore none;
    loadDefinitionsFrom(none, nullptr);
    EXPECT_EQ(startupError(none), kDecryptError);
}

// A table up to its first NUL is the fuzz target's; a reload forgets the old one.
TEST(StoreLoad, AReloadDropsTheReferencesIntoTheOldTable) {
    DefinitionStore store = storeOf(kThreeLanguages);
    selectLanguage(store, "Polski");
    ASSERT_NE(store.selectedLanguage, nullptr);
    store.currentVariant = 7;
    loadDefinitionText(store, "no language\n");
    EXPECT_TRUE(store.selectedLanguage == nullptr && store.defaultLanguage == nullptr && store.currentVariant == 0);
}

}  // namespace
