// Opaque handles through which portable code holds platform objects. The
// Windows shell converts with reinterpret_cast to and from HWND and HFONT;
// portable code only stores, compares and passes them on.
#pragma once

struct OpaqueWindow;
struct OpaqueFont;

using WindowHandle = OpaqueWindow*;
using FontHandle = OpaqueFont*;
