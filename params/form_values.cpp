#include "params/form_values.h"

#include "params/parameter_list.h"
#include "params/row_plan.h"
#include "params/text_fields.h"

FormValues emptyForm() {
    FormValues form;
    for (const TextFieldLimit& limit : TextFieldLimits) form.fields.push_back(FormField{limit.controlId, true, ""});
    return form;
}

FormValues unitForm(DefinitionStore& store, int32_t deviceId) {
    selectVariant(store, deviceId);
    FormValues form = emptyForm();
    for (const RowPlan& plan : planParameterRows(store, {}, 0)) {
        FormRow row;
        row.number = plan.number;
        row.hasList = plan.visible;
        form.rows.push_back(row);
    }
    return form;
}

void settleReadSelections(FormValues& form) {
    for (FormRow& row : form.rows) {
        if (!row.hasList || !row.transferred) continue;
        row.selection = row.count > 0 ? keptSelection(row.selection, row.count) : -1;
    }
}
