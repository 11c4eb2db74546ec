// The control registry: every control of the main window found by a number.
// Fixed controls by control id, parameter rows by parameter number. Records
// refer to windows, they never own or destroy them. Beside it the choice
// counts: how many choices each parameter offers.
//
// User-interface thread only.
#pragma once

#include "defs/handles.h"

#include <cstdint>
#include <map>
#include <optional>

struct ControlRecord {
    WindowHandle firstWindow = nullptr;   // caption, button, progress bar, status line
    WindowHandle secondWindow = nullptr;  // choice list or edit; none otherwise
    int32_t offsetY = 0;     // rows: top in the unscrolled list; fixed: distance above the bottom
    int32_t firstX = 0;      // x of the first window within its group
    int32_t secondX = 0;     // x of the second window within its group
    int32_t groupWidth = 0;  // width of the group that is centred
};

using ControlMap = std::map<int32_t, ControlRecord>;
using ChoiceCountMap = std::map<int32_t, int32_t>;

constexpr int32_t kMaxParamNumber = 999;

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
