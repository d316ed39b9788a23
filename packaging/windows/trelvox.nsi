; The Windows installer of Trelvox, built on Debian with makensis:
;   makensis -DSTAGE=<install tree> -DOUTFILE=<setup.exe> packaging/windows/trelvox.nsi
; STAGE is what `cmake --install` writes for the Windows build: trelvox.exe, trelvox-batch.exe,
; README.txt and LICENSE.txt. The installer takes the programs that are there and says which
; one is missing.

; The default 32-bit stub does not run under a 64-bit-only Wine (and then reports success
; having installed nothing); the programs are 64-bit anyway.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!ifndef STAGE
  !error "Define STAGE, the folder that the Windows build installs into"
!endif
!ifndef OUTFILE
  !define OUTFILE "trelvox-5.0.0-setup.exe"
!endif

!define APP "Trelvox"
!define VERSION "5.0.0"
!define PUBLISHER "The Trelvox developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Trelvox"

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
InstallDir "$PROGRAMFILES64\${APP}"
RequestExecutionLevel admin
BrandingText "${APP} ${VERSION}"

; The version record, as the programs carry it.
VIProductVersion 5.0.0.0
VIFileVersion 5.0.0.0
VIAddVersionKey /LANG=1033 "ProductName" "Trelvox"
VIAddVersionKey /LANG=1033 "InternalName" "Trelvox"
VIAddVersionKey /LANG=1033 "OriginalFilename" "Trelvox.exe"
VIAddVersionKey /LANG=1033 "FileVersion" "5.00"
VIAddVersionKey /LANG=1033 "ProductVersion" "5.00"
VIAddVersionKey /LANG=1033 "FileDescription" "This program extracts information from the DMDX .azk file and creates an individual subject data file.  It also adds data to composite database"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}, MIT licence"

!include "MUI2.nsh"
!include "x64.nsh"

!define MUI_ABORTWARNING
; The program's icon at 16 to 256 px, made from packaging/linux/icons (makensis reads files
; from the script's folder).
!define MUI_ICON "trelvox.ico"
!define MUI_UNICON "trelvox.ico"
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!ifdef HAVE_GUI
  !define MUI_FINISHPAGE_RUN "$INSTDIR\trelvox.exe"
!endif
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Show the guide"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "Trelvox needs a 64-bit Windows." /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Trelvox" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
!ifdef HAVE_GUI
  File "${STAGE}/trelvox.exe"
!endif
  File "${STAGE}/trelvox-batch.exe"
  File "${STAGE}/README.txt"
  File "${STAGE}/LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

!ifdef HAVE_GUI
  CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\trelvox.exe"
!endif
  CreateShortcut "$SMPROGRAMS\${APP} guide.lnk" "$INSTDIR\README.txt"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
!ifdef HAVE_GUI
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\trelvox.exe"
!endif
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMajor" 5
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMinor" 0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; Add/Remove Programs shows the size in KB.
  SectionGetSize ${SecMain} $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\${APP}.lnk"
  Delete "$SMPROGRAMS\${APP} guide.lnk"
  Delete "$INSTDIR\trelvox.exe"
  Delete "$INSTDIR\trelvox-batch.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: files a user put there stay.
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; The main window's place, stored by trelvox.exe for the user who uninstalls.
  DeleteRegKey HKCU "Software\VB and VBA Program Settings\Trelvox"
SectionEnd
