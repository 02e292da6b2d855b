; The station's installer for Windows x86-64, made by scripts/windows.sh:
;   makensis -DVERSION=1.1 -DSORTIE=... -DFICHIERS=fichiers.nsh -DGARDE=... -DICONE=....ico
;            vellorcup-display.nsi
; FICHIERS lists, as File commands, the program and exactly the DLLs and Qt plug-ins it loads;
; GARDE names the mapping a running station holds (cmake/WindowsCroise.cmake).
Unicode true
Target amd64-unicode
!include "MUI2.nsh"
!include "x64.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define NOM "Vellor's Cup Display"
!define PROGRAMME "vellorcup-display.exe"
!define CLE_DESINSTALLATION "Software\Microsoft\Windows\CurrentVersion\Uninstall\VellorCupDisplay"
; Windows blocks what a new program receives: the frames come by UDP, phones ask the page by TCP.
!define REGLE_TRAMES "${NOM} (trames UDP)"
!define REGLE_PAGE "${NOM} (page web TCP)"
!define DOSSIER_REGLAGES "Coupe des Vellor\Appli\ParametresDisplay.ini"

Name "${NOM}"
OutFile "${SORTIE}"
InstallDir "$PROGRAMFILES64\${NOM}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

; The installer and the uninstaller wear the station's icon.
!define MUI_ICON "${ICONE}"
!define MUI_UNICON "${ICONE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; The last page offers to start the station; a silent install shows no page and starts nothing.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Lancer la station"
!define MUI_FINISHPAGE_RUN_FUNCTION LancerStation
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "Vellor's Cup Display est désinstallé. Ses réglages restent dans les Documents de chaque utilisateur qui l'a lancé : Documents\${DOSSIER_REGLAGES}."
!insertmacro MUI_UNPAGE_FINISH
!insertmacro MUI_LANGUAGE "French"

; As the user who installs, not with the installer's rights: Explorer starts it.
Function LancerStation
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\${PROGRAMME}"'
FunctionEnd

; Windows keeps a running program's files locked: a running station (its guard's mapping is
; open) is asked to close first, and nothing is touched while it runs. Silent, the answer is
; Cancel and the exit code 2.
!macro AttendreFermeture prefixe
Function ${prefixe}AttendreFermeture
    ${Do}
        System::Call 'kernel32::OpenFileMappingW(i 4, i 0, w "${GARDE}") p .r0'
        ${If} $0 == 0
            ${Break}
        ${EndIf}
        System::Call 'kernel32::CloseHandle(p r0)'
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "La station est ouverte. Fermez-la (bouton Quitter de la fenêtre de contrôle), puis cliquez sur Réessayer." /SD IDCANCEL IDRETRY encore
        SetErrorLevel 2
        Quit
        encore:
    ${Loop}
FunctionEnd
!macroend
!insertmacro AttendreFermeture ""
!insertmacro AttendreFermeture "un."

Function .onInit
    Call AttendreFermeture
FunctionEnd

Function un.onInit
    Call un.AttendreFermeture
FunctionEnd

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
    DetailPrint "Les réglages restent dans Documents\${DOSSIER_REGLAGES}."
    !insertmacro Regles Retirer
    SetShellVarContext all
    RMDir /r "$SMPROGRAMS\${NOM}"
    RMDir /r "$INSTDIR"
    DeleteRegKey HKLM "${CLE_DESINSTALLATION}"
SectionEnd
