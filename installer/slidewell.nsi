; The Slidewell setup program and its uninstaller. scripts/make-installer.sh runs makensis with:
;   VERSION         x.y.z, from project(... VERSION) in CMakeLists.txt
;   SCR64, SCR32    the 64-bit and the 32-bit slidewell.scr (Release builds)
;   README, LICENSE the texts installed beside the uninstaller
;   ICON            the program's icon
;   OUTFILE         the setup program to write
;
; Switches: /S installs silently and makes Slidewell the screen saver; add /KEEPSCREENSAVER to leave the
; chosen screen saver as it is. The uninstaller's /S keeps the picture list and settings.

Unicode true
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma
; A slidewell.scr that cannot be written (it is running) must stop the installation: never skip it.
AllowSkipFiles off
; The files' own times stay out of the setup program, so that the same files make the same setup program
; whenever they were built or copied; installed files carry the time of their installation.
SetDateSave off

!include MUI2.nsh
!include nsDialogs.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh

!define PRODUCT "Slidewell"
!define PUBLISHER "Slidewell developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Slidewell"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SETTINGS_KEY "Software\SWPIC1"
; With file-system redirection off on 64-bit Windows this is the real System32, whose screen savers the
; display settings list.
!define SCR_PATH "$SYSDIR\slidewell.scr"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
; The 64-bit Program Files on 64-bit Windows; the only one on 32-bit Windows.
InstallDir "$PROGRAMFILES64\${PRODUCT}"
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$SYSDIR\control.exe"
!define MUI_FINISHPAGE_RUN_PARAMETERS "desk.cpl,,@screensaver"
!define MUI_FINISHPAGE_RUN_TEXT "Open the screen saver settings to choose my pictures"
!define MUI_FINISHPAGE_RUN_NOTCHECKED

Var UseAsScreenSaver
Var RemoveSettings
Var CheckBox

!insertmacro MUI_PAGE_WELCOME
Page custom ScreenSaverPage ScreenSaverPageLeave
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
UninstPage custom un.SettingsPage un.SettingsPageLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "© ${PUBLISHER}"

; A page with one check box whose state lives in VAR; FUNC and FUNCLeave are its show and leave functions.
!macro CheckBoxPage FUNC TITLE SUBTITLE TEXT NOTE VAR
  Function ${FUNC}
    !insertmacro MUI_HEADER_TEXT "${TITLE}" "${SUBTITLE}"
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateCheckbox} 0 0 100% 12u "${TEXT}"
    Pop $CheckBox
    ${NSD_SetState} $CheckBox ${VAR}
    ${NSD_CreateLabel} 0 24u 100% 36u "${NOTE}"
    Pop $0
    nsDialogs::Show
  FunctionEnd

  Function ${FUNC}Leave
    ${NSD_GetState} $CheckBox ${VAR}
  FunctionEnd
!macroend

!insertmacro CheckBoxPage ScreenSaverPage "Screen saver" \
  "Choose whether Slidewell starts when the computer is idle." \
  "Use Slidewell as my screen saver" \
  "You can choose another screen saver, or change the waiting time, in the screen saver settings at any time." \
  $UseAsScreenSaver
!insertmacro CheckBoxPage un.SettingsPage "Your picture list and settings" \
  "Choose whether to keep them for a later installation." \
  "Also remove my picture list and settings" \
  "Your picture files themselves are never removed." \
  $RemoveSettings

