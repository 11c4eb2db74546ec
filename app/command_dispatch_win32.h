// Command dispatch and the menu bar: the user interface built at WM_CREATE
// and at every language switch, and the mapping of every command id that
// reaches the main window to the code that carries it out.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// WM_CREATE work for every window of the main class; only the first one
// (the main window) builds anything.
void buildUserInterface(HWND window);
// Selects the language of that name (none when the table lacks it) and
// rebuilds the menu bar and every control with the new texts.
void applyLanguage(const std::string& name);
void buildMenuBar();
// Inserts entry `position` of `row` at `position` of `menu` ("???" when the
// row has no such entry), as a pop-up when `popup` is given, disabled when
// not `enabled`.
void insertMenuEntry(HMENU popup, const char* row, int32_t position, HMENU menu, UINT id, bool enabled);
// True when the command was handled; the window procedure passes the
// others on to DefWindowProcA.
bool dispatchCommand(int32_t id, int32_t notificationCode);
