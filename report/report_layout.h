// The printed report as numbers and texts, before anything is drawn:
//
//   line 0            heading: date, time label and time, version label and version
//   line 2            top border and the column headings (bold)
//   lines 3 ...       one line per visible parameter row: "n.", caption, choice
//   last + 5          34 dots for the signature, at the table's left edge
//   last + 6          the caption under the dots, centred under them
//
// where last is the line of the last row (2 without rows). Lines run on
// across pages without gaps: line k lies on page (k * lineHeight) / usable,
// its band starting lineHeight + (k * lineHeight) mod usable from the page
// top, usable being the page height less two line heights. So each page
// keeps one line height free at the top, and a later page's first line
// starts wherever the running total puts it. All lengths in device pixels.
#pragma once

#include "defs/definition_store.h"
#include "params/form_values.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr const char* kSignatureDots = "..................................";

struct ReportLines {
    int32_t heading = 0;
    int32_t columnHeadings = 2;  // the top border lies at this line's top
    int32_t firstRow = 3;
    int32_t dots = 0;
    int32_t signatureCaption = 0;
};

// The fixed lines of a report with `rowCount` table rows.
ReportLines reportLines(int32_t rowCount);

// tmHeight of the normal font * 15 / 10.
int32_t reportLineHeight(int32_t fontHeight);

struct LineBand {
    int32_t page = 0;
    int32_t top = 0;     // from the top of that page
    int32_t bottom = 0;  // top + lineHeight
};

// Where line k is printed. A page too short for its two margin lines and
// one line (or a zero line height) still gets one line per page instead of
// a division by zero.
LineBand lineBand(int32_t pageHeight, int32_t lineHeight, int32_t line);

// The table's four column edges x0 <= x1 <= x2 <= x3 for column widths w0,
// w1, w2, centred on the page (truncating toward zero). x0 is negative when
// the table is wider than the page.
std::array<int32_t, 4> columnEdges(int32_t pageWidth, int32_t w0, int32_t w1, int32_t w2);

using ReportCells = std::array<std::string, 3>;

// The caption from its first blank on, the blank included (" Siren" of
// "12. Siren"); empty when it has no blank.
std::string captionCell(const std::string& shownCaption);

// The table rows of the rows with a choice list, in their order: "n.",
// captionCell, choice.
std::vector<ReportCells> reportRows(const std::vector<FormRow>& rows);

// The report's wording: row "P" of the definitions in the current language.
enum ReportTextIndex : int32_t {
    kDateFormat = 0,
    kTimeLabel = 1,
    kVersionLabel = 2,
    kNumberHeading = 3,
    kCaptionHeading = 4,
    kChoiceHeading = 5,
    kSignatureCaption = 6,
};
using ReportTexts = std::array<std::string, 7>;
ReportTexts reportTexts(const DefinitionStore& store);

// The heading line: date, six blanks, time label, a blank, "HH:MM", six
// blanks, version label, a blank, version.
std::string reportHeading(const std::string& date, const std::string& timeLabel, int32_t hour, int32_t minute,
                          const std::string& versionLabel, const std::string& version);
