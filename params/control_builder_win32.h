// The control builder: every child window of the main window, created once
// and refreshed on every build, and their layout (the progress bar is
// created here too; the window drives it during a device transfer). Positions are pixels of
// the parent's client area; fixed controls are kept as distances above the
// bottom of the main client area and centred as groups.
//
// User-interface thread only.
#pragma once

#include <cstdint>

// Fields and buttons that need a unit follow formAvailable(); the rows are
// shown by layoutMainWindow under the same rule.
void buildFixedControls();
void createCommandButton(int32_t textIndex, int32_t controlId, int32_t groupX, int32_t clientBottom, bool enabled);
void createTextField(int32_t clientBottom, int32_t controlId, int32_t slot);
// Measures the column widths and row height from the definitions, then
// creates or refreshes one row per parameter of the list (see
// parameter_rows_win32.cpp).
void buildParameterRows();
void hideParameterRows();
// Selects the first choice of every row; nothing is sent to the unit.
void resetToDefaults();
void layoutMainWindow();
