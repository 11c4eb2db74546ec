// The progress bar that replaces the status line while the unit is read or
// written. The transfer runs as one long command on the user-interface
// thread; stepProgress is where the window stays live between two requests.
//
// User-interface thread only.
#pragma once

#include <cstdint>

// Range 0..steps, step 1, position 0; the bar replaces the status line.
void beginProgress(int32_t steps);
// Advances the bar one step, then removes and dispatches every waiting
// message: painting, the status refresh, scrolling, the commands that stay
// live during a transfer. False when the caller must stop: the main window
// is gone (closed during the transfer), and nothing may touch it any more.
bool stepProgress();
// Position 0, the bar hidden, the status line shown again.
void endProgress();
