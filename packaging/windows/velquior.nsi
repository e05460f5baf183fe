; Velquior's installer: per user, no administrator rights.
;
;   makensis -DPRODUCT=<product.nsh> -DSTAGE=<folder> -DOUTFILE=<setup.exe>
;            [-DWITH_WINDOW] [-DWITH_HELP] velquior.nsi
;
; PRODUCT (packaging/windows/product.nsh.in, configured by the build)
; defines VERSION, COMPANY, COPYRIGHT and the icon and pictures. STAGE holds
; the files to install, already stripped. WITH_WINDOW and WITH_HELP say that
; velquior.exe and SAGA.chm are among them.
;
; Silent: setup.exe /S /D=C:\folder (the folder last and unquoted);
; Uninstall.exe /S.

Unicode true
Target amd64-unicode
!include "${PRODUCT}"
SetCompressor /SOLID lzma
; Files take the time of their installation: the same files give the same
; installer.
SetDateSave off
ManifestDPIAware true

!define APP "Velquior"
!define UNDO "Deshacer la última conversión"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"

Name "${APP} ${VERSION}"
; The bottom line names the product, not the tool that built the installer.
BrandingText "${APP} ${VERSION}"
OutFile "${OUTFILE}"
; The program writes Zeltimor.ini beside itself, so the folder must be the
; user's to write: never under Program Files.
InstallDir "$LOCALAPPDATA\Programs\${APP}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel user
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${APP}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "Instalador de ${APP}"
VIAddVersionKey /LANG=0 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${COPYRIGHT}"

!include "MUI2.nsh"
!include "FileFunc.nsh"

; A file that cannot be written stops the installation: no "Ignore" that
; would leave an old program beside new ones.
AllowSkipFiles off

; The new files go beside the old ones first; the old ones are moved aside
; only once every new one is there, and come back if one cannot be.
!define NEW ".velquior-nuevo"
!define OLD ".velquior-anterior"

; A program running from the folder holds its file: nothing is touched
; until it ends. Silent, the answer is Cancel.
!macro RefuseWhileRunning NAME ID
  retry_${ID}:
  IfFileExists "$INSTDIR\${NAME}" 0 free_${ID}
  ClearErrors
  FileOpen $0 "$INSTDIR\${NAME}" a
  IfErrors 0 close_${ID}
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
    "${APP} está abierto ($INSTDIR\${NAME}). Ciérrelo y pulse Reintentar; Cancelar lo deja todo como está." \
    /SD IDCANCEL IDRETRY retry_${ID}
  Abort "${APP} está abierto: no se ha cambiado nada."
  close_${ID}:
  FileClose $0
  free_${ID}:
!macroend

!macro PutInPlace NAME
  IfFileExists "$INSTDIR\${NAME}" 0 +2
    Rename "$INSTDIR\${NAME}" "$INSTDIR\${OLD}\${NAME}"
  Rename "$INSTDIR\${NEW}\${NAME}" "$INSTDIR\${NAME}"
!macroend

; After a failed PutInPlace: the old file back where it was moved aside, a
; new one removed where there was none before.
!macro PutBack NAME
  IfFileExists "$INSTDIR\${OLD}\${NAME}" 0 +4
    Delete "$INSTDIR\${NAME}"
    Rename "$INSTDIR\${OLD}\${NAME}" "$INSTDIR\${NAME}"
    Goto +3
  IfFileExists "$INSTDIR\${NEW}\${NAME}" +2 0
    Delete "$INSTDIR\${NAME}"
!macroend

!macro EachFile MACRO
  !insertmacro ${MACRO} "velquior-convert.exe"
  !insertmacro ${MACRO} "LEEME.txt"
!ifdef WITH_WINDOW
  !insertmacro ${MACRO} "velquior.exe"
!endif
!ifdef WITH_HELP
  !insertmacro ${MACRO} "SAGA.chm"
!endif
!macroend

!define MUI_ABORTWARNING
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WELCOME_BITMAP}"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${WELCOME_BITMAP}"
!define MUI_HEADERIMAGE
!define MUI_HEADERIMAGE_RIGHT
!define MUI_HEADERIMAGE_BITMAP "${HEADER_BITMAP}"
!define MUI_HEADERIMAGE_UNBITMAP "${HEADER_BITMAP}"
!ifdef WITH_WINDOW
  !define MUI_FINISHPAGE_RUN "$INSTDIR\velquior.exe"
  !define MUI_FINISHPAGE_RUN_TEXT "Abrir ${APP}"
!endif
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\LEEME.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Mostrar LEEME.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; Says what the uninstaller has done, and which of the user's files it kept
; (un.SayWhatWasKept).
Var Summary
!define MUI_FINISHPAGE_TEXT "$Summary"
!insertmacro MUI_UNPAGE_FINISH
!insertmacro MUI_LANGUAGE "Spanish"

