#include "defs/definition_store.h"

#include "defs/sealed_codec.h"

#include <algorithm>

namespace {

void clearStore(DefinitionStore& store) {
    store.database.reset();
    store.startupError.clear();
    store.selectedLanguage = nullptr;
    store.defaultLanguage = nullptr;
    store.currentVariant = 0;
}

const Row* findIn(const LanguageTable* table, const std::string& key) {
    if (!table) return nullptr;
    auto it = table->find(key);
    return it == table->end() ? nullptr : &it->second;
}

const LanguageTable* languageTable(const DefinitionStore& store, std::string_view name) {
    if (!store.database) return nullptr;
    auto it = store.database->languages.find(std::string(name));
    return it == store.database->languages.end() ? nullptr : &it->second;
}

}  // namespace

bool unsealDefinitionTable(const unsigned char* table, std::string& payload) {
    payload.clear();
    if (!table) return false;
    // The count is little-endian whatever the host; assemble it bytewise.
    const uint32_t raw = uint32_t(table[0]) | uint32_t(table[1]) << 8 | uint32_t(table[2]) << 16 |
                         uint32_t(table[3]) << 24;
    const int32_t count = static_cast<int32_t>(raw);
    if (count < 0 || count > kMaxSealedTableBytes) return false;
    const std::string sealed(reinterpret_cast<const char*>(table + 4), static_cast<size_t>(count));
    return unsealBytes(sealed, payload);
}

void loadDefinitionText(DefinitionStore& store, std::string_view text) {
    clearStore(store);
    text = text.substr(0, text.find('\0'));
    auto database = std::make_unique<DefinitionDatabase>(parseDefinitions(text));
    if (!database->parseError.empty()) {
        store.startupError = kParseErrorPrefix + database->parseError;
        return;
    }
    store.database = std::move(database);
    if (!store.database->firstLanguage.empty())
        store.defaultLanguage = languageTable(store, store.database->firstLanguage);
}

void loadDefinitionsFrom(DefinitionStore& store, const unsigned char* table) {
    clearStore(store);
    std::string payload;
    if (!unsealDefinitionTable(table, payload)) {
        store.startupError = kDecryptError;
        return;
    }
    loadDefinitionText(store, payload);
}

const Row* findRow(const DefinitionStore& store, std::string_view key) {
    const std::string searchKey = variantKey(key, store.currentVariant);
    if (const Row* row = findIn(store.selectedLanguage, searchKey)) return row;
    return findIn(store.defaultLanguage, searchKey);
}

std::string text(const DefinitionStore& store, std::string_view key, int32_t index) {
    const Row* row = findRow(store, key);
    if (!row || index < 0 || static_cast<size_t>(index) >= row->size()) return std::string();
    return (*row)[static_cast<size_t>(index)];
}

std::vector<std::string> languageNames(const DefinitionStore& store) {
    std::vector<std::string> names;
    if (!store.database) return names;
    for (const auto& entry : store.database->languages) names.push_back(entry.first);
    return names;
}

std::string currentLanguageName(const DefinitionStore& store) {
    const LanguageTable* inEffect = store.selectedLanguage ? store.selectedLanguage : store.defaultLanguage;
    if (!inEffect || !store.database) return std::string();
    for (const auto& [name, table] : store.database->languages)
        if (&table == inEffect) return name;
    return std::string();
}

void selectLanguage(DefinitionStore& store, std::string_view name) {
    store.selectedLanguage = languageTable(store, name);
}

void selectVariant(DefinitionStore& store, int32_t identity) {
    static const std::vector<int32_t> none;
    const std::vector<int32_t>& listed = store.database ? store.database->variants : none;
    if (std::find(listed.begin(), listed.end(), identity) != listed.end()) {
        store.currentVariant = identity;
        return;
    }
    int32_t largest = 0;
    for (int32_t v : listed) largest = std::max(largest, v);
    store.currentVariant = largest;
}

std::string startupError(const DefinitionStore& store) { return store.startupError; }
