#include "defs/app_state.h"

#include <windows.h>

// A stock object: never deleted, valid for the whole process.
FontHandle platformDefaultGuiFont() { return reinterpret_cast<FontHandle>(GetStockObject(DEFAULT_GUI_FONT)); }
