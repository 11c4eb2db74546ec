// The form as plain values: the six free-text fields and the parameter
// rows, as the window shows them. The window reads its controls into these
// once (app/); the device walk, the configuration file and the report work
// on them, so none of them touches a window.
#pragma once

#include "defs/definition_store.h"

#include <cstdint>
#include <string>
#include <vector>

// One free-text field, in the order of TextFieldLimits.
struct FormField {
    int32_t controlId = 0;
    bool present = false;  // the form shows it; an absent field is skipped
    std::string text;
};

// One parameter row, in ascending parameter number without gaps.
struct FormRow {
    int32_t number = 0;
    bool hasList = false;    // hidden rows have none
    int32_t selection = -1;  // choice index, -1 for none
    int32_t count = 0;       // choices the unit offers (filled by a read)
    bool transferred = false;
    std::string caption;     // "n. caption" as shown; empty for a hidden row
    std::string choice;      // the selected choice's text, empty without one
};

struct FormValues {
    std::vector<FormField> fields;
    std::vector<FormRow> rows;
};

// The form with the six fields of TextFieldLimits, all present and empty.
FormValues emptyForm();

// The form a read from a unit of identity `deviceId` fills, with the rows
// the window builds for it: the unit's variant selected in `store`, then
// its parameters 1, 2, ... up to the first gap (planParameterRows), hidden
// ones without a list; the six fields present and empty.
FormValues unitForm(DefinitionStore& store, int32_t deviceId);

// What a row read from the unit shows once the rows are rebuilt with the
// unit's counts: the unit's value, the first choice for a value at or past
// the unit's count, no selection when the unit offers no choice. Rows not
// read keep what they hold. A value past the definition's list is thus kept
// (the rebuilt list is the unit's), and the next write changes nothing.
void settleReadSelections(FormValues& form);
