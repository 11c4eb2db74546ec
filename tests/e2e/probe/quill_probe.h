// The probe: a DLL that quill-driver hooks (WH_GETMESSAGE) into BrontivaSetup.exe, since under
// Wine menus and combo-box item texts cannot be read from another process. On the registered
// message kProbeMessage it describes the main window into "probe-<wParam>.txt" beside the DLL
// (renamed into place, never read half-written): a line per item, fields split by tabs, the
// program's 8-bit texts (tabs and line ends made blanks):
//
//   menu   <pos>  <id>  <enabled 1, 0, g greyed>  <checked 0/1>  <text>   menu-bar entry
//   window <id>   <class>  <visible>  <enabled>  <l> <t> <r> <b>  <text>   child at any depth
//   choice <id>   <index>  <selected 0/1>  <text>                        combo-box entry
#pragma once

inline constexpr const char* kProbeMessage = "QuillProbeDescribe";
inline constexpr const char* kProbeHookExport = "quillProbeHook";
