; The Windows installer of Trelvox, built on Debian with makensis by scripts/package-windows.sh:
;   makensis -DSTAGE=<install tree> -DOUTFILE=<setup.exe> -DVERSION=5.0.0 -DVERSION_QUAD=5.0.0.0
;            -DVERSION_RECORD=5.00 -DVERSION_MAJOR=5 -DVERSION_MINOR=0 -DCOMPANY=<holder>
;            -DCOPYRIGHT=<line> trelvox.nsi
; The version and the names come from the build (build/<preset>/version.env, made from
; project(VERSION)). STAGE is what `cmake --install` writes for the Windows build: trelvox.exe,
; trelvox-batch.exe, guide.html with its screenshots, and LICENSE.txt. The installer takes the
; programs that are there and says which one is missing.
;
; It installs for the current user only (no administrator rights, under
; %LOCALAPPDATA%\Programs\Trelvox, HKCU keys) or for everyone (administrator, Program Files,
; HKLM): the install-mode page, or /CurrentUser and /AllUsers with /S. An earlier installation
; of the same mode is updated in its own folder.
;
; With trelvox.exe it offers itself for DMDX result files (.azk, .zil) in Explorer's "Open with":
; a ProgID of its own per type and the type's OpenWithProgids, under the mode's hive. A type's
; default program is set only where no program has one; the uninstaller takes back what it set.

; The default 32-bit stub does not run under a 64-bit-only Wine (and then reports success
; having installed nothing); the programs are 64-bit anyway.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!ifndef STAGE
  !error "Define STAGE, the folder that the Windows build installs into"
!endif
!ifndef VERSION | VERSION_QUAD | VERSION_RECORD | VERSION_MAJOR | VERSION_MINOR | COMPANY | COPYRIGHT
  !error "Define VERSION, VERSION_QUAD, VERSION_RECORD, VERSION_MAJOR, VERSION_MINOR, COMPANY and COPYRIGHT (see version.env)"
!endif
!ifndef OUTFILE
  !define OUTFILE "trelvox-${VERSION}-setup.exe"
!endif

!define APP "Trelvox"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Trelvox"
; Where trelvox.exe keeps its window place, per user.
!define SETTINGS_PARENT "Software\VB and VBA Program Settings"
; The class of trelvox.exe's main window (src/win/frmMain.h).
!define MAIN_WINDOW_CLASS "TrelvoxMainWindow"

!if /FileExists "${STAGE}/trelvox.exe"
  !define HAVE_GUI
!else
  !warning "${STAGE}/trelvox.exe is missing: this installer holds trelvox-batch.exe only"
!endif
!if ! /FileExists "${STAGE}/trelvox-batch.exe"
  !error "${STAGE}/trelvox-batch.exe is missing"
!endif

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${APP} ${VERSION}"

; The setup program's own version record.
VIProductVersion ${VERSION_QUAD}
VIFileVersion ${VERSION_QUAD}
VIAddVersionKey /LANG=1033 "ProductName" "${APP}"
VIAddVersionKey /LANG=1033 "InternalName" "trelvox-setup"
VIAddVersionKey /LANG=1033 "OriginalFilename" "trelvox-${VERSION}-setup.exe"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION_RECORD}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION_RECORD}"
VIAddVersionKey /LANG=1033 "FileDescription" "${APP} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${COPYRIGHT}"

; For me only or for everyone. "Highest": an administrator is asked to elevate and may choose
; either; anyone else installs for themselves without being asked.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${APP}"
; The folder of an earlier installation (its uninstall entry's InstallLocation, under HKLM or
; HKCU by mode), and which mode it had.
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_FUNCTION InstallModeChosen
!define MULTIUSER_INSTALLMODE_UNFUNCTION un.InstallModeChosen
!define MULTIUSER_INSTALLMODEPAGE_TEXT_TOP "Install ${APP} for yourself only (no administrator rights needed), or for everyone who uses this computer. An earlier installation is updated in its own folder.$\r$\n$\r$\n$(^ClickNext)"
!define MULTIUSER_INSTALLMODEPAGE_TEXT_CURRENTUSER "For me only (in my user folder)"
!define MULTIUSER_INSTALLMODEPAGE_TEXT_ALLUSERS "For everyone who uses this computer (in Program Files)"

!include "MultiUser.nsh"
!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "x64.nsh"
!include "Integration.nsh"

; The folder given with /D=, kept for a first installation (MultiUser sets $INSTDIR by mode).
Var CommandLineDir
; The folder of an earlier installation of the chosen mode, or empty.
Var EarlierInstall
; The uninstaller's own folder.
Var UninstallerDir

!define MUI_ABORTWARNING
; The program's icon at 16 to 256 px, made from packaging/linux/icons (makensis reads files
; from the script's folder).
!define MUI_ICON "trelvox.ico"
!define MUI_UNICON "trelvox.ico"
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipFolderOnUpgrade
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!ifdef HAVE_GUI
  !define MUI_FINISHPAGE_RUN
  !define MUI_FINISHPAGE_RUN_TEXT "Run ${APP}"
  !define MUI_FINISHPAGE_RUN_FUNCTION RunTrelvoxAsUser
