// The control registry: every control of the main window found by a number.
// Fixed controls by control id, parameter rows by parameter number. Records
// refer to windows, they never own or destroy them. Beside it the choice
// counts: how many choices each parameter offers.
//
// User-interface thread only.
#pragma once

#include "defs/control_records.h"

#include <cstdint>
#include <optional>

// The record of `key`, or none. A lookup never adds a record.
const ControlRecord* findControl(const ControlMap& map, int32_t key);
void storeControl(ControlMap& map, int32_t key, const ControlRecord& record);
void removeControl(ControlMap& map, int32_t key);

// The walk every consumer of the rows uses: n = 1, 2, ... while a record for
// n exists, at most up to 999.
template <class Visit>
void forEachParameterRow(const ControlMap& rows, Visit visit) {
    for (int32_t n = 1; n <= kMaxParamNumber; ++n) {
        const ControlRecord* record = findControl(rows, n);
        if (!record) break;
        visit(n, *record);
    }
}

std::optional<int32_t> findChoiceCount(const ChoiceCountMap& counts, int32_t param);
void storeChoiceCount(ChoiceCountMap& counts, int32_t param, int32_t count);
