; Installer of Quill Mere for 64-bit Windows. Built by tools/make-installer.sh:
;   makensis -DBIN_DIR=<folder of QuillMere.exe and QuillMere.htm> -DOUT_FILE=<setup.exe> QuillMere.nsi
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include LogicLib.nsh
!include FileFunc.nsh

!ifndef BIN_DIR
  !error "BIN_DIR must name the folder that holds QuillMere.exe and QuillMere.htm"
!endif
!ifndef OUT_FILE
  !define OUT_FILE "QuillMereSetup.exe"
!endif

!define PRODUCT "Quill Mere"
!define VERSION "2.01"
!define PUBLISHER "Corvalith"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define DATA_KEY "Software\Corvalith\Quill Mere"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
; Program Files and HKEY_LOCAL_MACHINE need an administrator.
RequestExecutionLevel admin
Icon "..\art\icon128.ico"
UninstallIcon "..\art\icon128.ico"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "2.1.0.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) ${PUBLISHER}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Quill Mere"
  SetOutPath "$INSTDIR"
  File "${BIN_DIR}\QuillMere.exe"
  File "${BIN_DIR}\QuillMere.htm"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; The Start menu entry is for everyone on the machine.
  SetShellVarContext all
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\QuillMere.exe" "" "$INSTDIR\QuillMere.exe" 0
  ; The log-on start belongs to the user who installs: the program takes a start whose
  ; working folder is the Windows directory for the start made by Windows at log-on, and
  ; a shortcut takes its working folder from the output path at its creation.
  SetShellVarContext current
  SetOutPath "$WINDIR"
  CreateShortCut "$SMSTARTUP\${PRODUCT}.lnk" "$INSTDIR\QuillMere.exe" "" "$INSTDIR\QuillMere.exe" 0
  SetOutPath "$INSTDIR"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\QuillMere.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; un.ClearIfNames VALUE LONGPATH: empties HKCU "Control Panel\Desktop" VALUE when it names
; LONGPATH by its long or short path or by its bare long or short file name (the form the
; screen-saver setting takes on Windows NT). Runs while the file still exists, so that its
; short name can be found.
!macro ClearIfNames VALUE LONGPATH
  Push "${LONGPATH}"
  Push "${VALUE}"
  Call un.ClearIfNames
!macroend

Function un.ClearIfNames
  Exch $R0 ; value name
  Exch
  Exch $R1 ; long path
  Push $R2
  Push $R3
  Push $R4
  Push $R5
  ReadRegStr $R2 HKCU "Control Panel\Desktop" $R0
  ${If} $R2 != ""
    GetFullPathName /SHORT $R3 $R1
    ${If} $R3 == ""
      StrCpy $R3 $R1
    ${EndIf}
    ${GetFileName} $R1 $R4
    GetFullPathName $R5 $R2 ; the value with doubled backslashes collapsed
    ${If} $R2 == $R1
    ${OrIf} $R5 == $R1
    ${OrIf} $R2 == $R3
    ${OrIf} $R2 == $R4
      WriteRegStr HKCU "Control Panel\Desktop" $R0 ""
    ${Else}
      ${GetFileName} $R3 $R4
      ${If} $R2 == $R4
        WriteRegStr HKCU "Control Panel\Desktop" $R0 ""
      ${EndIf}
    ${EndIf}
  ${EndIf}
  Pop $R5
  Pop $R4
  Pop $R3
  Pop $R2
  Pop $R1
  Pop $R0
FunctionEnd

; The user's pools, settings and the installed wallpaper and screen-saver copies.
Function un.RemoveUserData
  !insertmacro ClearIfNames "Wallpaper" "$WINDIR\Quill Mere.bmp"
  !insertmacro ClearIfNames "SCRNSAVE.EXE" "$SYSDIR\Quill Mere.scr"
  ; The fixed short name the program writes on Windows NT, whatever the copy's real one is.
  ReadRegStr $0 HKCU "Control Panel\Desktop" "SCRNSAVE.EXE"
  ${If} $0 == "QUILLM~1.SCR"
    WriteRegStr HKCU "Control Panel\Desktop" "SCRNSAVE.EXE" ""
  ${EndIf}
  Delete "$WINDIR\qmfiles.cfg"
  Delete "$WINDIR\tmpqm.tmp"
  Delete "$WINDIR\Quill Mere.bmp"
  Delete "$SYSDIR\Quill Mere.scr"
  DeleteRegKey HKLM "${DATA_KEY}"
  DeleteRegKey /ifempty HKLM "Software\Corvalith"
  ; A user who may not write the machine-wide places keeps everything in places of their own.
  !insertmacro ClearIfNames "Wallpaper" "$LOCALAPPDATA\Quill Mere\Quill Mere.bmp"
  !insertmacro ClearIfNames "SCRNSAVE.EXE" "$LOCALAPPDATA\Quill Mere\Quill Mere.scr"
  Delete "$LOCALAPPDATA\Quill Mere\qmfiles.cfg"
  Delete "$LOCALAPPDATA\Quill Mere\tmpqm.tmp"
  Delete "$LOCALAPPDATA\Quill Mere\Quill Mere.bmp"
  Delete "$LOCALAPPDATA\Quill Mere\Quill Mere.scr"
  RMDir "$LOCALAPPDATA\Quill Mere"
  DeleteRegKey HKCU "${DATA_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Corvalith"
FunctionEnd

Section "Uninstall"
  Delete "$INSTDIR\QuillMere.exe"
  Delete "$INSTDIR\QuillMere.htm"
  ; The uninstaller runs from a copy of itself; the process started from Uninstall.exe may
  ; still hold that file for a moment after starting the copy.
  ${For} $0 1 25
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    ${IfNot} ${FileExists} "$INSTDIR\*.*"
      ${Break}
    ${EndIf}
    Sleep 200
  ${Next}
  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  SetShellVarContext current
  Delete "$SMSTARTUP\${PRODUCT}.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; A silent uninstall keeps the user's data; asked, the user decides.
  ${IfNot} ${Silent}
    MessageBox MB_YESNO|MB_ICONQUESTION "Also remove your pools of files, your settings and the installed wallpaper and screen saver copies?" /SD IDNO IDNO keep
    Call un.RemoveUserData
    keep:
  ${EndIf}
  SetAutoClose true
SectionEnd
