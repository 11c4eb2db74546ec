#include "tools/quillctl/progress_line.h"

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#define QUILL_ISATTY(f) _isatty(_fileno(f))
#else
#include <unistd.h>
#define QUILL_ISATTY(f) isatty(fileno(f))
#endif

namespace {

constexpr int32_t kBarWidth = 20;

// Carriage return and blanks, not terminal escapes: the Windows console
// shows escapes as text unless asked not to.
void redraw(ProgressDisplay& display, const std::string& line) {
    const size_t blanks = display.drawn > line.size() ? display.drawn - line.size() : 0;
    std::fprintf(stderr, "\r%s%s", line.c_str(), std::string(blanks, ' ').c_str());
    if (blanks) std::fprintf(stderr, "\r%s", line.c_str());
    std::fflush(stderr);
    display.drawn = line.size();
}

}  // namespace

std::string progressLine(int32_t done, int32_t total, const std::string& label) {
    const int32_t percent = total > 0 ? static_cast<int32_t>(int64_t{done} * 100 / total) : 100;
    const int32_t filled = total > 0 ? static_cast<int32_t>(int64_t{done} * kBarWidth / total) : kBarWidth;
    char figures[16];
    std::snprintf(figures, sizeof figures, "] %3d%%  ", percent);
    return "[" + std::string(filled, '#') + std::string(kBarWidth - filled, '.') + figures + label;
}

ProgressDisplay startProgressDisplay(int32_t total) {
    ProgressDisplay display;
    display.shown = QUILL_ISATTY(stderr) != 0;
    display.total = total;
    return display;
}

void stepProgressDisplay(ProgressDisplay& display, const std::string& label) {
    if (display.done < display.total) ++display.done;
    if (display.shown) redraw(display, progressLine(display.done, display.total, label));
}

void endProgressDisplay(ProgressDisplay& display) {
    if (display.shown && display.drawn) redraw(display, std::string());
}