; Waits, asking the user, until no running Slidewell holds slidewell.scr; stops the installation or
; removal when the user gives up, so that neither ever reports success with the old file in place.
!macro WaitForFreeScr PREFIX VERB
  Function ${PREFIX}WaitForFreeScr
    ${If} ${RunningX64}
      ${DisableX64FSRedirection}
    ${EndIf}
    ${Do}
      ${IfNot} ${FileExists} "${SCR_PATH}"
        ${Break}
      ${EndIf}
      ClearErrors
      FileOpen $0 "${SCR_PATH}" a
      ${IfNot} ${Errors}
        FileClose $0
        ${Break}
      ${EndIf}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "Slidewell is running, so ${SCR_PATH} cannot be ${VERB}.$\r$\n$\r$\nEnd the screen saver and close its settings window, then choose Retry." \
        /SD IDCANCEL IDRETRY retry
      Abort "${SCR_PATH} is in use and was not ${VERB}."
      retry:
    ${Loop}
    ${If} ${RunningX64}
      ${EnableX64FSRedirection}
    ${EndIf}
  FunctionEnd
!macroend

!insertmacro WaitForFreeScr "" "replaced"
!insertmacro WaitForFreeScr "un." "removed"

Function .onInit
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
  StrCpy $UseAsScreenSaver ${BST_CHECKED}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/KEEPSCREENSAVER" $1
  ${IfNot} ${Errors}
    StrCpy $UseAsScreenSaver ${BST_UNCHECKED}
  ${EndIf}
FunctionEnd

Function un.onInit
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
  StrCpy $RemoveSettings ${BST_UNCHECKED}
FunctionEnd

; Keeps a value of the user's screen-saver settings in the uninstall entry for the uninstaller to put back;
; keeps nothing when the value is absent.
!macro RememberDesktopValue NAME
  ClearErrors
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "${NAME}"
  ${If} ${Errors}
    DeleteRegValue HKLM "${UNINSTALL_KEY}" "Previous ${NAME}"
  ${Else}
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Previous ${NAME}" $0
  ${EndIf}
!macroend

Function UseAsScreenSaver
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ; Over an installation that already chose Slidewell, the values kept then are the ones to put back.
  ${If} $0 != "${SCR_PATH}"
    !insertmacro RememberDesktopValue "SCRNSAVE.EXE"
    !insertmacro RememberDesktopValue "ScreenSaveActive"
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "${SCR_PATH}"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
FunctionEnd

Section
  Call WaitForFreeScr
  ${If} ${RunningX64}
    ${DisableX64FSRedirection}
    SetOutPath $SYSDIR
    File "/oname=slidewell.scr" "${SCR64}"
    ${GetSize} $SYSDIR "/M=slidewell.scr /S=0K /G=0" $R0 $1 $2
    ${EnableX64FSRedirection}
  ${Else}
    SetOutPath $SYSDIR
    File "/oname=slidewell.scr" "${SCR32}"
    ${GetSize} $SYSDIR "/M=slidewell.scr /S=0K /G=0" $R0 $1 $2
  ${EndIf}

  SetOutPath $INSTDIR
  File "/oname=README.txt" "${README}"
  File "/oname=LICENSE.txt" "${LICENSE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ${GetSize} $INSTDIR "/S=0K" $R1 $1 $2
  IntOp $R0 $R0 + $R1

  ${If} $UseAsScreenSaver == ${BST_CHECKED}
    Call UseAsScreenSaver
  ${EndIf}

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "${SCR_PATH},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $R0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section Uninstall
  Call un.WaitForFreeScr
  ${If} ${RunningX64}
    ${DisableX64FSRedirection}
  ${EndIf}
  ClearErrors
  Delete "${SCR_PATH}"
  ${If} ${Errors}
    Abort "${SCR_PATH} could not be removed."
  ${EndIf}
  ${If} ${RunningX64}
    ${EnableX64FSRedirection}
  ${EndIf}

  ; Another screen saver chosen since installation stays chosen.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == "${SCR_PATH}"
    ClearErrors
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "Previous SCRNSAVE.EXE"
    ${If} ${Errors}
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${Else}
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $0
      ClearErrors
      ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "Previous ScreenSaveActive"
      ${IfNot} ${Errors}
        WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" $0
      ${EndIf}
    ${EndIf}
  ${EndIf}

  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ${If} $RemoveSettings == ${BST_CHECKED}
    DeleteRegKey HKCU "${SETTINGS_KEY}"
  ${EndIf}
SectionEnd
