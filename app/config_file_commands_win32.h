// Saving the parameter rows' selections to a configuration file and opening
// one into them (menu commands 1000 and 1001). User-interface thread only.
#pragma once

#include "params/control_registry.h"

#include <string>

void saveConfigFile();
void openConfigFile();

// Sets the choice lists of `rows` from a configuration text, only when the
// whole text is good; false, with nothing changed, otherwise. Pairs for
// unknown rows, rows without a list and empty lists are skipped.
bool applyConfigText(const std::string& payload, const ControlMap& rows);
