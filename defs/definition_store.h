// The definition store: the built-in table, unsealed and parsed once at
// start-up, and the text lookups every visible text goes through.
//
// Lookup rules: keys beginning with X, T, H or K get the suffix
// "-<currentVariant>"; the row is searched in the selected language, then in
// the default (first declared) language, never in a third one and never in
// another variant. A missing text is an empty string, not an error.
#pragma once

#include "defs/definition_parser.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The sealed table built into the program: a little-endian signed 32-bit byte
// count followed by that many bytes of a sealed stream. Generated at build
// time from the definition source in resources/.
extern const unsigned char SealedDefinitionTable[];

struct DefinitionStore {
    std::unique_ptr<DefinitionDatabase> database;  // absent when loading failed
    std::string startupError;                      // empty when loading succeeded
    const LanguageTable* selectedLanguage = nullptr;  // points into database
    const LanguageTable* defaultLanguage = nullptr;   // table of firstLanguage
    int32_t currentVariant = 0;
};

inline constexpr const char* kDecryptError = "Error decrypt internal data";
inline constexpr const char* kParseErrorPrefix = "Parse error: ";

// A table whose count is negative or above this is damaged: the shipped one
// is some tens of KB, and a damaged count must not send the load reading
// through the rest of the program's memory.
constexpr int32_t kMaxSealedTableBytes = 16 * 1024 * 1024;

// Fills the store from a table laid out like SealedDefinitionTable.
void loadDefinitionsFrom(DefinitionStore& store, const unsigned char* table);
// Fills the store from plain definition text (already unsealed): the text
// ends at its first NUL byte; a parse error leaves no database and sets
// startupError to "Parse error: " + message.
void loadDefinitionText(DefinitionStore& store, std::string_view text);
// The payload of a table laid out like SealedDefinitionTable. False, with
// `payload` empty, for a missing, damaged or truncated table.
bool unsealDefinitionTable(const unsigned char* table, std::string& payload);

const Row* findRow(const DefinitionStore& store, std::string_view key);
// Element `index` of findRow(key); empty when there is no such row or index.
std::string text(const DefinitionStore& store, std::string_view key, int32_t index);
std::vector<std::string> languageNames(const DefinitionStore& store);
std::string currentLanguageName(const DefinitionStore& store);
void selectLanguage(DefinitionStore& store, std::string_view name);
// The identity itself when the table lists it as a variant; otherwise the
// largest listed variant, or 0 when none is listed (or all are negative).
void selectVariant(DefinitionStore& store, int32_t identity);
std::string startupError(const DefinitionStore& store);
