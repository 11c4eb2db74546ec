// Resource and control ids of BrontivaSetup.exe. Shared by the .rc file
// (windres reads only the #define lines) and the C++ shell, so every id has
// exactly one home. Plain #defines: the resource compiler understands nothing
// else.
#pragma once

// Icon group, dialogs and bitmap.
#define IDI_APPLICATION_ICON 129
#define IDD_ABOUT 130
#define IDD_TEXT_ENTRY 131
#define IDD_SPLASH 132
#define IDB_SPLASH 133

// About box statics: the four lines "A1".."A4" of the definition table.
#define IDC_ABOUT_LINE1 1001
#define IDC_ABOUT_LINE2 1002
#define IDC_ABOUT_LINE3 1003
#define IDC_ABOUT_LINE4 1004

// Text entry dialog: the edit field (OK and Cancel are IDOK and IDCANCEL).
#define IDC_ENTRY_EDIT 1000

// Menu bar commands (positions 0..5 of the bar; position 3 is the language
// pop-up, whose entries are IDM_LANGUAGE_FIRST + i).
#define IDM_SAVE_FILE 1000
#define IDM_OPEN_FILE 1001
#define IDM_PRINT 1002
#define IDM_ABOUT 1003
#define IDM_EXIT 1004
#define IDM_LANGUAGE_FIRST 10000
#define IDM_LANGUAGE_LAST 19998

// Fixed controls of the main window.
#define IDC_RESET_DEFAULTS 5000
#define IDC_READ_DEVICE 5001
#define IDC_WRITE_DEVICE 5002
#define IDC_TEXT_T1 5003
#define IDC_TEXT_T2 5004
#define IDC_TEXT_T3 15005
#define IDC_TEXT_T4 15006
#define IDC_TEXT_H 5005
#define IDC_TEXT_K 5006
#define IDC_PROGRESS 5007
#define IDC_STATUS_LINE 5008

// The notification code with which a free-text field asks the main window
// for its entry box (WM_COMMAND with the field's id); the low byte is the
// digit typed to open it, 0 for none. The edits' own codes (EN_*) are below.
#define IDN_FIELD_ENTRY 0x8000

// Timers: the status refresh of every window of the main class, and the
// splash's one-shot timer.
#define IDT_STATUS_TIMER 127
#define IDT_SPLASH 0

// Controls without an id in the dialog templates.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
