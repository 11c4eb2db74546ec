; The Windows installer: the program, its two command-line companions and the
; guide for all users under Program Files\Valdrix\Sorvane Quill Alarm Setup,
; a Start-menu shortcut, an entry in the list of installed programs, and an
; uninstaller. scripts/package runs it:
;
;   makensis -INPUTCHARSET UTF8 -DVERSION_NSH=<build>/generated/quill_version.nsh
;            -DSTAGE_DIR=<files to install> -DICON=<program icon>
;            -DSIDE_BITMAP=<164 x 314 picture of the first and last pages>
;            -DOUT_FILE=<installer> [-DSIGN_COMMAND=<command signing "%1">]
;            installer/BrontivaSetup.nsi
;
; /S installs and uninstalls without a window. Installing over an existing
; installation replaces its files in place. The uninstaller removes only what
; the installer put there: the user's settings (HKCU\Software\Valdrix), the
; backups in the user's application data and any configuration file stay,
; even one saved into the program's folder.
;
; Only the 64-bit stub: the program is 64-bit, and a 32-bit installer could
; not run where there is no 32-bit support (Wine without its 32-bit part).
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "${VERSION_NSH}"
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\SorvaneQuillAlarmSetup"
!define MAIN_CLASS "BrontivaSetupClass"
!define SHORTCUT "$SMPROGRAMS\${QUILL_PRODUCT_NAME}.lnk"

Name "${QUILL_PRODUCT_NAME}"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES64\${QUILL_COMPANY_NAME}\${QUILL_PRODUCT_NAME}"
; An upgrade goes where the installed copy is, wherever the user put it.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${QUILL_PRODUCT_NAME} ${QUILL_VERSION_TEXT}"
; The product's name ends in "Setup": NSIS's own "<name> Setup" would say it
; twice.
Caption "${QUILL_PRODUCT_NAME} ${QUILL_VERSION_TEXT}"

; Both files are signed after makensis has written them (scripts/package),
; when a certificate is given.
!ifdef SIGN_COMMAND
  !uninstfinalize '${SIGN_COMMAND}'
!endif

VIProductVersion "${QUILL_FILE_VERSION_TEXT}"
VIFileVersion "${QUILL_FILE_VERSION_TEXT}"
VIAddVersionKey /LANG=0 "ProductName" "${QUILL_PRODUCT_NAME}"
VIAddVersionKey /LANG=0 "CompanyName" "${QUILL_COMPANY_NAME}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${QUILL_COPYRIGHT}"
VIAddVersionKey /LANG=0 "FileDescription" "${QUILL_PRODUCT_NAME} installer"
VIAddVersionKey /LANG=0 "FileVersion" "${QUILL_FILE_VERSION_TEXT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${QUILL_VERSION_TEXT}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${SIDE_BITMAP}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TITLE "$(WelcomeTitle)"
!define MUI_FINISHPAGE_TITLE "$(FinishTitle)"
!define MUI_FINISHPAGE_RUN "$INSTDIR\BrontivaSetup.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\guide.html"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "$(OpenGuide)"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The installer speaks the user's language where the program does.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "Polish"

LangString WelcomeTitle ${LANG_ENGLISH} "Welcome to the installation of ${QUILL_PRODUCT_NAME}"
LangString WelcomeTitle ${LANG_GERMAN} "Willkommen zur Installation$\r$\nvon ${QUILL_PRODUCT_NAME}"
LangString WelcomeTitle ${LANG_POLISH} "Witamy w kreatorze instalacji ${QUILL_PRODUCT_NAME}"
LangString FinishTitle ${LANG_ENGLISH} "${QUILL_PRODUCT_NAME} is installed"
LangString FinishTitle ${LANG_GERMAN} "Die Installation von ${QUILL_PRODUCT_NAME} wird abgeschlossen"
LangString FinishTitle ${LANG_POLISH} "Kończenie pracy kreatora instalacji ${QUILL_PRODUCT_NAME}"
LangString OpenGuide ${LANG_ENGLISH} "Open the guide for installers"
LangString OpenGuide ${LANG_GERMAN} "Anleitung für Errichter öffnen"
LangString OpenGuide ${LANG_POLISH} "Otwórz przewodnik dla instalatorów"
LangString CloseProgram ${LANG_ENGLISH} "${QUILL_PRODUCT_NAME} is running. Close it, then press Retry."
LangString CloseProgram ${LANG_GERMAN} "${QUILL_PRODUCT_NAME} läuft noch. Schließen Sie das Programm und wählen Sie dann Wiederholen."
LangString CloseProgram ${LANG_POLISH} "Program ${QUILL_PRODUCT_NAME} jest uruchomiony. Zamknij go, a następnie wybierz Ponów."

; A running program keeps its .exe open: replacing or removing it would fail
; half-way. Ask until it is closed; a silent run ends at once with status 2.
!macro WaitForProgramClosed
  retry_close:
    FindWindow $0 "${MAIN_CLASS}"
    StrCmp $0 0 program_closed
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(CloseProgram)" /SD IDCANCEL IDRETRY retry_close
    SetErrorLevel 2
    Quit
  program_closed:
!macroend

Function .onInit
  SetShellVarContext all
  SetRegView 64
  !insertmacro WaitForProgramClosed
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  File "${STAGE_DIR}\BrontivaSetup.exe"
  File "${STAGE_DIR}\quillctl.exe"
  File "${STAGE_DIR}\sqctool.exe"
  File "${STAGE_DIR}\guide.html"
  ; Pictures of an older guide go, the current ones come.
  Delete "$INSTDIR\guide\*.png"
  SetOutPath "$INSTDIR\guide"
  File "${STAGE_DIR}\guide\*.png"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortcut "${SHORTCUT}" "$INSTDIR\BrontivaSetup.exe" "" "$INSTDIR\BrontivaSetup.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${QUILL_PRODUCT_NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${QUILL_VERSION_TEXT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${QUILL_COMPANY_NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\BrontivaSetup.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; In KiB, as the list of installed programs expects.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 64
  !insertmacro WaitForProgramClosed
FunctionEnd

; File by file, never the whole folder: a configuration file the user saved
; in the program's folder must survive, and so must the folder holding it.
Section "Uninstall"
  Delete "$INSTDIR\BrontivaSetup.exe"
  Delete "$INSTDIR\quillctl.exe"
  Delete "$INSTDIR\sqctool.exe"
  Delete "$INSTDIR\guide.html"
  Delete "$INSTDIR\guide\*.png"
  RMDir "$INSTDIR\guide"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  ; The company folder, when nothing else of ours is in it.
  RMDir "$INSTDIR\.."
  Delete "${SHORTCUT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
