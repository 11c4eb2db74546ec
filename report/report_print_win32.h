// The printed configuration report: the print dialog, then one document
// with the heading, the table of the parameter rows the main window shows,
// and a dotted line with a caption for the installer's signature. Wording
// from row "P" of the definitions in the current language.
//
// User-interface thread only (the print dialog is modal to `owner`).
#pragma once

#include <windows.h>

#include <string>

enum class ReportOutcome {
    printed,
    cancelled,  // the dialog was cancelled or gave no device context
    failed,     // the printer refused to start the document or a page
};

// `versionText` follows the version label of the heading ("1.05"; empty
// without a unit). Nothing is shown to the user in any outcome.
ReportOutcome printConfigurationReport(HWND owner, const std::string& versionText);

// The document part alone, on a printer device context that it deletes.
ReportOutcome printReportDocument(HDC printerDc, const std::string& versionText);