!endif
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\guide.html"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the guide"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION ShowGuideAsUser
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Sets $0 to 1 when trelvox.exe runs: its main window exists anywhere, or a program in the
; folder cannot be opened for writing (Windows holds a running program's file; this also
; catches the splash and trelvox-batch.exe).
!macro IS_TRELVOX_RUNNING_FUNCTION PREFIX
  Function ${PREFIX}IsTrelvoxRunning
    StrCpy $0 0
    FindWindow $1 "${MAIN_WINDOW_CLASS}"
    ${If} $1 <> 0
      StrCpy $0 1
    ${EndIf}
    ${ForEach} $2 1 2 + 1
      ${If} $2 = 1
        StrCpy $3 "$INSTDIR\trelvox.exe"
      ${Else}
        StrCpy $3 "$INSTDIR\trelvox-batch.exe"
      ${EndIf}
      ${If} ${FileExists} $3
        ClearErrors
        FileOpen $1 $3 a
        ${If} ${Errors}
          StrCpy $0 1
        ${Else}
          FileClose $1
        ${EndIf}
      ${EndIf}
    ${Next}
  FunctionEnd

  ; Waits for the user to close Trelvox (Retry), or gives up (Cancel; always so when silent)
  ; with exit status 2, having changed nothing.
  Function ${PREFIX}RefuseWhileRunning
    check:
      Call ${PREFIX}IsTrelvoxRunning
      StrCmp $0 0 done
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "${APP} is running. Close it (File, Exit), then press Retry." /SD IDCANCEL IDRETRY check
      SetErrorLevel 2
      Quit
    done:
  FunctionEnd
!macroend
!insertmacro IS_TRELVOX_RUNNING_FUNCTION ""
!insertmacro IS_TRELVOX_RUNNING_FUNCTION "un."

!ifdef HAVE_GUI
; The ProgID of Trelvox for a result type: "Trelvox.azk".
!define PROGID_PREFIX "Trelvox."

; Sets $0 to the default program (ProgID) that the type has for this user or for everyone,
; empty when it has none.
!macro READ_TYPE_DEFAULT EXT
  ReadRegStr $0 HKCU "Software\Classes\.${EXT}" ""
  ${If} $0 == ""
    ReadRegStr $0 HKLM "Software\Classes\.${EXT}" ""
  ${EndIf}
!macroend

; Offers trelvox.exe for the type in "Open with", and opens the type by double-click only when
; no other program is the type's default: a researcher's editor or viewer keeps it.
!macro REGISTER_RESULT_TYPE EXT DESCRIPTION
  WriteRegStr SHCTX "Software\Classes\${PROGID_PREFIX}${EXT}" "" "${DESCRIPTION}"
  WriteRegStr SHCTX "Software\Classes\${PROGID_PREFIX}${EXT}\DefaultIcon" "" "$INSTDIR\trelvox.exe,0"
  WriteRegStr SHCTX "Software\Classes\${PROGID_PREFIX}${EXT}\shell\open\command" "" \
    '"$INSTDIR\trelvox.exe" "%1"'
  WriteRegStr SHCTX "Software\Classes\.${EXT}\OpenWithProgids" "${PROGID_PREFIX}${EXT}" ""
  !insertmacro READ_TYPE_DEFAULT ${EXT}
  ${If} $0 == ""
  ${OrIf} $0 == "${PROGID_PREFIX}${EXT}"
    WriteRegStr SHCTX "Software\Classes\.${EXT}" "" "${PROGID_PREFIX}${EXT}"
  ${EndIf}
!macroend

; The name "Open with" shows for trelvox.exe: without it Windows shows the version record's
; long file description. The types it opens, for the shell's list of programs.
!macro REGISTER_APPLICATION
  WriteRegStr SHCTX "Software\Classes\Applications\trelvox.exe" "FriendlyAppName" "${APP}"
  WriteRegStr SHCTX "Software\Classes\Applications\trelvox.exe\SupportedTypes" ".azk" ""
  WriteRegStr SHCTX "Software\Classes\Applications\trelvox.exe\SupportedTypes" ".zil" ""
  WriteRegStr SHCTX "Software\Classes\Applications\trelvox.exe\shell\open\command" "" \
    '"$INSTDIR\trelvox.exe" "%1"'
!macroend

; Takes back what REGISTER_RESULT_TYPE wrote in this hive, and no more: another program's
; default and its entries in the type's list stay.
!macro UNREGISTER_RESULT_TYPE EXT
  DeleteRegValue SHCTX "Software\Classes\.${EXT}\OpenWithProgids" "${PROGID_PREFIX}${EXT}"
  DeleteRegKey /IfEmpty SHCTX "Software\Classes\.${EXT}\OpenWithProgids"
  ReadRegStr $0 SHCTX "Software\Classes\.${EXT}" ""
  ${If} $0 == "${PROGID_PREFIX}${EXT}"
    DeleteRegValue SHCTX "Software\Classes\.${EXT}" ""
  ${EndIf}
  DeleteRegKey /IfEmpty SHCTX "Software\Classes\.${EXT}"
  DeleteRegKey SHCTX "Software\Classes\${PROGID_PREFIX}${EXT}"
