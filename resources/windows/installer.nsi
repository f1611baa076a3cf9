; The Windows installer of TarvikPlus, made on Linux by scripts/windows-cross.sh with makensis:
;   makensis -DVERSION=<x.y.z.w> -DSOURCE=<runnable folder> -DFILES=<files.nsh> \
;            -DOUTFILE=<setup.exe> installer.nsi
; FILES lists what the folder holds as "Delete" and "RMDir" lines, so the uninstaller removes
; only what was installed, whatever folder the user chose.
; A 64-bit installer (some machines cannot run 32-bit programs) into Program Files, with a
; Start-menu entry and an uninstaller registered with Windows. Both run silently with /S.
; The uninstaller keeps the user's data (%APPDATA%\TarvikPlus, %LOCALAPPDATA%\TarvikPlus) unless
; asked: a question when run by hand, /REMOVEDATA when silent.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "x64.nsh"

!define NAME "TarvikPlus"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TarvikPlus"

Name "${NAME} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${NAME}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "${NAME}"
VIAddVersionKey "CompanyName" "Vexor Informatica"
VIAddVersionKey "FileDescription" "${NAME} installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Vexor Informatica and the TarvikPlus developers"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
    SetRegView 64
FunctionEnd

Function un.onInit
    SetRegView 64
FunctionEnd

Section "TarvikPlus"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File /r "${SOURCE}/*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateDirectory "$SMPROGRAMS\${NAME}"
    CreateShortcut "$SMPROGRAMS\${NAME}\${NAME}.lnk" "$INSTDIR\tarvikplus.exe"
    CreateShortcut "$SMPROGRAMS\${NAME}\Avisos de licenças.lnk" "$INSTDIR\NOTICES.txt"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Vexor Informatica"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tarvikplus.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    RMDir /r "$SMPROGRAMS\${NAME}"
    ; Only what the installer put there, then the folder if that left it empty.
    !include "${FILES}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    SetShellVarContext current
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/REMOVEDATA" $1
    ${IfNot} ${Errors}
        Call un.RemoveData
    ${ElseIfNot} ${Silent}
        MessageBox MB_YESNO|MB_ICONQUESTION \
            "Remover também as configurações e os arquivos do usuário (Retornos, Temp, Para_Cancelar e o histórico de chamadas)?" \
            /SD IDNO IDNO keep
        Call un.RemoveData
        keep:
    ${EndIf}
SectionEnd

Function un.RemoveData
    RMDir /r "$APPDATA\${NAME}"
    RMDir /r "$LOCALAPPDATA\${NAME}"
FunctionEnd
