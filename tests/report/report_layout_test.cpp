#include "report/report_layout.h"

#include <gtest/gtest.h>

namespace {

// A row as the window shows it: number, whether it has a list, caption, choice text.
FormRow shown(int32_t number, bool hasList, const char* caption, const char* choice) {
    return FormRow{number, hasList, -1, 0, false, caption, choice};
}

TEST(Report, RowsCaptionCellsLinesAcrossPagesColumnsAndHeading) {
    const struct { std::vector<FormRow> rows; std::vector<ReportCells> cells; int32_t dots, caption; } cases[] = {
        {{}, {}, 7, 8},
        {{shown(1, true, "1. Delay", "Off"), shown(2, true, "2. Siren", "On"), shown(3, false, "", ""),
          shown(4, true, "4. Entry time", "30 s")},
         {{"1.", " Delay", "Off"}, {"2.", " Siren", "On"}, {"4.", " Entry time", "30 s"}}, 10, 11},
        // A list without selection prints an empty third cell; all hidden is no rows.
        {{shown(12, true, "12. Mode", "")}, {{"12.", " Mode", ""}}, 8, 9},
        {{shown(1, false, "", ""), shown(2, false, "", "")}, {}, 7, 8}};
    for (const auto& c : cases) {
        const std::vector<ReportCells> cells = reportRows(c.rows);
        EXPECT_EQ(cells, c.cells) << c.rows.size();
        const ReportLines lines = reportLines(static_cast<int32_t>(cells.size()));
        EXPECT_EQ(lines.dots, c.dots) << c.rows.size();
        EXPECT_EQ(lines.signatureCaption, c.caption) << c.rows.size();
    }
    const struct { const char* shown; const char* cell; } captions[] = {
        {"12. Siren", " Siren"}, {"3. Two  blanks ", " Two  blanks "}, {"7. ", " "},
        {"9.NoBlank", ""},       {"", ""},                             {" lead", " lead"}};
    for (const auto& c : captions) EXPECT_EQ(captionCell(c.shown), c.cell) << c.shown;
    // Page 1000 high, lines 60: 880 usable; a page break lands mid-line.
    const struct { int32_t pageHeight, lineHeight, line, page, top; } bands[] = {
        {1000, 60, 0, 0, 60},   {1000, 60, 2, 0, 180},  {1000, 60, 14, 0, 900},
        {1000, 60, 15, 1, 80},  {1000, 60, 29, 1, 920}, {1000, 60, 30, 2, 100},
        {1080, 60, 16, 1, 60},  // exactly one page of lines: the next starts at the margin again
        // A4 at 300 dpi with a 10-point font (tmHeight 48).
        {3507, reportLineHeight(48), 46, 0, 3384}, {3507, reportLineHeight(48), 47, 1, 93},
        // Too short for margins and a line, or no line height: one line a page.
        {100, 60, 0, 0, 60},    {100, 60, 1, 1, 60},    {100, 60, 3, 3, 60},   {0, 0, 5, 5, 1}};
    for (const auto& c : bands) {
        const LineBand band = lineBand(c.pageHeight, c.lineHeight, c.line);
        const std::string where = std::to_string(c.pageHeight) + "/" + std::to_string(c.lineHeight) + " line " +
                                  std::to_string(c.line);
        EXPECT_EQ(std::make_tuple(band.page, band.top, band.bottom),
                  std::make_tuple(c.page, c.top, c.top + std::max(c.lineHeight, 1))) << where;
    }
    // Columns centred, halves truncated toward zero; the heading's three parts.
    const struct { int32_t pageWidth, w0, w1, w2; std::array<int32_t, 4> x; } columns[] = {
        {2400, 100, 900, 300, {550, 650, 1550, 1850}}, {2401, 100, 900, 300, {550, 650, 1550, 1850}},
        {1000, 100, 900, 300, {-150, -50, 850, 1150}},  // wider than the page
        {1001, 100, 900, 300, {-149, -49, 851, 1151}}, {1000, 0, 0, 0, {500, 500, 500, 500}}};
    for (const auto& c : columns) EXPECT_EQ(columnEdges(c.pageWidth, c.w0, c.w1, c.w2), c.x) << c.pageWidth;
    EXPECT_EQ(reportHeading("2026-12-07", "Time:", 9, 5, "Firmware", "1.05"),
              "2026-12-07      Time: 09:05      Firmware 1.05");
}

}  // namespace
