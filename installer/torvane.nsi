; The Torvane installer: a per-user installation (no elevation), silent with
; /S, the calendar started at its end unless /NORUN is given. Built by
; tools/package, which passes VERSION, BIN (the programs) and OUTFILE.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "MUI2.nsh"

!ifndef VERSION | BIN | OUTFILE
  !error "build with tools/package"
!endif

!define PRODUCT "Torvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Torvane"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; Where this user installed: an update run silently installs there again.
!define PRODUCT_KEY "Software\Torvane"

Name "${PRODUCT} 日历 ${VERSION}"
OutFile "${OUTFILE}"
; set.ini lives beside the programs and must stay writable: the user's own
; program folder, not Program Files.
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${PRODUCT_KEY}" "InstallDir"
RequestExecutionLevel user
ShowInstDetails nevershow
ShowUninstDetails nevershow
; The product's own name in the footer, not the installer system's.
BrandingText "${PRODUCT} 日历 ${VERSION}"

VIProductVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT} 日历安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "CompanyName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "${PRODUCT}"

; The interface speaks Simplified Chinese, with the calendar's icon.
!define MUI_ICON "${BIN}\..\..\..\resources\pictures\torvane.ico"
!define MUI_UNICON "${BIN}\..\..\..\resources\pictures\torvane.ico"
!define MUI_ABORTWARNING
!define MUI_WELCOMEFINISHPAGE_BITMAP "${BIN}\..\..\..\resources\pictures\installer_side.bmp"
; The last page offers to start the calendar, as a silent install does by
; itself; /NORUN leaves the offer unticked.
!define MUI_FINISHPAGE_RUN "$INSTDIR\torvane.exe"
!define MUI_FINISHPAGE_RUN_PARAMETERS "qidong"
!define MUI_FINISHPAGE_RUN_TEXT "运行 ${PRODUCT}"
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishPageShow
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Function FinishPageShow
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/NORUN" $R1
  ${IfNot} ${Errors}
    ${NSD_Uncheck} $mui.FinishPage.Run
  ${EndIf}
FunctionEnd

; Ends every program of the suite (the updater may still be ending) so no
; file being replaced or removed is held open.
!macro EndSuite
  ${If} ${FileExists} "$INSTDIR\halter.exe"
    ExecWait '"$INSTDIR\halter.exe"'
  ${EndIf}
!macroend

Section "Torvane"
  !insertmacro EndSuite
  SetOutPath "$INSTDIR"
  File "${BIN}\torvane.exe"
  File "${BIN}\torvaneupdate.exe"
  File "${BIN}\torvo.exe"
  File "${BIN}\halter.exe"
  ; A days-off file the calendar downloaded may be newer than ours: it stays.
  ; The calendar follows the newer of it and the copy built into torvane.exe.
  SetOverwrite off
  File "${BIN}\holidays.txt"
  SetOverwrite on
  SetOutPath "$INSTDIR\pic"
  File "${BIN}\pic\*.gif"
  SetOutPath "$INSTDIR"
  ; An upgrade keeps the user's switches.
  ${IfNot} ${FileExists} "$INSTDIR\set.ini"
    File "${BIN}\set.ini"
  ${EndIf}
  WriteINIStr "$INSTDIR\set.ini" "version" "version" "${VERSION}"
  WriteUninstaller "$INSTDIR\uninst.exe"
  WriteRegStr HKCU "${PRODUCT_KEY}" "InstallDir" "$INSTDIR"

  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\torvane.exe" "qidong" "$INSTDIR\torvane.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} 日历"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\torvane.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninst.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninst.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; After an update nothing else would bring the calendar back.
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/NORUN" $R1
  ; Shown, the finish page makes the offer instead.
  ${If} ${Errors}
  ${AndIf} ${Silent}
    Exec '"$INSTDIR\torvane.exe" qidong'
  ${EndIf}
SectionEnd

Section "Uninstall"
  !insertmacro EndSuite
  ; What updates leave beside the programs, by our own naming only: never by
  ; a name read from version.ini, which could name the user's files.
  Delete "$INSTDIR\torvane-setup-*.exe"
  Delete "$INSTDIR\torvane-setup-*.exe.cmd"
  Delete "$INSTDIR\~*.exe.*.tmp"
  Delete "$INSTDIR\~*.exe.cmd.*.tmp"
  Delete "$INSTDIR\~version.*.tmp"
  Delete "$INSTDIR\~holidays.*.tmp"
  Delete "$INSTDIR\~set.ini.*.tmp"
  Delete "$INSTDIR\version.download"
  Delete "$INSTDIR\torvane.exe"
  Delete "$INSTDIR\torvaneupdate.exe"
  Delete "$INSTDIR\torvo.exe"
  Delete "$INSTDIR\halter.exe"
  Delete "$INSTDIR\holidays.txt"
  Delete "$INSTDIR\holidays.download"
  Delete "$INSTDIR\holidays.download.sig"
  Delete "$INSTDIR\set.ini"
  Delete "$INSTDIR\version.ini"
  RMDir /r "$INSTDIR\pic"
  Delete "$INSTDIR\uninst.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "torvane"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; Only this installation's record: another folder may still be in use.
  ReadRegStr $0 HKCU "${PRODUCT_KEY}" "InstallDir"
  ${If} $0 == $INSTDIR
    DeleteRegKey HKCU "${PRODUCT_KEY}"
  ${EndIf}
SectionEnd
