; The Windows installer: per user, without administrator rights, into
; %LOCALAPPDATA%\Programs\Orvane, with a Start menu entry for the settings dialog, an entry in
; Apps & features, and Orvane made the current screen saver. Its texts are English or Japanese
; by the system's language. scripts/windows_installer.sh builds it:
;
;   makensis -INPUTCHARSET UTF8 -DBIN=… -DGENERATED=… -DNOTICES=… -DOUTFILE=… Orvane.nsi
;
; Switches: /S silent; /NOSAVER leaves the current screen saver as it is; /D=folder installs
; elsewhere. The uninstaller takes /S, and /REMOVESETTINGS to remove Orvane.ini too.
Unicode true
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma

!include "${GENERATED}/version.nsh"
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Sections.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvane"
!define DESKTOP_KEY "Control Panel\Desktop"
; SystemParametersInfo's SPI_SETSCREENSAVEACTIVE, with SPIF_UPDATEINIFILE | SPIF_SENDCHANGE.
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATE_AND_SEND 3
; The host's data directory, a fixed path; the saver copies the picture there.
!define DATA_DIR "C:\t_ovin"

Name "Orvane ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Orvane"
; An upgrade goes where the installed version is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Orvane ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

!define MUI_ICON "${GENERATED}/orvane.ico"
!define MUI_UNICON "${GENERATED}/orvane.ico"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_LICENSE "${NOTICES}/COPYING.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
; The first is the fallback for every other system language.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString ProgramSection ${LANG_ENGLISH} "Orvane screen saver"
LangString ProgramSection ${LANG_JAPANESE} "Orvane スクリーン セーバー"
LangString SaverSection ${LANG_ENGLISH} "Use Orvane as the screen saver"
LangString SaverSection ${LANG_JAPANESE} "Orvane をスクリーン セーバーにする"
LangString SettingsSection ${LANG_ENGLISH} "Remove my settings (Orvane.ini) too"
LangString SettingsSection ${LANG_JAPANESE} "設定 (Orvane.ini) も削除する"
LangString ShortcutComment ${LANG_ENGLISH} "Orvane's settings"
LangString ShortcutComment ${LANG_JAPANESE} "Orvane の設定"

VIProductVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Orvane"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Orvane ${VERSION} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "Orvane developers"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "GPL-3.0-or-later"

Section "$(ProgramSection)" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  ; An upgrade replaces the programs and keeps the user's Orvane.ini beside them.
  File "${BIN}/Orvane.scr"
  File "${BIN}/Orvane.dll"
  File "${BIN}/Orvane.image"
  File "${NOTICES}/COPYING.txt"
  File "${NOTICES}/NOTICES.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Orvane.lnk" "$INSTDIR\Orvane.scr" "/c" "$INSTDIR\Orvane.scr" 0 \
    SW_SHOWNORMAL "" "$(ShortcutComment)"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Orvane"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Orvane developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Orvane.scr,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "https://orvane.org/"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "$(SaverSection)" SecSaver
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$INSTDIR\Orvane.scr"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  ; The running session takes the change now, not at the next sign-in.
  System::Call "user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATE_AND_SEND})"
SectionEnd

Function .onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/NOSAVER" $1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecSaver}
  ${EndIf}
FunctionEnd

Section "un.$(ProgramSection)" UnSecProgram
  SectionIn RO
  ; The screen saver setting goes only while it still names this Orvane.scr, in its long or
  ; its short form: a saver chosen later stays.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  GetFullPathName /SHORT $1 "$INSTDIR\Orvane.scr"
  ${If} $0 == "$INSTDIR\Orvane.scr"
  ${OrIf} $0 == $1
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    System::Call "user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 0, p 0, i ${SPIF_UPDATE_AND_SEND})"
  ${EndIf}

  Delete "$INSTDIR\Orvane.scr"
  Delete "$INSTDIR\Orvane.dll"
  Delete "$INSTDIR\Orvane.image"
  Delete "$INSTDIR\COPYING.txt"
  Delete "$INSTDIR\NOTICES.txt"
  Delete "$INSTDIR\Uninstall.exe"
  Delete "$SMPROGRAMS\Orvane.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  Delete "${DATA_DIR}\Orvane.image"
  RMDir "${DATA_DIR}"
SectionEnd

Section /o "un.$(SettingsSection)" UnSecSettings
  Delete "$INSTDIR\Orvane.ini"
SectionEnd

; Last: the folder goes only when nothing is left in it.
Section "-un.Folder"
  RMDir "$INSTDIR"
SectionEnd

Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecSettings}
  ${EndIf}
FunctionEnd
