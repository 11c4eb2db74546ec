// Saving the parameter rows' selections to a configuration file and opening
// one into them (menu commands 1000 and 1001). User-interface thread only.
#pragma once

void saveConfigFile();
void openConfigFile();
