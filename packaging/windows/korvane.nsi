; The Windows setup program. It installs Korvane in the installed layout
; (bin\ and share\doc\korvane\ under Program Files), which the programs
; recognise: they then keep their settings and log in %APPDATA%\Korvane.
; Built by the korv_installer target of the Windows build, from a portable
; `cmake --install` in STAGE:
;   makensis -DSTAGE=DIR -DOUTFILE=FILE -DICON=FILE -DVERSION_TEXT=1.00
;            -DFILE_VERSION=1.0.0.0 [-DWIN64] korvane.nsi
; Runs silently with /S, and so does its uninstaller.

!ifdef WIN64
    Target amd64-unicode
    !define PROGRAM_FILES "$PROGRAMFILES64"
!else
    Target x86-unicode
    !define PROGRAM_FILES "$PROGRAMFILES"
!endif
!include "FileFunc.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Korvane"

Name "Korvane ${VERSION_TEXT}"
OutFile "${OUTFILE}"
InstallDir "${PROGRAM_FILES}\Korvane"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
Icon "${ICON}"
UninstallIcon "${ICON}"

; 1033: English (United States), the language of the setup.
VIProductVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "Korvane"
VIAddVersionKey /LANG=1033 "FileDescription" "Korvane Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${FILE_VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION_TEXT}"
VIAddVersionKey /LANG=1033 "CompanyName" "Korvane Project"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (c) 2026 Korvane Project"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; For all users: the shortcut in the common Start menu, the 64-bit registry.
!macro ForAllUsers
    SetShellVarContext all
    !ifdef WIN64
        SetRegView 64
    !endif
!macroend
Function .onInit
    !insertmacro ForAllUsers
FunctionEnd
Function un.onInit
    !insertmacro ForAllUsers
FunctionEnd

Section "Korvane"
    SetOutPath "$INSTDIR\share\doc\korvane"
    File "${STAGE}\versions.txt"
    File "${STAGE}\dv.html"
    File "${STAGE}\license.txt"
    SetOutPath "$INSTDIR\bin"
    File "${STAGE}\korv.exe"
    File "${STAGE}\korv-cli.exe"
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Korvane.lnk" "$INSTDIR\bin\korv.exe"

    ; The entry in the system's list of programs.
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Korvane"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION_TEXT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Korvane Project"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "https://korvane.example.org/"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\bin\korv.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes only what the setup put there: a file of the user's own in the
; folder keeps the folder.
Section "Uninstall"
    Delete "$SMPROGRAMS\Korvane.lnk"
    Delete "$INSTDIR\bin\korv.exe"
    Delete "$INSTDIR\bin\korv-cli.exe"
    RMDir "$INSTDIR\bin"
    Delete "$INSTDIR\share\doc\korvane\versions.txt"
    Delete "$INSTDIR\share\doc\korvane\dv.html"
    Delete "$INSTDIR\share\doc\korvane\license.txt"
    RMDir "$INSTDIR\share\doc\korvane"
    RMDir "$INSTDIR\share\doc"
    RMDir "$INSTDIR\share"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
