// What a build of the parameter rows puts on screen, computed from the
// definitions of the current language and variant and the choice counts.
// The Win32 builder creates or refreshes one caption and one choice list per
// planned row and records them in the registry.
#pragma once

#include "defs/definition_store.h"
#include "params/parameter_list.h"

#include <cstdint>
#include <string>
#include <vector>

struct RowPlan {
    int32_t number = 0;
    std::string caption;  // "%d. %s"; empty for a caption "0"
    bool visible = false;
    int32_t offsetY = 0;  // top in the unscrolled list
    std::vector<std::string> choices;  // empty for a hidden row
};

// One plan per parameter of the list, in ascending number. Hidden rows take
// no place: the next visible row gets their offset.
std::vector<RowPlan> planParameterRows(const DefinitionStore& store, const ChoiceCountMap& counts,
                                       int32_t rowHeight);

// The texts that decide the column widths and row height: every caption
// (hidden ones included) and every choice text of the definitions as
// written. Generated texts and the number prefix are not measured.
struct MeasuredTexts {
    std::vector<std::string> captions;
    std::vector<std::string> choices;
};
MeasuredTexts measuredTexts(const DefinitionStore& store);
