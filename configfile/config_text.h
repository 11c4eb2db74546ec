// The text inside a configuration file: a header, six text slots that carry
// no content, one "parameter index" line per choice list, and a terminator.
// Composing and parsing are pure; the window code collects the selections
// before composing and applies the parsed pairs afterwards.
#pragma once

#include "params/form_values.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr const char* kConfigHeader = "BRONTIVASETUP1.0";
// The slot keys in file order: the caption keys of the six free-text fields.
inline constexpr const char* kConfigSlotKeys[] = {"T1", "T2", "T3", "T4", "H", "K"};
// Written as every slot's value; a reader takes any one token there.
inline constexpr const char* kConfigSlotValue = "-";
constexpr int32_t kConfigTerminator = -1;
// The choice index of a list without a selection.
constexpr int32_t kNoSelection = -1;
// Larger files are refused unread: the program writes at most about 16 KB
// (999 lines), and a file chosen by mistake must not fill the memory.
constexpr size_t kMaxConfigFileBytes = 1 << 20;

// One "parameter index" line of a file, as read.
struct ConfigPair {
    int32_t param = 0;
    int32_t index = 0;
};

// The text for rows[0] = parameter 1, rows[1] = parameter 2, ...: header,
// slots, a line "<parameter> <selection>" per row with a choice list (a
// hidden row gets none), terminator; every line ends in one line feed.
// Cannot fail.
std::string composeConfigText(const std::vector<FormRow>& rows);

// Reads a whole text up to its terminator (or its first NUL byte, where the
// text ends). True with every pair in file order when the text is good to
// its terminator; false with `pairs` empty and a one-line `reason`
// otherwise. Nothing has to be undone after a false: callers apply the
// pairs only after a true.
bool parseConfigText(const std::string& payload, std::vector<ConfigPair>& pairs, std::string& reason);

// What a pair does to a choice list holding `itemCount` items: false when
// the list is left alone (it is empty); else the selection to set, where
// an index past the end selects the first item and any negative index
// clears the selection.
bool selectionForPair(int32_t index, int32_t itemCount, int32_t& selection);
