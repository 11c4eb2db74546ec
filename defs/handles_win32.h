// Conversions between the opaque handles that portable code stores and the
// Win32 handles they stand for. Only *_win32.cpp files include this.
#pragma once

#include "defs/handles.h"

#include <windows.h>

inline HWND toHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}

inline WindowHandle toWindowHandle(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}

inline HFONT toHfont(FontHandle font) {
    return reinterpret_cast<HFONT>(font);
}

// The module that created `window`: children are created with the same one.
inline HINSTANCE windowInstance(HWND window) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
}
