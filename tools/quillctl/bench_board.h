// What the production bench shows: on a terminal a table with one row per
// port, redrawn in place, and a tally below it; without one, a line per
// event. The texts are pure; drawing writes them with escape sequences.
//
//   COM3   Shop 12              writing      [#########...........]  14 s
//   COM4   Shop 13              failed at parameter 5 (register 5): replace the unit
//   COM5                        no unit
//   programmed 1, failed 1, left 4, 120 units per hour
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct PortLine {
    int32_t port = 0;
    std::string label;   // the unit's label, empty when none
    std::string state;   // "writing", "no unit", ...
    int32_t done = 0;    // steps of the unit's work done, of
    int32_t total = 0;   // 0: no bar
    double seconds = -1; // seconds on the unit, -1: not shown
};

struct BenchTally {
    int32_t programmed = 0;  // units programmed by this run
    int32_t failed = 0;      // units that failed in this run
    int32_t left = 0;        // labels not yet programmed
    double hours = 0;        // since the bench started
};

// A port's row, at most `columns` - 1 characters (a row that reached the
// last column would wrap on some terminals and the redraw would drift).
std::string portRow(const PortLine& line, int32_t columns);
// "programmed 3, failed 1, left 2, 36 units per hour".
std::string tallyLine(const BenchTally& tally);

// The rows drawn so far on a terminal.
struct LiveTable {
    std::FILE* out = nullptr;
    size_t rows = 0;
};
// Draws `rows` over the ones drawn before (the cursor left below them).
void drawLiveTable(LiveTable& table, const std::vector<std::string>& rows);
