// The simulated unit's state file: plain text a person can read and edit.
//
//   # quill-sim state            '#' starts a comment; blank lines are ignored
//   identity 105                 registers 254 * 256 + 253 (1.05)
//   register 12 3                register 12 holds 3; unlisted registers hold 0
//   count 12 4                   op 64 answers 4 for register 12; unlisted: 0
//
// Numbers are decimal or 0x hexadecimal, 0..255 (identity 0..65535). A later
// line wins over an earlier one. Faulty lines are ignored and reported.
#pragma once

#include "tools/quill-sim/sim_unit.h"

#include <string>
#include <vector>

// Applies the lines of `text` to `unit`; `problems` gets one message per
// ignored line ("line 4: ...").
void parseSimState(const std::string& text, SimUnit& unit, std::vector<std::string>& problems);

// The state of `unit` in the same format: identity, then every non-zero
// register and count (the identity registers only as the identity line).
std::string formatSimState(const SimUnit& unit);

// A number as the state file and the command line write it: decimal or 0x
// hexadecimal, the whole text, within 0..max.
bool parseSimNumber(const std::string& text, int64_t max, int64_t& value);
