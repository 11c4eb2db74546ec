#include "report/report_print_win32.h"

#include "report/date_format.h"

#include <algorithm>
#include <ctime>

namespace {

inline constexpr const char* kDocumentName = "Tavik Alarm Setup";
// Column 0 is as wide as its heading and two more letters.
inline constexpr const char* kNumberColumnExtra = "MM";
inline constexpr const char* kFontFace = "Arial";
constexpr int kFontPoints = 10;
constexpr int kPointsPerInch = 72;
constexpr UINT kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr UINT kLeftAligned = DT_LEFT | DT_SINGLELINE;

// One print command's state.
struct ReportPrinter {
    HDC printerDc = nullptr;
    int32_t currentPage = 0;
    int32_t pageWidth = 0;
    int32_t pageHeight = 0;
    int32_t lineHeight = 0;
    // A page the printer refused: the document is aborted and nothing
    // further is drawn.
    bool failed = false;
    const ReportTexts* texts = nullptr;
};

LineBand bandOf(const ReportPrinter& p, int32_t line) {
    return lineBand(p.pageHeight, p.lineHeight, line);
}

// Pages only ever advance. A printer that refuses to end or start a page
// ends the document there, so no half-started page is left behind.
bool ensurePage(ReportPrinter& p, int32_t page) {
    if (p.failed) return false;
    if (page == p.currentPage) return true;
    if (EndPage(p.printerDc) <= 0 || StartPage(p.printerDc) <= 0) {
        AbortDoc(p.printerDc);
        p.failed = true;
        return false;
    }
    p.currentPage = page;
    return true;
}

void drawLine(HDC dc, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

void borderAtTop(ReportPrinter& p, int32_t left, int32_t right, int32_t line) {
    const LineBand band = bandOf(p, line);
    if (ensurePage(p, band.page)) drawLine(p.printerDc, left, band.top, right, band.top);
}

void drawTextInBand(ReportPrinter& p, const std::string& s, int32_t left, int32_t right, int32_t line, UINT format) {
    const LineBand band = bandOf(p, line);
    if (!ensurePage(p, band.page)) return;
    RECT area = {left, band.top, right, band.bottom};
    DrawTextA(p.printerDc, s.c_str(), -1, &area, format);
}

void drawReportRow(ReportPrinter& p, const std::array<int32_t, 4>& x, const ReportCells& cells, int32_t line) {
    const LineBand band = bandOf(p, line);
    for (int32_t edge : x)
        if (ensurePage(p, band.page)) drawLine(p.printerDc, edge, band.top, edge, band.bottom);
    for (size_t i = 0; i < cells.size(); ++i) drawTextInBand(p, cells[i], x[i], x[i + 1], line, kCentred);
    borderAtTop(p, x[0], x[3], line + 1);
}

int32_t textWidth(HDC dc, const std::string& s) {
    SIZE size = {};
    GetTextExtentPoint32A(dc, s.c_str(), static_cast<int>(s.size()), &size);
    return size.cx;
}

// Widths measured in the bold font of the column headings: the number
// heading with two letters more, the widest caption and the widest choice
// as the window shows them.
std::array<int32_t, 4> measureColumns(const ReportPrinter& p, const std::vector<FormRow>& rows) {
    int32_t w1 = 0, w2 = 0;
    for (const FormRow& row : rows) {
        if (!row.hasList) continue;
        w1 = std::max(w1, textWidth(p.printerDc, row.caption));
        w2 = std::max(w2, textWidth(p.printerDc, row.choice));
    }
    const std::string numberHeading = (*p.texts)[kNumberHeading] + kNumberColumnExtra;
    return columnEdges(p.pageWidth, textWidth(p.printerDc, numberHeading), w1, w2);
}

std::string headingText(const ReportTexts& texts, const std::string& versionText) {
    const CalendarTime now = localCalendarTime(std::time(nullptr));
    return reportHeading(formatDate(texts[kDateFormat], now), texts[kTimeLabel], now.fields.tm_hour,
                         now.fields.tm_min, texts[kVersionLabel], versionText);
}

void drawSignature(ReportPrinter& p, int32_t left, const ReportLines& lines) {
    drawTextInBand(p, kSignatureDots, left, p.pageWidth, lines.dots, kLeftAligned);
    const std::string& caption = (*p.texts)[kSignatureCaption];
    const int32_t captionLeft = left + (textWidth(p.printerDc, kSignatureDots) - textWidth(p.printerDc, caption)) / 2;
    drawTextInBand(p, caption, captionLeft, p.pageWidth, lines.signatureCaption, kLeftAligned);
}

// Everything on the pages, the first page already started and the normal
// font selected.
void drawReport(ReportPrinter& p, HFONT normal, HFONT bold, const std::vector<FormRow>& rows,
                const std::string& versionText) {
    const ReportTexts& texts = *p.texts;
    drawTextInBand(p, headingText(texts, versionText), 0, p.pageWidth, 0, kCentred);
    const std::vector<ReportCells> cells = reportRows(rows);
    const ReportLines lines = reportLines(static_cast<int32_t>(cells.size()));
    SelectObject(p.printerDc, bold);
    const std::array<int32_t, 4> x = measureColumns(p, rows);
    borderAtTop(p, x[0], x[3], lines.columnHeadings);
    drawReportRow(p, x, {texts[kNumberHeading], texts[kCaptionHeading], texts[kChoiceHeading]},
                  lines.columnHeadings);
    SelectObject(p.printerDc, normal);
    for (size_t i = 0; i < cells.size(); ++i)
        drawReportRow(p, x, cells[i], lines.firstRow + static_cast<int32_t>(i));
    drawSignature(p, x[0], lines);
}

HFONT createReportFont(HDC dc, int weight) {
    const int height = -MulDiv(kFontPoints, GetDeviceCaps(dc, LOGPIXELSY), kPointsPerInch);
    return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, EASTEUROPE_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, kFontFace);
}

// The document from StartDocA to EndDoc, or to AbortDoc when the printer
// refuses the document or a page: then nothing is drawn after the refusal.
ReportOutcome runDocument(ReportPrinter& p, HFONT normal, HFONT bold, const std::vector<FormRow>& rows,
                          const std::string& versionText) {
    DOCINFOA document = {};
    document.cbSize = sizeof document;
    document.lpszDocName = kDocumentName;
    if (StartDocA(p.printerDc, &document) <= 0) {
        AbortDoc(p.printerDc);
        return ReportOutcome::failed;
    }
    TEXTMETRICA metrics = {};
    GetTextMetricsA(p.printerDc, &metrics);
    p.pageWidth = GetDeviceCaps(p.printerDc, HORZRES);
    p.pageHeight = GetDeviceCaps(p.printerDc, VERTRES);
    p.lineHeight = reportLineHeight(metrics.tmHeight);
    if (StartPage(p.printerDc) <= 0) {
        AbortDoc(p.printerDc);
        return ReportOutcome::failed;
    }
    drawReport(p, normal, bold, rows, versionText);
    if (p.failed) return ReportOutcome::failed;
    if (EndPage(p.printerDc) <= 0) {
        AbortDoc(p.printerDc);
        return ReportOutcome::failed;
    }
    return EndDoc(p.printerDc) > 0 ? ReportOutcome::printed : ReportOutcome::failed;
}

}  // namespace

ReportOutcome printReportDocument(HDC printerDc, const ReportTexts& texts, const std::vector<FormRow>& rows,
                                  const std::string& versionText) {
    ReportPrinter p;
    p.printerDc = printerDc;
    p.texts = &texts;
    HFONT normal = createReportFont(printerDc, FW_NORMAL);
    HFONT bold = createReportFont(printerDc, FW_BOLD);
    HGDIOBJ previous = SelectObject(printerDc, normal);
    const ReportOutcome outcome = runDocument(p, normal, bold, rows, versionText);
    SelectObject(printerDc, previous);
    DeleteDC(printerDc);
    DeleteObject(normal);
    DeleteObject(bold);
    return outcome;
}
