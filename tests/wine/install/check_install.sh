#!/usr/bin/env bash
# Runs the product installation on this Wine machine (WINEPREFIX) and checks what it
# left with tools not written here: the files against the packed release files, their
# last-write times, the shortcuts through lnkinfo, the uninstall entry through reg query
# in the 32-bit view, the uninstall log byte for byte, and the access-rights calls.
#   check_install.sh <qm_wine_install.exe> <payload staging folder>
set -uo pipefail
EXE=$1
STAGE=$2
WINE=${QM_WINE:-/usr/lib/wine/wine64}
: "${WINEPREFIX:?a Wine machine is needed (wine_machine)}"
INST='C:\Quillmark Test\Quillmark50'
UINST="$WINEPREFIX/drive_c/Quillmark Test/Quillmark50"
MENU="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quillmark 5.0"
DESK="$WINEPREFIX/drive_c/users/Public/Desktop"
fails=0
ok() { echo "ok: $*"; }
bad() { echo "FAILED: $*"; fails=$((fails + 1)); }
check() { local what=$1; shift; if "$@"; then ok "$what"; else bad "$what"; fi; }

rm -rf "$WINEPREFIX/drive_c/Quillmark Test"
# The prepared machine: the 2015-2022 runtime is newer already (its installer ends with 5100).
STANDINS='HKLM\Software\Wow6432Node\Tessarwind\Standins'
"$WINE" reg add "$STANDINS" /v vc_redist.x86_2015-2022_14.31.31103.0.exe /t REG_DWORD /d 5100 /f >/dev/null 2>&1
out=$("$WINE" "$EXE" "$INST" 2>&1 | tr -d '\r')
echo "$out" | sed 's/^/  | /'
check "installProdukt returned 0" grep -qx 'result: 0' <<<"$out"
check "closing message asks for the server step" grep -qx 'dialog: Fahren Sie jetzt mit der Installation des Datenbankservers fort.' <<<"$out"
check "last feedback line" bash -c '[ "$(grep "^feedback: " <<<"$1" | tail -1)" = "feedback: Installation Quillmark erfolgreich beendet" ]' _ "$out"

check "2010 runtime installed" grep -qxF "feedback: Installation 'Microsoft Visual C++ Redistributable 2010' erfolgreich." <<<"$out"
check "2015-2022 runtime skipped as newer" grep -qxF "feedback: Installation 'Microsoft Visual C++ Redistributable 2017' übersprungen, da neuere Version schon installiert." <<<"$out"
aufruf=$("$WINE" reg query "$STANDINS" /v vcredist_x86_2010_10.0.40219.325.exe.Aufruf 2>&1 | tr -d '\r')
check "the installer ran silently (/q)" grep -qE 'vcredist_x86_2010_10\.0\.40219\.325\.exe"? /q$' <<<"$aufruf"

# Files: the same bytes as the packed release files.
for f in Quillmark50.exe Quillmark50Help.chm QM50Uninst.exe QM50SQLs.dll Readme.txt Lizenz.pdf \
         Quillmark50Anleitung.pdf TeamViewerQS_Quillmark.exe vcredist_x86_2010_10.0.40219.325.exe \
         vc_redist.x86_2015-2022_14.31.31103.0.exe; do
  check "$f ($(stat -c %s "$STAGE/$f") bytes) unpacked unchanged" cmp -s "$STAGE/$f" "$UINST/$f"
