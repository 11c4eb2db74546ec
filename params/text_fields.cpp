#include "params/text_fields.h"

#include "resources/resource.h"

// Device order. The slots put T1 highest (220 px above the bottom) and K
// lowest (95 px). The digit strings hold N registers for at most N-1 digits
// (the last register ends the string); K is one packed-BCD register.
const TextFieldLimit TextFieldLimits[6] = {
    {IDC_TEXT_T1, "T1", 15, -1, 5, 181, 16},
    {IDC_TEXT_T2, "T2", 15, -1, 4, 197, 16},
    {IDC_TEXT_T3, "T3", 15, -1, 3, 213, 16},
    {IDC_TEXT_T4, "T4", 15, -1, 2, 229, 16},
    {IDC_TEXT_H, "H", 6, 6, 1, 245, 7},
    {IDC_TEXT_K, "K", 2, -1, 0, 252, 0},
};

const TextFieldLimit* findTextField(int32_t controlId) {
    for (const TextFieldLimit& field : TextFieldLimits)
        if (field.controlId == controlId) return &field;
    return nullptr;
}
