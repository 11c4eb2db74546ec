#include "tools/quillctl/provision.h"

#include "params/parameter_list.h"

void withoutFields(FormValues& form) {
    for (FormField& field : form.fields) field.present = false;
}

void openPairs(const std::vector<ConfigPair>& pairs, FormValues& form) {
    for (FormRow& row : form.rows) row.selection = kNoSelection;
    for (const ConfigPair& pair : pairs) {
        if (pair.param < 1 || static_cast<size_t>(pair.param) > form.rows.size()) continue;
        FormRow& row = form.rows[pair.param - 1];
        int32_t selection = kNoSelection;
        if (row.number == pair.param && row.hasList && selectionForPair(pair.index, row.count, selection)) row.selection = selection;
    }
}

std::vector<RowDifference> differences(const FormValues& form, const std::vector<ConfigPair>& pairs) {
    FormValues opened = form;
    openPairs(pairs, opened);
    std::vector<RowDifference> found;
    for (size_t k = 0; k < form.rows.size(); ++k) {
        const int32_t wanted = opened.rows[k].selection;
        if (wanted != kNoSelection && wanted != form.rows[k].selection)
            found.push_back(RowDifference{form.rows[k].number, form.rows[k].selection, wanted});
    }
    return found;
}
