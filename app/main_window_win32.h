// The main window: its class (shared with the parameter area), creation at
// the stored placement, the window procedure that routes every message to
// its handler, and the placement stored at exit.
#pragma once

#include <windows.h>

#include "quill_version.h"

inline constexpr const char* kMainClassName = "BrontivaSetupClass";
// "Sorvane Quill Alarm Setup 1.0": the name and the version the about box
// shows, from the one place that holds them.
inline constexpr const char* kMainWindowTitle = QUILL_PRODUCT_NAME " " QUILL_SHORT_VERSION_TEXT;
constexpr UINT kStatusTimerMilliseconds = 1000;
// Status line text: green while a unit is connected, dark red otherwise.
constexpr COLORREF kConnectedColour = RGB(0, 128, 0);
constexpr COLORREF kDisconnectedColour = RGB(128, 0, 0);

// The module whose resources every window and dialog uses: the one
// remembered by createMainWindow, or the program itself before that.
HINSTANCE programInstance();
// The main window as a Win32 handle (null until its WM_CREATE).
HWND mainWindowHandle();

// The ParameterArea: a child of the main window of the main class, the
// parent of every parameter row. Stored in appState.parameterArea.
void createParameterArea();
void registerMainClass(HINSTANCE instance);
bool createMainWindow(HINSTANCE instance, int showCommand);
LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Reads "WindowPlacement" and applies it when it is valid.
void restoreWindowPlacement();
// Stores the main window's placement and posts WM_QUIT (WM_DESTROY work).
void saveWindowPlacement();
