; The Windows installer of Palunor6 and Palunor: both programs, their help files, the
; command-line tool palunorctl with its manual page as text, and the licences of the
; fonts built into them, per machine under Program Files, with a
; Start-menu entry for each program and an entry in Add/Remove Programs. The
; uninstaller removes exactly what was installed; a folder that still holds files of
; the user's (a map file saved there) stays.
;
; Built by scripts/package-windows.sh:
;   makensis -DVERSION=1.0 -DFILE_VERSION=1.0.0.0 -DSTAGE=<folder with the files>
;            -DOUTFILE=<setup.exe> [-DICON=<palunor.ico>] palunor.nsi
; Silent: Palunor-<version>-setup.exe /S [/D=C:\Other\Folder]; Uninstall.exe /S.

!macro REQUIRE NAME
  !ifndef ${NAME}
    !error "${NAME} must be defined (-D${NAME}=value)"
  !endif
!macroend
!insertmacro REQUIRE VERSION
!insertmacro REQUIRE FILE_VERSION
!insertmacro REQUIRE STAGE
!insertmacro REQUIRE OUTFILE

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!define PRODUCT "Palunor"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; The files of the installation, one line each; the uninstaller deletes the same list.
!macro PALUNOR_FILES DO
  !insertmacro ${DO} "Palunor6.exe"
  !insertmacro ${DO} "Palunor6.hlp"
  !insertmacro ${DO} "Palunor.exe"
  !insertmacro ${DO} "Palunor.hlp"
  !insertmacro ${DO} "palunorctl.exe"
  !insertmacro ${DO} "palunorctl.txt"
  !insertmacro ${DO} "DSEG-LICENSE.txt"
  !insertmacro ${DO} "DejaVu-LICENSE.txt"
!macroend
!macro INSTALL_FILE NAME
  File "${STAGE}\${NAME}"
!macroend
!macro DELETE_FILE NAME
  Delete "$INSTDIR\${NAME}"
!macroend

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

; FILE_VERSION: the version in the four numbers that version resources want.
VIProductVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey /LANG=1033 "LegalCopyright" ""

!include "MUI2.nsh"
!ifdef ICON
  !define MUI_ICON "${ICON}"
  !define MUI_UNICON "${ICON}"
!endif
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Palunor6.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Palunor6"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Palunor"
  SetOutPath "$INSTDIR"
  !insertmacro PALUNOR_FILES INSTALL_FILE
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; The programs keep "Advance.ini" in their working folder, which under Program
  ; Files a user may not write: the shortcuts start them in the user's own folder.
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  StrCpy $OUTDIR "%USERPROFILE%"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Palunor6.lnk" "$INSTDIR\Palunor6.exe" "" \
    "$INSTDIR\Palunor6.exe" 0 SW_SHOWNORMAL "" "Palunor6: both controller models"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Palunor.lnk" "$INSTDIR\Palunor.exe" "" \
    "$INSTDIR\Palunor.exe" 0 SW_SHOWNORMAL "" "Palunor: QZR controllers"
  SetOutPath "$INSTDIR"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Palunor6.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize 0 $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\${PRODUCT}\Palunor6.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Palunor.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"

  !insertmacro PALUNOR_FILES DELETE_FILE
  Delete "$INSTDIR\Uninstall.exe"
  ; Not /r: whatever the user put in the folder stays, and the folder with it.
  RMDir "$INSTDIR"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
