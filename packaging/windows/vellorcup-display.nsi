; The station's installer for Windows x86-64, made by scripts/windows.sh:
;   makensis -DVERSION=1.1 -DSORTIE=... -DFICHIERS=fichiers.nsh vellorcup-display.nsi
; FICHIERS lists, as File commands, the program and exactly the DLLs and Qt plug-ins it loads.
Unicode true
Target amd64-unicode
!include "MUI2.nsh"
!include "x64.nsh"
!include "FileFunc.nsh"

!define NOM "Vellor's Cup Display"
!define PROGRAMME "vellorcup-display.exe"
!define CLE_DESINSTALLATION "Software\Microsoft\Windows\CurrentVersion\Uninstall\VellorCupDisplay"
; Windows blocks what a new program receives: the frames come by UDP, phones ask the page by TCP.
!define REGLE_TRAMES "${NOM} (trames UDP)"
!define REGLE_PAGE "${NOM} (page web TCP)"

Name "${NOM}"
OutFile "${SORTIE}"
InstallDir "$PROGRAMFILES64\${NOM}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "French"

; Each firewall rule once, for whatever is done to them all (Ajouter, Retirer).
!macro Regles action
    !insertmacro ${action} "${REGLE_TRAMES}" UDP
    !insertmacro ${action} "${REGLE_PAGE}" TCP
!macroend
!macro Ajouter nom protocole
    nsExec::Exec 'netsh advfirewall firewall add rule name="${nom}" dir=in action=allow program="$INSTDIR\${PROGRAMME}" protocol=${protocole} enable=yes profile=any'
    Pop $0
!macroend
!macro Retirer nom protocole
    nsExec::Exec 'netsh advfirewall firewall delete rule name="${nom}"'
    Pop $0
!macroend

Section "Station"
    SetRegView 64
    SetOutPath "$INSTDIR"
    !include "${FICHIERS}"
    WriteUninstaller "$INSTDIR\desinstaller.exe"
    SetShellVarContext all
    CreateDirectory "$SMPROGRAMS\${NOM}"
    CreateShortcut "$SMPROGRAMS\${NOM}\${NOM}.lnk" "$INSTDIR\${PROGRAMME}"
    CreateShortcut "$SMPROGRAMS\${NOM}\Désinstaller.lnk" "$INSTDIR\desinstaller.exe"
    ; An earlier install's rules first, so that a reinstall never doubles them.
    !insertmacro Regles Retirer
    !insertmacro Regles Ajouter
    WriteRegStr HKLM "${CLE_DESINSTALLATION}" "DisplayName" "${NOM}"
    WriteRegStr HKLM "${CLE_DESINSTALLATION}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${CLE_DESINSTALLATION}" "Publisher" "Coupe des Vellor"
    WriteRegStr HKLM "${CLE_DESINSTALLATION}" "UninstallString" '"$INSTDIR\desinstaller.exe"'
    WriteRegStr HKLM "${CLE_DESINSTALLATION}" "QuietUninstallString" '"$INSTDIR\desinstaller.exe" /S'
    ; What "Apps and features" shows beside the name: the icon, the folder, the size in KiB.
    WriteRegStr HKLM "${CLE_DESINSTALLATION}" "DisplayIcon" '"$INSTDIR\${PROGRAMME}",0'
    WriteRegStr HKLM "${CLE_DESINSTALLATION}" "InstallLocation" "$INSTDIR"
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${CLE_DESINSTALLATION}" "EstimatedSize" $0
    WriteRegDWORD HKLM "${CLE_DESINSTALLATION}" "NoModify" 1
    WriteRegDWORD HKLM "${CLE_DESINSTALLATION}" "NoRepair" 1
SectionEnd

; The settings file lives in the user's Documents folder, never here: it stays.
Section "Uninstall"
    SetRegView 64
    !insertmacro Regles Retirer
    SetShellVarContext all
    RMDir /r "$SMPROGRAMS\${NOM}"
    RMDir /r "$INSTDIR"
    DeleteRegKey HKLM "${CLE_DESINSTALLATION}"
SectionEnd
