// The form: every child window of the main window and what it shows. The
// parameter area with one caption and one choice list per parameter row,
// and below it the fixed strip of six free-text fields, three command
// buttons and the status line, which the progress bar replaces during a
// transfer. Controls are created once and refreshed on every build; their
// places come from the layout arithmetic (params/layout.h), their values go
// in and out as plain values (params/form_values.h).
//
// User-interface thread only.
#pragma once

#include "configfile/config_text.h"
#include "params/form_values.h"
#include "params/layout.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The ParameterArea: a child of the main window of the main class, the
// parent of every parameter row.
void createParameterArea();

// Fields and buttons that need a unit follow formAvailable(); the rows are
// shown by layoutMainWindow under the same rule.
void buildFixedControls();
void createCommandButton(int32_t textIndex, int32_t controlId, int32_t groupX, int32_t clientBottom, bool enabled);
void createTextField(int32_t clientBottom, int32_t controlId, int32_t slot);
void layoutMainWindow();
// Moves a window keeping its outer size; a missing window is left alone.
void moveKeepingSize(HWND window, Point position);

// Measures the column widths and row height from the definitions, then
// creates or refreshes one row per parameter of the list, keeping each
// list's selection while it is still valid.
void buildParameterRows();
void hideParameterRows();
// Selects the first choice of every row; nothing is sent to the unit.
void resetToDefaults();

// Range 0..number of visible rows, page = rows that fit, position 0, and
// every row placed for it. Called by every layout.
void resetScrollRange();
// wParam of WM_VSCROLL; only its low word, the request, is used.
void scrollParameterArea(WPARAM request);
// Moves every row with a choice list to its place for first row `position`.
void placeParameterRows(int32_t position);
// Called between BeginPaint and EndPaint for every window of the main
// class; draws only for the parameter area.
void paintParameterArea(HDC dc, HWND window);
// wParam of WM_MOUSEWHEEL: the form moves by rows, as many a notch as the
// system's wheel setting says, parts of a notch added up.
void scrollParameterAreaByWheel(WPARAM wheel);
// Scrolls the least that shows row `number` (a row list that took the focus).
void scrollRowIntoView(int32_t number);

// The keyboard and the wheel (form_input_win32.cpp). A free-text field asks
// for its entry box with IDN_FIELD_ENTRY (resources/resource.h).
void installListInput(HWND list);
void installFieldInput(HWND field);
// Every message of the message loops goes through here: Tab and Shift+Tab
// move through the controls, Enter presses a focused button.
void dispatchFormMessage(MSG& message);
// The focus the main window had when it was deactivated, given back when
// it is activated again; a control that was hidden or disabled meanwhile
// gives way to the first one that can hold it, so the focus always shows.
void rememberFocus();
void keepFocusVisible();

// The form as it stands: every present field's text, every row's list,
// selection, caption and choice text. The one place that reads the form's
// windows.
FormValues readFormValues();
// Sets a field's text or a row's selection (-1 or one beyond the list
// leaves it without one). Controls the form does not hold (any more) are
// skipped.
void showFieldText(int32_t controlId, const std::string& text);
void showRowSelection(int32_t number, int32_t selection);
// Selects what each pair names in the rows' lists (selectionForPair):
// pairs for unknown rows, rows without a list and empty lists are skipped.
// CB_SETCURSEL sends no notification, so nothing else changes.
void applyConfigPairs(const std::vector<ConfigPair>& pairs);

// Without a unit nothing that needs one may be used: the reset and write
// buttons, save, open and print, the rows and fields. The form stays locked
// until the next read, whatever is rebuilt in between.
void lockForm();
// Whether the form may be used and sent: read completely on the link's
// connection that is still there. When the link has lost that connection
// since the read (no unit, or any new connection, whether or not a status
// refresh saw it), the form is locked here and false returned; every
// command that uses the form asks this first.
bool formBelongsToUnit();
// Enables or disables (without greying) save, open and print (menu-bar
// positions 0 to 2), redrawing the bar when that changes anything.
void setConfigurationMenuEnabled(bool enabled);
