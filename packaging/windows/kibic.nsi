; Kibic's installer for 32-bit Windows (also on 64-bit Windows, into "Program Files (x86)", beside the
; 32-bit terminal server). Made by the build's package target:
;   makensis -DVERSION=1.0.0.7 -DSTAGE=<folder with the programs> -DOUTFILE=<setup.exe> kibic.nsi
; A silent install is "setup.exe /S" (optionally /D=C:\folder as the last argument).
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"

!define PRODUCT "Kibic"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kibic"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Kibic"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1045 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1045 "FileDescription" "Instalator programu Kibic"
VIAddVersionKey /LANG=1045 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1045 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1045 "LegalCopyright" "Autorzy programu Kibic"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Polish"

Section "Kibic"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"

  ; The pattern folder beside the program: Kibic creates it at start-up, which a user without
  ; administrator rights cannot do under Program Files; so it is made here, writable for every user
  ; (S-1-5-32-545 is the Users group, whatever the system's language). Patterns in it are the
  ; director's own files and stay when Kibic is uninstalled.
  CreateDirectory "$INSTDIR\BMT"
  nsExec::ExecToLog 'icacls "$INSTDIR\BMT" /grant *S-1-5-32-545:(OI)(CI)M'
  Pop $0

  CreateDirectory "$SMPROGRAMS\Kibic"
  CreateShortcut "$SMPROGRAMS\Kibic\Kibic.lnk" "$INSTDIR\kibic.exe"
  CreateShortcut "$SMPROGRAMS\Kibic\Kibic - sprawdzenie komputera.lnk" "$INSTDIR\kibic-cli.exe" "sprawdz --czekaj"
  CreateShortcut "$SMPROGRAMS\Kibic\Próbny serwer pierniczków - opis.lnk" "$INSTDIR\kibic-terminals.txt"
  CreateShortcut "$SMPROGRAMS\Kibic\Odinstaluj Kibica.lnk" "$INSTDIR\uninstall.exe"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kibic.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  !include "${UNINSTALL_LIST}"
  Delete "$INSTDIR\uninstall.exe"
  ; Without /r: the pattern folder goes only when it holds no pattern, and the program's folder only
  ; when nothing of the director's is left in it.
  RMDir "$INSTDIR\BMT"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Kibic\Kibic.lnk"
  Delete "$SMPROGRAMS\Kibic\Kibic - sprawdzenie komputera.lnk"
  Delete "$SMPROGRAMS\Kibic\Próbny serwer pierniczków - opis.lnk"
  Delete "$SMPROGRAMS\Kibic\Odinstaluj Kibica.lnk"
  RMDir "$SMPROGRAMS\Kibic"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
