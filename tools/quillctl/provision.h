// Whole configurations between a unit and a configuration file, as the
// program moves them: a read from the unit into the form, a file opened into
// it, the form saved or written. Pure: the walk fills and sends the form.
#pragma once

#include "configfile/config_text.h"
#include "link/device_transfer.h"

#include <cstdint>
#include <vector>

// Leaves the free-text fields out of a walk: a configuration file carries
// none, so a read needs not ask for them and a write must not clear them.
void withoutFields(FormValues& form);

// Opens a file's pairs into a form read from the unit, for a write: a row
// named by a pair gets the selection the program's list would take (an
// index past the unit's choices the first, -1 none); every other row gets
// no selection, so nothing is written to it. A later pair for the same row
// wins; pairs for rows the unit's variant lacks or hides are skipped.
void openPairs(const std::vector<ConfigPair>& pairs, FormValues& form);

// A row whose unit value the file would change.
struct RowDifference {
    int32_t number = 0;
    int32_t unitValue = 0;
    int32_t fileValue = 0;
};

// What writing the file's pairs to the unit read into `form` would change,
// in ascending parameter number.
std::vector<RowDifference> differences(const FormValues& form, const std::vector<ConfigPair>& pairs);
