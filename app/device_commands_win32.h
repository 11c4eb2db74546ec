// Reading the configuration from the unit into the form (button 5001) and
// writing the form back to the unit (5002). Each runs as one long command on
// the user-interface thread; the progress step between two fields or rows
// keeps the window live. While one runs, the commands that would start
// another transfer or change the form are ignored (transferRunning).
//
// User-interface thread only.
#pragma once

void readConfiguration();
void writeConfiguration();
bool transferRunning();
