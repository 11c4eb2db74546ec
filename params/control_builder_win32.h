// The control builder: every child window of the main window, created once
// and refreshed on every build, their layout, and the progress bar that
// replaces the status line during a device transfer. Positions are pixels of
// the parent's client area; fixed controls are kept as distances above the
// bottom of the main client area and centred as groups.
//
// User-interface thread only.
#pragma once

#include <cstdint>

// The ParameterArea: a child of the main window of the main class, the
// parent of every parameter row. Stored in appState.parameterArea.
void createParameterArea();
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

// Around a device transfer: the bar counts one step per visible parameter
// and one per free-text field; stepProgress advances it and dispatches the
// window messages that are waiting, so the window stays live between two
// requests of the transfer.
void beginProgress();
void stepProgress();
void endProgress();
