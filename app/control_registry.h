// The control registry: every control of the main window found by a number,
// the fixed controls by control id, the parameter rows by parameter number
// (contiguous from 1; walk them with forEachParameterRow). A record refers
// to its windows and where they belong; it never owns or destroys them.
//
// User-interface thread only.
#pragma once

#include "params/layout.h"

#include <windows.h>

#include <cstdint>
#include <map>

// What the two windows are depends on the kind of control; the accessors
// below name them.
struct ControlRecord {
    HWND firstWindow = nullptr;   // a row's or field's caption; the button, progress bar, status line
    HWND secondWindow = nullptr;  // a row's choice list, a field's edit; none otherwise and for hidden rows
    ControlPlace place;
};

using ControlMap = std::map<int32_t, ControlRecord>;

// The record of `key`, or none. A lookup never adds a record.
inline const ControlRecord* findControl(const ControlMap& map, int32_t key) {
    const auto found = map.find(key);
    return found == map.end() ? nullptr : &found->second;
}
inline void storeControl(ControlMap& map, int32_t key, const ControlRecord& record) { map[key] = record; }
inline void removeControl(ControlMap& map, int32_t key) { map.erase(key); }

inline HWND rowCaption(const ControlRecord& row) { return row.firstWindow; }
inline HWND rowList(const ControlRecord& row) { return row.secondWindow; }
inline HWND fieldCaption(const ControlRecord& field) { return field.firstWindow; }
inline HWND fieldEdit(const ControlRecord& field) { return field.secondWindow; }
// Buttons, the progress bar and the status line have one window.
inline HWND controlWindow(const ControlRecord& control) { return control.firstWindow; }
