// TEMPORARY stand-in for the definition store, application state, control
// registry and text fields until the definition branch lands; removed then.
#include "defs/app_state.h"
#include "defs/definition_store.h"
#include "defs/sealed_codec.h"
#include "params/control_registry.h"
#include "params/parameter_list.h"
#include "params/text_fields.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <cstring>

void loadDefinitionsFrom(DefinitionStore& store, const unsigned char* table) {
    int32_t count;
    std::memcpy(&count, table, 4);
    std::string payload;
    if (!unsealBytes(std::string(reinterpret_cast<const char*>(table + 4), count), payload)) {
        store.startupError = kDecryptError;
        return;
    }
    store.database = std::make_unique<DefinitionDatabase>(parseDefinitions(payload));
    if (!store.database->parseError.empty()) {
        store.startupError = kParseErrorPrefix + store.database->parseError;
        store.database.reset();
        return;
    }
    store.defaultLanguage = &store.database->languages[store.database->firstLanguage];
}
void loadDefinitions(DefinitionStore& store) { loadDefinitionsFrom(store, SealedDefinitionTable); }

const Row* findRow(const DefinitionStore& store, std::string_view key) {
    const std::string k = variantKey(key, store.currentVariant);
    for (const LanguageTable* t : {store.selectedLanguage, store.defaultLanguage}) {
        if (!t) continue;
        auto it = t->find(k);
        if (it != t->end()) return &it->second;
    }
    return nullptr;
}
std::string text(const DefinitionStore& store, std::string_view key, int32_t index) {
    const Row* row = findRow(store, key);
    if (!row || index < 0 || static_cast<size_t>(index) >= row->size()) return "";
    return (*row)[index];
}
std::vector<std::string> languageNames(const DefinitionStore& store) {
    std::vector<std::string> names;
    if (store.database) for (auto& [n, t] : store.database->languages) names.push_back(n);
    return names;
}
std::string currentLanguageName(const DefinitionStore& store) {
    if (!store.database || !store.selectedLanguage) return "";
    for (auto& [n, t] : store.database->languages) if (&t == store.selectedLanguage) return n;
    return "";
}
void selectLanguage(DefinitionStore& store, std::string_view name) {
    store.selectedLanguage = nullptr;
    if (!store.database) return;
    auto it = store.database->languages.find(std::string(name));
    if (it != store.database->languages.end()) store.selectedLanguage = &it->second;
}
void selectVariant(DefinitionStore& store, int32_t identity) { store.currentVariant = identity; }
std::string startupError(const DefinitionStore& store) { return store.startupError; }

AppState::AppState() {
    loadDefinitions(definitions);
    guiFont = platformDefaultGuiFont();
}
AppState::~AppState() = default;
AppState appState;
std::string startupError() { return startupError(appState.definitions); }
FontHandle platformDefaultGuiFont() {
#ifdef _WIN32
    return reinterpret_cast<FontHandle>(GetStockObject(DEFAULT_GUI_FONT));
#else
    return nullptr;
#endif
}

const ControlRecord* findControl(const ControlMap& map, int32_t key) {
    auto it = map.find(key);
    return it == map.end() ? nullptr : &it->second;
}
void storeControl(ControlMap& map, int32_t key, const ControlRecord& record) { map[key] = record; }
void removeControl(ControlMap& map, int32_t key) { map.erase(key); }

bool isVisibleCaption(const std::string& caption) { return !caption.empty() && caption != "0"; }

const TextFieldLimit TextFieldLimits[6] = {
    {5003, "T1", 15, -1, 5, 0, 15}, {5004, "T2", 15, -1, 4, 0, 15}, {15005, "T3", 15, -1, 3, 0, 15},
    {15006, "T4", 15, -1, 2, 0, 15}, {5005, "H", 6, 6, 1, 0, 6},     {5006, "K", 2, -1, 0, 252, 0},
};
const TextFieldLimit* findTextField(int32_t controlId) {
    for (const auto& f : TextFieldLimits) if (f.controlId == controlId) return &f;
    return nullptr;
}
