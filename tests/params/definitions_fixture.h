// Builds a definition store from a definition text, through the same sealed
// table layout the program embeds.
#pragma once

#include "defs/definition_store.h"
#include "defs/sealed_codec.h"

#include <cstdint>
#include <string>
#include <vector>

inline void loadFixture(DefinitionStore& store, const std::string& definitionText) {
    std::string sealed;
    sealBytes(definitionText, sealed);
    std::vector<unsigned char> table(4 + sealed.size());
    const uint32_t n = static_cast<uint32_t>(sealed.size());
    for (int i = 0; i < 4; ++i) table[i] = static_cast<unsigned char>(n >> (8 * i));
    std::copy(sealed.begin(), sealed.end(), table.begin() + 4);
    loadDefinitionsFrom(store, table.data());
}
