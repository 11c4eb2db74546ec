// The one-line progress bar quillctl draws on standard error while a walk
// runs, only when standard error is a terminal: pipes and logs get the
// result alone.
#pragma once

#include <cstdint>
#include <string>

// "[#########...........]  45%  parameter 12": `done` of `total` steps and
// what the last step was. Always the same width for the same label width.
std::string progressLine(int32_t done, int32_t total, const std::string& label);

struct ProgressDisplay {
    bool shown = false;  // standard error is a terminal
    int32_t total = 0;
    int32_t done = 0;
    size_t drawn = 0;    // characters on the line now
};

ProgressDisplay startProgressDisplay(int32_t total);
// One step done, `label` the part just finished.
void stepProgressDisplay(ProgressDisplay& display, const std::string& label);
// Clears the line, so that the result stands alone.
void endProgressDisplay(ProgressDisplay& display);
