// Saving the parameter rows' selections to a configuration file and opening
// one into them (menu commands 1000 and 1001). User-interface thread only.
#pragma once

#include "configfile/safe_file.h"
#include "params/control_registry.h"

#include <string>

void saveConfigFile();
void openConfigFile();

// The rows' selections as a configuration file at `path`, replaced safely:
// what the save command writes, without its dialog and messages.
ReplaceResult writeConfigFile(const std::string& path);

// Sets the choice lists of `rows` from a configuration text, only when the
// whole text is good; false, with nothing changed, otherwise. Pairs for
// unknown rows, rows without a list and empty lists are skipped.
bool applyConfigText(const std::string& payload, const ControlMap& rows);
