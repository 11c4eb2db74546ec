// The six free-text fields at the foot of the main window: their control ids,
// caption keys, entry limits, places in the fixed strip, and device registers.
// One table serves the builder, the entry dialog, and the device read/write.
#pragma once

#include <cstdint>

struct TextFieldLimit {
    int32_t controlId;
    const char* key;         // caption key, also the entry dialog's title
    int32_t maxLength;       // characters the entry dialog accepts
    int32_t requiredLength;  // exact length OK needs; -1 for none
    int32_t slot;            // distance above the bottom = 25 * slot + 95
    int32_t registerBase;    // first device register
    int32_t fieldLength;     // N registers (digit strings); 0 for the BCD pair
};

// In device order: T1, T2, T3, T4, H (digit strings), K (BCD register 252).
extern const TextFieldLimit TextFieldLimits[6];

// The row of a control id, or none.
const TextFieldLimit* findTextField(int32_t controlId);
