// Dialog 131: entry of one free-text field. The field's present text is not
// offered: the user types the new digits from scratch (the fields are shown
// masked in the main window).
#include "app/app_state.h"
#include "app/dialog_rules.h"
#include "app/dialogs.h"
#include "params/text_fields.h"
#include "resources/resource.h"

#include <vector>

namespace {

// Longest text read back from the edit field (it is limited to far less).
constexpr int kEntryBufferChars = 1000;
// Button captions: row "Q1", entries 3 (OK) and 4 (Cancel).
inline constexpr const char* kButtonKey = "Q1";
constexpr int32_t kOkCaptionIndex = 3;
constexpr int32_t kCancelCaptionIndex = 4;

// Handed to the dialog through DialogBoxParam's lParam and kept in
// DWLP_USER; lives on the stack of editFreeTextField for the modal loop.
struct EntryRequest {
    const TextFieldLimit* field;
    int32_t requiredLength;
    std::string typed;  // what the entry starts with
    std::string entered;
};

EntryRequest* requestOf(HWND dialog) {
    return reinterpret_cast<EntryRequest*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

std::string enteredText(HWND dialog) {
    std::vector<char> buffer(kEntryBufferChars, '\0');
    GetDlgItemTextA(dialog, IDC_ENTRY_EDIT, buffer.data(), kEntryBufferChars);
    return buffer.data();
}

void updateOkButton(HWND dialog, const EntryRequest& request) {
    EnableWindow(GetDlgItem(dialog, IDOK), entryAcceptable(request.requiredLength, enteredText(dialog)));
}

void onEntryInit(HWND dialog, EntryRequest& request) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&request));
    centreOnParent(dialog);
    const DefinitionStore& store = appState.definitions;
    SetWindowTextA(dialog, text(store, request.field->key, 0).c_str());
    SendDlgItemMessageA(dialog, IDC_ENTRY_EDIT, EM_LIMITTEXT, request.field->maxLength, 0);
    SetDlgItemTextA(dialog, IDOK, text(store, kButtonKey, kOkCaptionIndex).c_str());
    SetDlgItemTextA(dialog, IDCANCEL, text(store, kButtonKey, kCancelCaptionIndex).c_str());
    SetDlgItemTextA(dialog, IDC_ENTRY_EDIT, request.typed.c_str());
    updateOkButton(dialog, request);
    // The focus is set here, with the caret after the digit typed to open
    // the box: the dialog manager would select it, and the next digit would
    // replace it.
    HWND entry = GetDlgItem(dialog, IDC_ENTRY_EDIT);
    SetFocus(entry);
    SendMessageA(entry, EM_SETSEL, request.typed.size(), request.typed.size());
}

// OK is honoured only while the entry is acceptable, whichever way it was
// sent (a disabled default button can still be reached by a stray IDOK).
INT_PTR onEntryCommand(HWND dialog, WORD id, WORD code) {
    EntryRequest* found = requestOf(dialog);
    if (!found) return FALSE;  // before WM_INITDIALOG
    EntryRequest& request = *found;
    if (id == IDC_ENTRY_EDIT && code == EN_CHANGE) {
        updateOkButton(dialog, request);
        return TRUE;
    }
    if (id == IDOK) {
        const std::string entered = enteredText(dialog);
        if (!entryAcceptable(request.requiredLength, entered)) return TRUE;
        request.entered = entered;
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    if (id == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK textEntryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        onEntryInit(dialog, *reinterpret_cast<EntryRequest*>(lParam));
        return FALSE;
    case WM_COMMAND:
        return onEntryCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    default:
        return FALSE;
    }
}

// One box at a time: a request posted while a box is open (a second click
// before it showed) reaches the main window through the box's own message
// loop, and is dropped.
bool entryOpen = false;

struct OpenEntry {
    OpenEntry() { entryOpen = true; }
    ~OpenEntry() { entryOpen = false; }
};

}  // namespace

void editFreeTextField(int32_t controlId, int32_t requiredLength, const std::string& typed) {
    const TextFieldLimit* field = findTextField(controlId);
    if (entryOpen || !field || !findControl(appState.fixedControls, controlId)) return;
    const OpenEntry open;
    EntryRequest request{field, requiredLength, typed.substr(0, field->maxLength), {}};
    const INT_PTR result = DialogBoxParamA(programInstance(), MAKEINTRESOURCEA(IDD_TEXT_ENTRY), appState.mainWindow,
                                           textEntryDialogProc, reinterpret_cast<LPARAM>(&request));
    if (result != IDOK) return;
    // Looked up again: the registry may have changed while the dialog ran
    // its own message loop.
    const ControlRecord* record = findControl(appState.fixedControls, controlId);
    if (record && fieldEdit(*record)) SetWindowTextA(fieldEdit(*record), request.entered.c_str());
}
