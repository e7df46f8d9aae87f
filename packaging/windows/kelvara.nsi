; Kelvara's setup program for 64-bit Windows. make-setup.sh gathers the files into a staging
; folder and writes the two lists this script includes, then runs:
;   makensis -INPUTCHARSET UTF8 -DSTAGE=folder -DOUTFILE=setup.exe -DVERSION=1.0.0 kelvara.nsi
; Silent with /S; the uninstaller too ("uninstall.exe /S").

Unicode true
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma

!include "MUI2.nsh"

!ifndef STAGE | OUTFILE | VERSION
    !error "STAGE, OUTFILE and VERSION must be given with -D"
!endif

!define PRODUCT "Kelvara"
!define PUBLISHER "Kelvara"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvara"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Kelvara"
RequestExecutionLevel admin
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "Program pemasangan ${PRODUCT}"
VIAddVersionKey /LANG=0 "LegalCopyright" "GNU GPL versi 3 atau lebih baru"

!define MUI_ICON "${STAGE}\kelvara.ico"
!define MUI_UNICON "${STAGE}\kelvara.ico"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\kelvara.exe"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Indonesian"

Function .onInit
    ; The registry of the 64-bit programs, where Windows lists what is installed.
    SetRegView 64
FunctionEnd

Function un.onInit
    SetRegView 64
FunctionEnd

Section "Kelvara" SecMain
    SectionIn RO
    ; Every file by name, from the staging folder's list.
    !include "${STAGE}\install-files.nsh"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; One entry for every user of the desk, as the programs are installed for all of them.
    SetShellVarContext all
    CreateShortcut "$SMPROGRAMS\Kelvara.lnk" "$INSTDIR\kelvara.exe" "" "$INSTDIR\kelvara.ico" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kelvara.ico"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Takes away only what the setup program put there, file by file: the database in C:\Kelvara
; and anything the user kept in the program's folder stay.
Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\Kelvara.lnk"
    !include "${STAGE}\uninstall-files.nsh"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
