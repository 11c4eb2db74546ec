// A definition store loaded from a plain definition text, for the tests of
// the store and of the parameter rules built on it.
#pragma once

#include "defs/definition_store.h"

#include <string>

inline DefinitionStore storeOf(const std::string& text) {
    DefinitionStore store;
    loadDefinitionText(store, text);
    return store;
}
