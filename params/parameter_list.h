// The parameter list rules: which parameters exist for the current variant,
// which are visible, how many choices each offers and with which texts.
// Pure functions over the definition store and the choice counts; the
// control builder applies them to the window's controls.
#pragma once

#include "defs/definition_store.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

constexpr int32_t kMaxParamNumber = 999;

// How many choices each parameter offers: filled from the definitions at
// start-up, replaced per parameter by the unit's counts on every read.
using ChoiceCountMap = std::map<int32_t, int32_t>;
std::optional<int32_t> findChoiceCount(const ChoiceCountMap& counts, int32_t param);
void storeChoiceCount(ChoiceCountMap& counts, int32_t param, int32_t count);
// Fills `counts` from the parameter rows 1, 2, ... of the current variant up
// to the first gap: entry n = row length - 1.
void fillChoiceCountsFromDefinitions(const DefinitionStore& store, ChoiceCountMap& counts);

// "X%d": the definition key of parameter n.
std::string parameterKey(int32_t n);
// The parameter list walk: n = 1, 2, ... with its definition row (current
// variant, selected language with fallback), ending before the first n
// without a row, at most up to 999. Hidden parameters are visited too.
template <class Visit>
void forEachParameter(const DefinitionStore& store, Visit visit) {
    for (int32_t n = 1; n <= kMaxParamNumber; ++n) {
        const Row* row = findRow(store, parameterKey(n));
        if (!row) break;
        visit(n, *row);
    }
}
// The walk every consumer of the form's rows uses, over a map keyed by
// parameter number: n = 1, 2, ... while the map holds n, at most up to 999.
template <class RowMap, class Visit>
void forEachParameterRow(const RowMap& rows, Visit visit) {
    for (int32_t n = 1; n <= kMaxParamNumber; ++n) {
        const auto found = rows.find(n);
        if (found == rows.end()) break;
        visit(n, found->second);
    }
}
// Number of parameters of the list: 1..count have definitions, count+1 none.
int32_t parameterListLength(const DefinitionStore& store);
// A caption is visible unless it is empty or "0".
bool isVisibleCaption(const std::string& caption);
// n is in the list (no gap before it) and its caption is visible. Walks the
// list: inside forEachParameter test isVisibleCaption(row.front()) instead.
bool isParameterVisible(const DefinitionStore& store, int32_t n);
int32_t countVisibleParameters(const DefinitionStore& store);
// The row place of visible parameter n: the number of visible parameters
// with a smaller number. -1 when n is not a visible parameter of the list.
int32_t visibleIndex(const DefinitionStore& store, int32_t n);
// "%d. %s", at most 499 characters.
std::string displayedCaption(int32_t n, const std::string& caption);
// The stored count when there is one, else the definition's entries - 1.
int32_t choiceCount(const DefinitionStore& store, const ChoiceCountMap& counts, int32_t n);
// Choice text k: the definition's entry k+1 unless empty or "0", else the
// "XI" format applied to k (at most 999 characters).
std::string choiceText(const DefinitionStore& store, int32_t n, int32_t k);
std::vector<std::string> choiceTexts(const DefinitionStore& store, const ChoiceCountMap& counts, int32_t n);
// The selection after a refill: the remembered one (none counts as 0) when
// it is below the new count, else 0.
int32_t keptSelection(int32_t remembered, int32_t count);
// True when `format` has exactly one integer conversion and no other
// conversion (so formatting it with one int is safe).
bool isSingleIntegerFormat(const std::string& format);
// The "XI" format applied to a choice index, at most 999 characters. The
// format comes from the table, so it never reaches printf unchecked: a
// single integer conversion is formatted; a text without conversions is
// shown as printf would show it ("%%" as "%"); anything else gives the
// index in decimal.
std::string formatChoiceIndex(const std::string& format, int32_t k);
