// The records the application state keeps for the control registry and the
// choice counts: plain values, so that the state can hold them without the
// registry's operations (params/control_registry.h), which work on them.
#pragma once

#include "defs/handles.h"

#include <cstdint>
#include <map>

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
