#include "defs/app_state.h"

// The native build has no GUI: portable code only stores the handle.
FontHandle platformDefaultGuiFont() { return nullptr; }
