#include "tools/quillctl/bench_board.h"

#include "tools/quillctl/progress_line.h"

namespace {

constexpr size_t kPortWidth = 7;
constexpr size_t kLabelWidth = 20;
constexpr size_t kStateWidth = 12;
constexpr const char* kCursorUp = "\x1b[%zuA";
constexpr const char* kClearLine = "\r\x1b[2K";

bool continuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// `text` cut or padded to `width` characters (UTF-8 aware, one column each).
std::string fitted(const std::string& text, size_t width, bool pad) {
    std::string out;
    size_t shown = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (!continuationByte(text[i]) && shown++ == width) break;
        out += text[i];
    }
    if (pad && shown < width) out.append(width - shown, ' ');
    return out;
}

}  // namespace

std::string portRow(const PortLine& line, int32_t columns) {
    std::string row = fitted("COM" + std::to_string(line.port), kPortWidth, true) +
                      fitted(line.label, kLabelWidth - 1, true) + " " +
                      (line.total > 0 ? fitted(line.state, kStateWidth, true) : line.state);
    if (line.total > 0) {
        std::string bar = progressLine(line.done, line.total, "");
        row += " " + bar.substr(0, bar.find_last_not_of(' ') + 1);
    }
    if (line.seconds >= 0) row += "  " + std::to_string(static_cast<int64_t>(line.seconds)) + " s";
    return fitted(row, columns > 1 ? static_cast<size_t>(columns - 1) : 1, false);
}

std::string tallyLine(const BenchTally& tally) {
    char rate[64] = "";
    if (tally.hours > 0) std::snprintf(rate, sizeof rate, ", %.0f units per hour", tally.programmed / tally.hours);
    return "programmed " + std::to_string(tally.programmed) + ", failed " + std::to_string(tally.failed) +
           ", left " + std::to_string(tally.left) + rate;
}

void drawLiveTable(LiveTable& table, const std::vector<std::string>& rows) {
    std::string text;
    if (table.rows) {
        char up[32];
        std::snprintf(up, sizeof up, kCursorUp, table.rows);
        text += up;
    }
    for (const std::string& row : rows) text += kClearLine + row + "\n";
    std::fputs(text.c_str(), table.out);
    std::fflush(table.out);
    table.rows = rows.size();
}
