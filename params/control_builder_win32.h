// The control builder: every child window of the main window, created once
// and refreshed on every build, and their layout. Positions are pixels of
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
void buildParameterRows();
void hideParameterRows();
void layoutMainWindow();
