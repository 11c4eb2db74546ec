// Dialog 130: the about box. Its title and OK caption are the template's;
// the four lines come from the definition table.
#include "app/app_state.h"
#include "app/dialogs.h"
#include "resources/resource.h"

namespace {

struct AboutLine {
    int controlId;
    const char* key;
};

const AboutLine kAboutLines[] = {
    {IDC_ABOUT_LINE1, "A1"},
    {IDC_ABOUT_LINE2, "A2"},
    {IDC_ABOUT_LINE3, "A3"},
    {IDC_ABOUT_LINE4, "A4"},
};

void onAboutInit(HWND dialog) {
    centreOnParent(dialog);
    for (const AboutLine& line : kAboutLines)
        SetDlgItemTextA(dialog, line.controlId, text(appState.definitions, line.key, 0).c_str());
}

// IDCANCEL arrives for Escape and the close box.
INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        onAboutInit(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return FALSE;
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

void showAboutDialog() {
    DialogBoxParamA(programInstance(), MAKEINTRESOURCEA(IDD_ABOUT), appState.mainWindow, aboutDialogProc, 0);
}
