// The probe: a DLL that quill-driver loads into BrontivaSetup.exe with a
// WH_GETMESSAGE hook, because under Wine menus and combo-box item texts cannot
// be read from another process. When the program's thread retrieves the
// registered message kProbeMessage, the probe describes the main window into
// "probe-<wParam>.txt" beside the DLL (written under another name, then
// renamed, so the driver never reads half a file). One item per line, fields
// separated by a tab, texts as the program's 8-bit bytes (tabs and line ends
// made blanks):
//
//   menu   <pos>  <id>  <enabled 1, 0, g greyed>  <checked 0/1>  <text>   menu-bar entry
//   window <id>   <class>  <visible>  <enabled>  <l> <t> <r> <b>  <text>   child at any depth
//   choice <id>   <index>  <selected 0/1>  <text>                        combo-box entry
#pragma once

inline constexpr const char* kProbeMessage = "QuillProbeDescribe";
inline constexpr const char* kProbeHookExport = "quillProbeHook";