done
check "BriefQuillmark.dot in Dokumentablage" cmp -s "$STAGE/BriefQuillmark.dot" "$UINST/Dokumentablage/BriefQuillmark.dot"
for f in "$STAGE"/openssl/*; do
  check "openssl/$(basename "$f") flat in openssl" cmp -s "$f" "$UINST/openssl/$(basename "$f")"
done
for f in "$STAGE"/fbclient/*; do
  check "$(basename "$f") of the client beside the application" cmp -s "$f" "$UINST/$(basename "$f")"
done
check "client firebird.conf sets WireCrypt = Required" grep -q '^WireCrypt = Required' "$UINST/firebird.conf"
for d in Datenbanken Datenbanken/Sicherungen/TaeglicheSicherungen Dokumentablage Programmdaten PAD Setupdateien; do
  check "folder $d" test -d "$UINST/$d"
done
# Wine brings its own msvcr71.dll, so Windows can load one: nothing is copied.
check "msvcr71.dll not copied where Windows loads one" test ! -e "$UINST/msvcr71.dll"

# Last-write times, local time of this machine.
mtime_is() {  # file, "YYYY-MM-DD HH:MM:SS"
  local want; want=$(date -d "$2" +%s)
  [ "$(stat -c %Y "$1")" = "$want" ] || { echo "  $(basename "$1"): $(date -d @"$(stat -c %Y "$1")" '+%F %T'), wanted $2"; return 1; }
}
for f in Quillmark50.exe Quillmark50Help.chm QM50Uninst.exe QM50SQLs.dll Readme.txt Lizenz.pdf Quillmark50Anleitung.pdf \
         vcredist_x86_2010_10.0.40219.325.exe Dokumentablage/BriefQuillmark.dot; do
  check "$f dated 12.08.2024 05:18:24 (the build date at the even second)" mtime_is "$UINST/$f" '2024-08-12 05:18:24'
done
check "remote-support tool dated 25.01.2022 10:04:10" mtime_is "$UINST/TeamViewerQS_Quillmark.exe" '2022-01-25 10:04:10'
check "archive entries keep their stored date" mtime_is "$UINST/openssl/openssl.exe" '2022-08-10 14:30:00'

# Shortcuts, parsed by lnkinfo.
link_is() {  # lnk file, target, working folder
  local info path work
  info=$(lnkinfo "$1" 2>&1) || { echo "$info"; return 1; }
  path=$(awk -F'\t+: ' '/^\tLocal path/ {print $2; exit}' <<<"$info")
  work=$(awk -F'\t+: ' '/^\tWorking directory/ {print $2; exit}' <<<"$info")
  [ "$path" = "$2" ] && [ "$work" = "$3" ] || { echo "  lnkinfo: local path '$path', working directory '$work'"; return 1; }
}
check "start menu: Quillmark 5.0" link_is "$MENU/Quillmark 5.0.lnk" "$INST\\Quillmark50.exe" "$INST"
check "start menu: Lizenzbedingungen" link_is "$MENU/Lizenzbedingungen.lnk" "$INST\\Lizenz.pdf" "$INST"
check "start menu: Anleitung" link_is "$MENU/Anleitung.lnk" "$INST\\Quillmark50Anleitung.pdf" "$INST"
check "start menu: TeamViewer QuickSupport" link_is "$MENU/TeamViewer QuickSupport.lnk" "$INST\\TeamViewerQS_Quillmark.exe" "$INST"
check "desktop: Quillmark 5.0" link_is "$DESK/Quillmark 5.0.lnk" "$INST\\Quillmark50.exe" "$INST"
check "no other shortcuts in the start-menu folder" bash -c '[ "$(ls "$1" | wc -l)" = 4 ]' _ "$MENU"

# The uninstall entry, 32-bit view, exactly two values.
reg=$("$WINE" reg query 'HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\Quillmark50' 2>&1 | tr -d '\r')
echo "$reg" | sed 's/^/  | /'
check "DisplayName" grep -qE '^ +DisplayName +REG_SZ +Quillmark 5\.0$' <<<"$reg"
check "UninstallString" grep -qF "    UninstallString    REG_SZ    \"$INST\\QM50Uninst.exe\" \"$INST\\QM50Uninst.log\"" <<<"$reg"
check "no further value" bash -c '[ "$(grep -c "REG_" <<<"$1")" = 2 ]' _ "$reg"
check "nothing in the 64-bit view" bash -c '! "$1" reg query "HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmark50" >/dev/null 2>&1' _ "$WINE"

# The uninstall log, byte for byte (CR LF, code page 1252).
{
  for f in Quillmark50.exe Quillmark50Help.chm QM50SQLs.dll Readme.txt Lizenz.pdf 'Dokumentablage\BriefQuillmark.dot' \
           Quillmark50Anleitung.pdf TeamViewerQS_Quillmark.exe vcredist_x86_2010_10.0.40219.325.exe \
           vc_redist.x86_2015-2022_14.31.31103.0.exe; do printf '[Datei]       %s\\%s\r\n' "$INST" "$f"; done
  for d in Datenbanken Dokumentablage Programmdaten PAD Setupdateien openssl Firebird_4.0.2.2816; do
    printf '[Verzeichnis] %s\\%s\r\n' "$INST" "$d"; done
  printf '[Verzeichnis] %s\r\n' "$INST"
  M='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Quillmark 5.0'
  for l in 'Quillmark 5.0' Lizenzbedingungen Anleitung 'TeamViewer QuickSupport'; do printf '[LinkFile]    %s\\%s.lnk\r\n' "$M" "$l"; done
  printf '[LinkFile]    %s\r\n' 'C:\users\Public\Desktop\Quillmark 5.0.lnk'
  printf '[Verzeichnis] %s\r\n' "$M"
} >"$WINEPREFIX/expected-uninstall.log"
check "uninstall log line by line" diff <(tr -d '\r' <"$WINEPREFIX/expected-uninstall.log") <(tr -d '\r' <"$UINST/QM50Uninst.log")
check "uninstall log ends every line with CR LF" cmp -s "$WINEPREFIX/expected-uninstall.log" "$UINST/QM50Uninst.log"

# Access rights: Wine keeps no explicit entries, so the arguments passed are checked.
acl_for() {
  grep -qxF "acl: SetNamedSecurityInfo $INST\\$1|1|4|owner=-|group=S-1-1-0|sacl=-|dacl= [10000000 2 3 0 5 S-1-1-0] [10000000 2 3 0 2 S-1-5-32-544] ->0" <<<"$out"
}
for d in Dokumentablage Programmdaten PAD Setupdateien; do check "full access for all users on $d, accepted" acl_for "$d"; done
check "no other object's rights changed" bash -c '[ "$(grep -c "^acl: SetNamedSecurityInfo" <<<"$1")" = 4 ]' _ "$out"

# Where Windows has no msvcr71.dll (here: Wine's own switched off), it is copied and dated.
INST2='C:\Quillmark Test\Ohne msvcr71'
UINST2="$WINEPREFIX/drive_c/Quillmark Test/Ohne msvcr71"
out2=$(WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-};msvcr71=d" "$WINE" "$EXE" "$INST2" 2>&1 | tr -d '\r')
check "second installation without msvcr71 returned 0" grep -qx 'result: 0' <<<"$out2"
check "msvcr71.dll copied" cmp -s "$STAGE/msvcr71.dll" "$UINST2/msvcr71.dll"
check "msvcr71.dll dated 21.02.2003 03:42:22" mtime_is "$UINST2/msvcr71.dll" '2003-02-21 03:42:22'
check "msvcr71.dll listed after the runtimes" bash -c 'grep -a "^\[Datei\]" "$1" | tail -1 | grep -qF "msvcr71.dll"' _ "$UINST2/QM50Uninst.log"

echo "$fails check(s) failed"
[ "$fails" -eq 0 ]
