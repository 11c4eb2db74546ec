// The printed configuration report drawn onto a printer: one document with
// the heading, the table of the form's rows, and a dotted line with a
// caption for the installer's signature. Everything it prints comes in as
// plain values; it reads no window.
#pragma once

#include "report/report_layout.h"

#include <windows.h>

#include <string>
#include <vector>

enum class ReportOutcome {
    printed,
    cancelled,  // the dialog was cancelled or gave no device context
    failed,     // the printer refused to start the document or a page
};

// The document on `printerDc`, which it deletes whatever the outcome.
// `versionText` follows the version label of the heading ("1.05"; empty
// without a unit). Nothing is shown to the user.
ReportOutcome printReportDocument(HDC printerDc, const ReportTexts& texts, const std::vector<FormRow>& rows,
                                  const std::string& versionText);
