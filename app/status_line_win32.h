// The connection status line at the foot of the main window, refreshed on
// every StatusTimer tick (both windows of the main class carry one, so it
// may run twice a period; it is idempotent).
//
// User-interface thread only.
#pragma once

void updateConnectionStatus();
