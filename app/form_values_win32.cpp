// The form's values in and out of its windows: the one place that reads
// the fields' texts and the rows' lists, and writes them back.
#include "app/app_state.h"
#include "app/form_win32.h"
#include "params/parameter_list.h"

#include <vector>

namespace {

// Texts are read into 1000 characters, as the windows keep them.
constexpr int kWindowTextBuffer = 1000;

std::string windowText(HWND window) {
    char buffer[kWindowTextBuffer] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

int32_t listSelection(HWND list) {
    const LRESULT selected = SendMessageA(list, CB_GETCURSEL, 0, 0);
    return selected == CB_ERR ? -1 : static_cast<int32_t>(selected);
}

}  // namespace

FormValues readFormValues() {
    FormValues form = emptyForm();
    for (FormField& field : form.fields) {
        const ControlRecord* record = findControl(appState.fixedControls, field.controlId);
        field.present = record && fieldEdit(*record);
        if (field.present) field.text = windowText(fieldEdit(*record));
    }
    forEachParameterRow(appState.parameterRows, [&](int32_t n, const ControlRecord& record) {
        FormRow row;
        row.number = n;
        row.hasList = rowList(record) != nullptr;
        if (row.hasList) {
            row.selection = listSelection(rowList(record));
            row.caption = windowText(rowCaption(record));
            row.choice = windowText(rowList(record));
        }
        form.rows.push_back(row);
    });
    return form;
}

// Records are looked up again for every value: the form may have been
// rebuilt since it was read.
void showFieldText(int32_t controlId, const std::string& text) {
    const ControlRecord* record = findControl(appState.fixedControls, controlId);
    if (record && fieldEdit(*record)) SetWindowTextA(fieldEdit(*record), text.c_str());
}

void showRowSelection(int32_t number, int32_t selection) {
    const ControlRecord* record = findControl(appState.parameterRows, number);
    if (record && rowList(*record)) SendMessageA(rowList(*record), CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}

void applyConfigPairs(const std::vector<ConfigPair>& pairs) {
    for (const ConfigPair& pair : pairs) {
        const ControlRecord* record = findControl(appState.parameterRows, pair.param);
        if (!record || !rowList(*record)) continue;
        HWND list = rowList(*record);
        const auto count = static_cast<int32_t>(SendMessageA(list, CB_GETCOUNT, 0, 0));
        int32_t selection = 0;
        if (selectionForPair(pair.index, count, selection))
            SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
    }
}