!macroend
!endif

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "Trelvox needs a 64-bit Windows." /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
  StrCpy $CommandLineDir $INSTDIR
  !insertmacro MULTIUSER_INIT
FunctionEnd

; Called by MultiUser whenever the mode is set: $INSTDIR is then the earlier installation's
; folder of that mode, or the mode's default folder.
Function InstallModeChosen
  StrCpy $EarlierInstall $MultiUser.InstDir
  ${If} $EarlierInstall == ""
  ${AndIf} $CommandLineDir != ""
    StrCpy $INSTDIR $CommandLineDir
  ${EndIf}
FunctionEnd

; An upgrade or a reinstall goes into the earlier installation's folder, so that there is
; never a second copy.
Function SkipFolderOnUpgrade
  ${If} $EarlierInstall != ""
    Abort
  ${EndIf}
FunctionEnd

; The Finish page's "Run Trelvox" and "Show the guide": never with the installer's
; administrator rights. An elevated installer hands the file to Explorer, which opens it as the
; signed-in user; otherwise the installer opens it itself.
!macro OPEN_AS_USER FILE
  ${If} $MultiUser.Privileges == "Admin"
    Exec '"$WINDIR\explorer.exe" "${FILE}"'
  ${Else}
    ExecShell "open" "${FILE}"
  ${EndIf}
!macroend

Function RunTrelvoxAsUser
  !insertmacro OPEN_AS_USER "$INSTDIR\trelvox.exe"
FunctionEnd

Function ShowGuideAsUser
  !insertmacro OPEN_AS_USER "$INSTDIR\guide.html"
FunctionEnd

Section "Trelvox" SecMain
  SectionIn RO
  Call RefuseWhileRunning
  SetOutPath "$INSTDIR"
!ifdef HAVE_GUI
  File "${STAGE}/trelvox.exe"
!endif
  File "${STAGE}/trelvox-batch.exe"
  File "${STAGE}/guide.html"
  File "${STAGE}/LICENSE.txt"
  ; The guide's pictures of an earlier version go; this version's come.
  Delete "$INSTDIR\screenshots\*.png"
  SetOutPath "$INSTDIR\screenshots"
  File "${STAGE}/screenshots/*.png"
  SetOutPath "$INSTDIR"
  ; Earlier versions shipped the guide as README.txt.
  Delete "$INSTDIR\README.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

!ifdef HAVE_GUI
  CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\trelvox.exe"
  !insertmacro REGISTER_RESULT_TYPE azk "DMDX AZK result file"
  !insertmacro REGISTER_RESULT_TYPE zil "DMDX ZIL result file"
  !insertmacro REGISTER_APPLICATION
  ${NotifyShell_AssocChanged}
!endif
  CreateShortcut "$SMPROGRAMS\${APP} guide.lnk" "$INSTDIR\guide.html"

  ; SHCTX: HKLM for everyone, HKCU for the current user only.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" \
    '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" \
    '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
!ifdef HAVE_GUI
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\trelvox.exe"
!endif
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "VersionMajor" ${VERSION_MAJOR}
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "VersionMinor" ${VERSION_MINOR}
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ; Add/Remove Programs shows the size in KB.
  SectionGetSize ${SecMain} $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  SetRegView 64
  StrCpy $UninstallerDir $INSTDIR
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

; The uninstaller removes the copy it belongs to, whatever the registry of its mode says.
Function un.InstallModeChosen
  StrCpy $INSTDIR $UninstallerDir
FunctionEnd

Section "Uninstall"
  Call un.RefuseWhileRunning
  Delete "$SMPROGRAMS\${APP}.lnk"
  Delete "$SMPROGRAMS\${APP} guide.lnk"
  Delete "$INSTDIR\trelvox.exe"
  Delete "$INSTDIR\trelvox-batch.exe"
  Delete "$INSTDIR\guide.html"
  Delete "$INSTDIR\screenshots\*.png"
  RMDir "$INSTDIR\screenshots"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: files a user put there stay.
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
!ifdef HAVE_GUI
  !insertmacro UNREGISTER_RESULT_TYPE azk
  !insertmacro UNREGISTER_RESULT_TYPE zil
  DeleteRegKey SHCTX "Software\Classes\Applications\trelvox.exe"
  ${NotifyShell_AssocChanged}
!endif
  ; The main window's place, stored by trelvox.exe for the user who uninstalls; the key above
  ; it goes too when Trelvox's was the only one under it.
  ClearErrors
  EnumRegKey $0 HKCU "${SETTINGS_PARENT}\Trelvox" 0
  ${IfNot} ${Errors}
    DeleteRegKey HKCU "${SETTINGS_PARENT}\Trelvox"
    DeleteRegKey /IfEmpty HKCU "${SETTINGS_PARENT}"
  ${EndIf}
SectionEnd
