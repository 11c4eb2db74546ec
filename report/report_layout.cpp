#include "report/report_layout.h"

#include <cstdio>

namespace {

inline constexpr const char* kReportKey = "P";
// Between the last row and the dots: four empty lines.
constexpr int32_t kDotsAfterLastRow = 5;
inline constexpr const char* kNumberFormat = "%d.";
// "%02.2d:%02.2d": the 0 flag is ignored next to a precision, so this is
// the same text without the compiler's warning.
inline constexpr const char* kTimeFormat = "%.2d:%.2d";
inline constexpr const char* kHeadingGap = "      ";

}  // namespace

ReportLines reportLines(int32_t rowCount) {
    ReportLines lines;
    const int32_t last = lines.columnHeadings + (rowCount > 0 ? rowCount : 0);
    lines.dots = last + kDotsAfterLastRow;
    lines.signatureCaption = lines.dots + 1;
    return lines;
}

int32_t reportLineHeight(int32_t fontHeight) {
    return fontHeight * 15 / 10;
}

LineBand lineBand(int32_t pageHeight, int32_t lineHeight, int32_t line) {
    const int64_t height = lineHeight > 0 ? lineHeight : 1;
    int64_t usable = static_cast<int64_t>(pageHeight) - 2 * height;
    if (usable < height) usable = height;
    const int64_t offset = static_cast<int64_t>(line) * height;
    LineBand band;
    band.page = static_cast<int32_t>(offset / usable);
    band.top = static_cast<int32_t>(height + offset % usable);
    band.bottom = static_cast<int32_t>(band.top + height);
    return band;
}

std::array<int32_t, 4> columnEdges(int32_t pageWidth, int32_t w0, int32_t w1, int32_t w2) {
    std::array<int32_t, 4> x{};
    x[0] = (pageWidth - w2 - w1 - w0) / 2;
    x[1] = x[0] + w0;
    x[2] = x[1] + w1;
    x[3] = x[2] + w2;
    return x;
}

std::string captionCell(const std::string& shownCaption) {
    const size_t blank = shownCaption.find(' ');
    return blank == std::string::npos ? std::string() : shownCaption.substr(blank);
}

std::vector<ReportCells> reportRows(const std::vector<FormRow>& rows) {
    std::vector<ReportCells> cells;
    for (const FormRow& row : rows) {
        if (!row.hasList) continue;
        char number[16];
        std::snprintf(number, sizeof number, kNumberFormat, row.number);
        cells.push_back({number, captionCell(row.caption), row.choice});
    }
    return cells;
}

ReportTexts reportTexts(const DefinitionStore& store) {
    ReportTexts texts;
    for (size_t i = 0; i < texts.size(); ++i) texts[i] = text(store, kReportKey, static_cast<int32_t>(i));
    return texts;
}

std::string reportHeading(const std::string& date, const std::string& timeLabel, int32_t hour, int32_t minute,
                          const std::string& versionLabel, const std::string& version) {
    char time[32];
    std::snprintf(time, sizeof time, kTimeFormat, hour, minute);
    return date + kHeadingGap + timeLabel + " " + time + kHeadingGap + versionLabel + " " + version;
}
