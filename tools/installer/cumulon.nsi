; Cumulon's setup program: a per-user install with no administrator rights
; into %LOCALAPPDATA%\Programs\Cumulon, a Start menu shortcut, an entry in the
; installed programs list and an uninstaller. Built by the windows tree's
; "package" target, which passes:
;   VERSION   the programs' version (four numbers)
;   OUTFILE   the setup program to write
;   FILES     the generated list of the files to install and remove
;   ICON      the program's icon
;   CUMULON_EXIT, TICKER_END  the command ids by which the hidden windows of
;             Cumulon.exe and Ticker.exe end their programs
; and optionally COMPRESSOR (lzma unless given).
;
; Silent: "setup.exe /S" installs or upgrades, "Uninstall.exe /S" removes the
; program and keeps the user's places, downloads and settings. Exit code 2
; when a running Cumulon did not close when asked.

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
!ifdef COMPRESSOR
SetCompressor /SOLID ${COMPRESSOR}
!else
SetCompressor /SOLID lzma
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include WordFunc.nsh
!include "${FILES}"

!define PRODUCT "Cumulon"
!define PUBLISHER "Quillmoor"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Cumulon"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Quillmoor - Cumulon"
!define SETTINGS_KEY "Software\Quillmoor\Cumulon"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; The program writes beside itself, so it lives in the user's own programs
; folder; an upgrade goes where the last install went.
InstallDir "$LOCALAPPDATA\Programs\Cumulon"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow
SpaceTexts none

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Setup will install ${PRODUCT} ${VERSION}, the desktop weather station, for you alone, into $INSTDIR. It needs no administrator rights.$\r$\n$\r$\nIf ${PRODUCT} is running, Setup asks it to close first. Your places, downloaded data and settings are kept.$\r$\n$\r$\nClick Install to continue."
!define MUI_FINISHPAGE_RUN "$INSTDIR\Cumulon.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Cumulon"
!define MUI_FINISHPAGE_NOREBOOTSUPPORT
!define MUI_COMPONENTSPAGE_NODESC

!define MUI_PAGE_CUSTOMFUNCTION_SHOW WelcomeShow
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; An older version over a newer one only when the user says so (a silent
; install goes ahead: the administrator chose it).
Function .onInit
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "DisplayVersion"
    ${If} $0 != ""
        ${VersionCompare} "$0" "${VERSION}" $1
        ${If} $1 == 1
            MessageBox MB_YESNO|MB_ICONQUESTION \
                "${PRODUCT} $0, a newer version, is installed. Replace it with ${VERSION}?" \
                /SD IDYES IDYES keep
            Quit
        keep:
        ${EndIf}
    ${EndIf}
FunctionEnd

; The welcome page goes straight on to the install: its button says so.
Function WelcomeShow
    GetDlgItem $0 $HWNDPARENT 1
    SendMessage $0 ${WM_SETTEXT} 0 "STR:&Install"
FunctionEnd

; Asks every running Cumulon.exe and Ticker.exe to close, through the hidden
; window (class "MainWindow") each of them has: Cumulon gets the command of
; Exit in its tray menu and ends as it does then, saving its lists and
; settings; Ticker gets the command of its own End button. Waits up to 30 s for each
; process; one that stays is never killed: the user is asked to close it and
; retry, and a silent run ends with exit code 2 before it has changed anything.
!macro CLOSE_RUNNING_FUNCTION un
Function ${un}CloseRunning
retry:
    StrCpy $R9 0 ; programs still running
    StrCpy $0 0  ; the window after which the search goes on
next:
    FindWindow $0 "MainWindow" "" 0 $0
    StrCmp $0 0 searched
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1) i'
    ; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION
    System::Call 'kernel32::OpenProcess(i 0x101000, i 0, i r1) p .r2'
    StrCmp $2 0 next
    StrCpy $3 ""
    System::Call 'kernel32::QueryFullProcessImageNameW(p r2, i 0, w .r3, *i ${NSIS_MAX_STRLEN}) i'
    ${GetFileName} "$3" $4
    ${If} $4 == "Cumulon.exe"
        System::Call 'user32::PostMessageW(p r0, i ${WM_COMMAND}, p ${CUMULON_EXIT}, p 0)'
    ${ElseIf} $4 == "Ticker.exe"
        System::Call 'user32::PostMessageW(p r0, i ${WM_COMMAND}, p ${TICKER_END}, p 0)'
    ${Else}
        System::Call 'kernel32::CloseHandle(p r2)'
        Goto next
    ${EndIf}
    DetailPrint "Asking $4 to close"
    System::Call 'kernel32::WaitForSingleObject(p r2, i 30000) i .r5'
    System::Call 'kernel32::CloseHandle(p r2)'
    ${If} $5 == 0
        StrCpy $0 0 ; it ended and its window with it: search again from the start
    ${Else}
        IntOp $R9 $R9 + 1
    ${EndIf}
    Goto next
searched:
    ${If} $R9 > 0
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
            "${PRODUCT} is still running.$\r$\n$\r$\nEnd it with Exit in the menu of its notification area icon, then choose Retry." \
            /SD IDCANCEL IDRETRY retry
        SetErrorLevel 2
        Quit
    ${EndIf}
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_FUNCTION ""
!insertmacro CLOSE_RUNNING_FUNCTION "un."

Section "${PRODUCT}" SecProgram
    SectionIn RO
    Call CloseRunning
    ; Over an older version: the programs and data files are replaced; what
    ; the user keeps (lists and cache in the application-data folder, the
    ; settings key, their own sounds) is never touched.
    !insertmacro CUMULON_INSTALL_FILES
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Cumulon.exe" "" \
        "$INSTDIR\Cumulon.exe" 0 SW_SHOWNORMAL "" "Desktop weather station"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Cumulon.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
    ; The uninstaller refuses a folder that holds no Cumulon.
    ${IfNot} ${FileExists} "$INSTDIR\Cumulon.exe"
    ${AndIfNot} ${FileExists} "$INSTDIR\Uninstall.exe"
        MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} is not installed in $INSTDIR." /SD IDOK
        SetErrorLevel 1
        Quit
    ${EndIf}
FunctionEnd

Section "un.${PRODUCT}" UnSecProgram
    SectionIn RO
    Call un.CloseRunning
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ; Only what Setup put there and what the program writes beside itself: a
    ; folder chosen with /D may hold other things.
    !insertmacro CUMULON_REMOVE_FILES
    Delete "$INSTDIR\ticker.$$$$$$"
    Delete "$INSTDIR\test.que"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir /r "$INSTDIR\sounds"
    RMDir "$INSTDIR"
SectionEnd

; Unticked, so a silent uninstall keeps them: the user's places, downloads
; and settings, which a later install would use again.
Section /o "un.Your places, downloaded data and settings" UnSecUserData
    RMDir /r "$APPDATA\Quillmoor\Cumulon"
    RMDir "$APPDATA\Quillmoor"
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Quillmoor"
SectionEnd