Section "${APP}"
  !insertmacro RefuseWhileRunning "velquior.exe" window
  !insertmacro RefuseWhileRunning "velquior-convert.exe" cli
  !insertmacro RefuseWhileRunning "Uninstall.exe" uninstaller

  RMDir /r "$INSTDIR\${NEW}"
  RMDir /r "$INSTDIR\${OLD}"
  SetOutPath "$INSTDIR\${NEW}"
  File "${STAGE}\velquior-convert.exe"
  File "${STAGE}\LEEME.txt"
!ifdef WITH_WINDOW
  File "${STAGE}\velquior.exe"
!endif
!ifdef WITH_HELP
  File "${STAGE}\SAGA.chm"
!endif
  SetOutPath "$INSTDIR"
  CreateDirectory "$INSTDIR\${OLD}"
  ClearErrors
  !insertmacro EachFile PutInPlace
  IfErrors 0 in_place
    !insertmacro EachFile PutBack
    RMDir /r "$INSTDIR\${NEW}"
    RMDir /r "$INSTDIR\${OLD}"
    Abort "No se pudo sustituir un archivo de ${APP}: todo queda como estaba."
  in_place:
  RMDir /r "$INSTDIR\${NEW}"
  RMDir /r "$INSTDIR\${OLD}"
  ClearErrors
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  IfErrors 0 +2
    Abort "No se pudo escribir $INSTDIR\Uninstall.exe."

  CreateDirectory "$SMPROGRAMS\${APP}"
!ifdef WITH_WINDOW
  CreateShortcut "$SMPROGRAMS\${APP}\${APP}.lnk" "$INSTDIR\velquior.exe"
  CreateShortcut "$SMPROGRAMS\${APP}\${UNDO}.lnk" "$INSTDIR\velquior.exe" "deshacer"
!endif
!ifdef WITH_HELP
  CreateShortcut "$SMPROGRAMS\${APP}\Ayuda de ${APP}.lnk" "$INSTDIR\SAGA.chm"
!endif
  CreateShortcut "$SMPROGRAMS\${APP}\LEEME.lnk" "$INSTDIR\LEEME.txt"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
!ifdef WITH_WINDOW
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\velquior.exe"
!endif
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; An installation stopped half way leaves the old files as they were; the
; new ones waiting beside them go.
Function .onInstFailed
  RMDir /r "$INSTDIR\${NEW}"
FunctionEnd

; Exactly what the installer put in place, then the folders if nothing else
; is left in them: a file the user keeps there stays, and so does its folder.
Section "Uninstall"
  !insertmacro RefuseWhileRunning "velquior.exe" window
  !insertmacro RefuseWhileRunning "velquior-convert.exe" cli
  Delete "$INSTDIR\velquior-convert.exe"
  Delete "$INSTDIR\LEEME.txt"
!ifdef WITH_WINDOW
  Delete "$INSTDIR\velquior.exe"
!endif
!ifdef WITH_HELP
  Delete "$INSTDIR\SAGA.chm"
!endif
  ; The program's own output: the outcome of its last run for Zeltimor,
  ; and the temporaries of a save that was killed. Meaningless without the
  ; program.
  Delete "$INSTDIR\Zeltimor.ini"
  Delete "$INSTDIR\.Zeltimor.ini.*"
  Delete "$INSTDIR\Uninstall.exe"
  Call un.SayWhatWasKept
  RMDir "$INSTDIR"

!ifdef WITH_WINDOW
  Delete "$SMPROGRAMS\${APP}\${APP}.lnk"
  Delete "$SMPROGRAMS\${APP}\${UNDO}.lnk"
!endif
!ifdef WITH_HELP
  Delete "$SMPROGRAMS\${APP}\Ayuda de ${APP}.lnk"
!endif
  Delete "$SMPROGRAMS\${APP}\LEEME.lnk"
  RMDir "$SMPROGRAMS\${APP}"

  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

; The uninstaller's closing words: everything gone, or the files left in the
; folder that the installer did not put there, named, so the user knows why
; the folder stays. Past about 300 characters of names the rest are counted,
; so the sentence keeps within NSIS's 1024 characters.
Function un.SayWhatWasKept
  StrCpy $Summary "${APP} se ha desinstalado de su equipo."
  StrCpy $1 ""  ; the names
  StrCpy $2 0   ; how many left out
  FindFirst $0 $3 "$INSTDIR\*"
  next:
    StrCmp $3 "" done
    StrCmp $3 "." skip
    StrCmp $3 ".." skip
    StrLen $4 $1
    IntCmp $4 300 0 0 too_many
    StrCmp $1 "" 0 +3
      StrCpy $1 "$3"
      Goto skip
    StrCpy $1 "$1, $3"
    Goto skip
    too_many:
    IntOp $2 $2 + 1
    skip:
    FindNext $0 $3
    Goto next
  done:
  FindClose $0
  StrCmp $1 "" end
  StrCmp $2 0 +2
    StrCpy $1 "$1 y $2 más"
  StrCpy $Summary "${APP} se ha desinstalado de su equipo. Se han conservado los archivos que usted añadió en $INSTDIR, y la carpeta con ellos: $1."
  DetailPrint "$Summary"
  end:
FunctionEnd
