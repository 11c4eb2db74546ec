#include "app/print_command_win32.h"

#include "app/app_state.h"
#include "app/form_win32.h"
#include "link/link.h"
#include "report/report_print_win32.h"

#include <commdlg.h>

namespace {

// The printer's device context the user chose, or none when the dialog was
// cancelled or failed. The dialog's device-mode and device-name blocks are
// not used; they are freed so that every print leaves nothing behind.
HDC choosePrinter() {
    PRINTDLGA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = appState.mainWindow;
    dialog.Flags = PD_RETURNDC | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    const BOOL chosen = PrintDlgA(&dialog);
    if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
    if (chosen == TRUE && dialog.hDC) return dialog.hDC;
    if (dialog.hDC) DeleteDC(dialog.hDC);
    return nullptr;
}

}  // namespace

// A cancelled dialog and a refusing printer both end the command quietly.
// The heading names the unit connected when the command was given.
void printReport() {
    const std::string version = formatDeviceVersion(unitConnection());
    HDC printer = choosePrinter();
    if (!printer) return;
    printReportDocument(printer, reportTexts(appState.definitions), readFormValues().rows, version);
}
