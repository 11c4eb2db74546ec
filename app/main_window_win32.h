// The main window: its class (shared with the parameter area), creation at
// the stored placement, the window procedure that routes every message to
// its handler, and the placement stored at exit.
#pragma once

#include <windows.h>

#include "quill_version.h"

// "Sorvane Quill Alarm Setup 1.0": the name and the version the about box
// shows, from the one place that holds them.
inline constexpr const char* kMainWindowTitle = QUILL_PRODUCT_NAME " " QUILL_SHORT_VERSION_TEXT;
constexpr UINT kStatusTimerMilliseconds = 1000;
// Posted by the link when it publishes or closes a connection: the status
// line, its colour, the lock and the menu follow at once. The status timer
// stays as a fallback.
constexpr UINT kLinkChangedMessage = WM_APP + 1;
// Status line text: green while a unit is connected, dark red otherwise.
constexpr COLORREF kConnectedColour = RGB(0, 128, 0);
constexpr COLORREF kDisconnectedColour = RGB(128, 0, 0);

void registerMainClass(HINSTANCE instance);
bool createMainWindow(HINSTANCE instance, int showCommand);
LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Starts the link over COM1..COM256, telling the main window of each change.
void startUnitLink();

// Reads "WindowPlacement" and applies it when it is valid.
void restoreWindowPlacement();
// Stores the main window's placement and posts WM_QUIT (WM_DESTROY work).
void saveWindowPlacement();
