#!/bin/bash
# Drives the stand-ins under Wine the way the setup does and checks the
# effects: services, port, registry, files, semaphore, version strings.
#
#   WINEPREFIX=... [WINE=wine] [REG=...] standins-wine.sh STANDINS_DIR PROBE_EXE
#
# STANDINS_DIR is the build's standins/ folder (fb4/, old252/, app-*/).
# The prefix must be ready and its wineserver running (wineserver -p).
# REG is the reg.exe whose registry view matches the stand-ins' bitness;
# default: the 32-bit one. Ends with "N passed, N failed".
set -u
ST=${1:?standins dir}
PROBE=${2:?probe exe}
WINE=${WINE:-wine}
REG=${REG:-$WINE C:\\windows\\syswow64\\reg.exe}
: "${WINEPREFIX:?set WINEPREFIX}"
C="$WINEPREFIX/drive_c"
pass=0 fail=0

check() { # what expected actual
    if [ "$2" == "$3" ]; then pass=$((pass + 1)); echo "ok    $1"
    else fail=$((fail + 1)); echo "FAIL  $1: expected [$2], got [$3]"; fi
}
w() { $WINE "$@" 2>/dev/null | tr -d '\r'; }
run() { w "$PROBE" run "$1"; }                       # -> exit=N
svc() { w "$PROBE" svc "$1"; }                       # -> 1, 4 or missing
port() { timeout 3 bash -c "</dev/tcp/127.0.0.1/$1" 2>/dev/null && echo open || echo closed; }
regval() { $REG query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v v="$2" '$1==v {sub(/^ *[^ ]+ +[^ ]+ +/, ""); print}'; }

# --- private server, in a folder with blanks: the setup never quotes it ---
FB4U="$C/Program Files/Quillmark Test/Firebird_4.0.2.2816"
FB4W='C:\Program Files\Quillmark Test\Firebird_4.0.2.2816'
INST=QuillmarkFB4.0.2.2816
SVC=FirebirdServer$INST
mkdir -p "$FB4U" && cp "$ST"/fb4/* "$FB4U"/
T="$FB4W\\instsvc.exe"

check "remove without a service" "exit=0" "$(run "$T remove -n $INST")"
check "install" "exit=0" "$(run "$T install -auto -n $INST")"
check "new service is stopped" "1" "$(svc $SVC)"
check "start type automatic" "0x2" "$(regval "HKLM\\System\\CurrentControlSet\\Services\\$SVC" Start)"
check "binary path" "\"$FB4W\\firebird.exe\" -s $INST" \
    "$(regval "HKLM\\System\\CurrentControlSet\\Services\\$SVC" ImagePath)"
check "display name" "Firebird Server - $INST" \
    "$(regval "HKLM\\System\\CurrentControlSet\\Services\\$SVC" DisplayName)"
check "install twice fails" "exit=3" "$(run "$T install -auto -n $INST")"
check "start" "exit=0" "$(run "$T start -n $INST")"
check "running" "4" "$(svc $SVC)"
check "port 4439 answers" "open" "$(port 4439)"
check "start while running" "exit=0" "$(run "$T start -n $INST")"
check "stop" "exit=0" "$(run "$T stop -n $INST")"
check "stopped" "1" "$(svc $SVC)"
check "port 4439 closed" "closed" "$(port 4439)"
check "stop while stopped" "exit=0" "$(run "$T stop -n $INST")"
check "start again after a connection" "exit=0" "$(run "$T -n $INST start")"
check "port 4439 answers again" "open" "$(port 4439)"
check "remove stops a running service" "exit=0" "$(run "$T remove -n $INST")"
check "service gone" "missing" "$(svc $SVC)"
check "port closed after remove" "closed" "$(port 4439)"
check "remove again" "exit=0" "$(run "$T remove -n $INST")"
check "unknown command" "exit=1" "$(run "$T frobnicate -n $INST")"
check "-n without a name" "exit=1" "$(run "$T start -n")"
check "start of a missing service" "exit=3" "$(run "$T start -n $INST")"
check "stop of a missing service" "exit=3" "$(run "$T stop -n $INST")"
check "server outside the service manager" "exit=2" "$(run "\"$FB4W\\firebird.exe\" -s $INST")"

# A taken port lets the start fail instead of reporting a dead server.
check "install (demand)" "exit=0" "$(run "$T install -demand -n $INST")"
check "start type demand" "0x3" "$(regval "HKLM\\System\\CurrentControlSet\\Services\\$SVC" Start)"
# SO_REUSEADDR because our own closed connections may still sit in TIME_WAIT.
python3 -c 'import socket,time; s=socket.socket(); s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
s.bind(("127.0.0.1",4439)); s.listen(); time.sleep(8)' &
blocker=$!
sleep 0.5
check "start with port 4439 taken" "exit=3" "$(run "$T start -n $INST")"
check "stopped after the failed start" "1" "$(svc $SVC)"
kill $blocker 2>/dev/null; wait $blocker 2>/dev/null
check "remove after failed start" "exit=0" "$(run "$T remove -n $INST")"

# Without firebird.conf the default port applies.
check "install without firebird.conf" "exit=0" "$(mv "$FB4U/firebird.conf" "$FB4U/firebird.conf.off"; run "$T install -a -n $INST")"
check "start without firebird.conf" "exit=0" "$(run "$T start -n $INST")"
check "default port 3050 answers" "open" "$(port 3050)"
check "remove" "exit=0" "$(run "$T remove -n $INST")"
mv "$FB4U/firebird.conf.off" "$FB4U/firebird.conf"

check "firebird.exe FileVersion" "4.0.2.2816" "$(w "$PROBE" ver "$FB4W\\firebird.exe" FileVersion)"

# --- old server and its uninstaller ---
OLDU="$C/Programme/Firebird/Firebird_2_5"
OLDW='C:\Programme\Firebird\Firebird_2_5\'
KEY=${KEY32:-'HKLM\SOFTWARE\Firebird Project\Firebird Server\Instances'}
mkdir -p "$OLDU" && cp -r "$ST"/old252/* "$OLDU"/
$REG add "$KEY" /v DefaultInstance /t REG_SZ /d "$OLDW" /f >/dev/null 2>&1
OT="${OLDW}bin\\instsvc.exe"
check "fbserver.exe ProductVersion" "2.5.2.26540" "$(w "$PROBE" ver "${OLDW}bin\\fbserver.exe" ProductVersion)"
check "fbserver.exe FileVersion" "2.5.2.26540" "$(w "$PROBE" ver "${OLDW}bin\\fbserver.exe" FileVersion)"
check "old install" "exit=0" "$(run "$OT install -auto -n DefaultInstance")"
check "old binary path" "\"${OLDW}bin\\fbserver.exe\" -s DefaultInstance" \
    "$(regval "HKLM\\System\\CurrentControlSet\\Services\\FirebirdServerDefaultInstance" ImagePath)"
check "old start" "exit=0" "$(run "$OT start -n DefaultInstance")"
check "old port 3050 answers" "open" "$(port 3050)"
check "registry value before uninstall" "$OLDW" "$(regval "$KEY" DefaultInstance)"
check "unins000 /SILENT /NoRestart" "exit=0" "$(run "${OLDW}unins000.exe /SILENT /NoRestart")"
check "old service gone" "missing" "$(svc FirebirdServerDefaultInstance)"
check "old port closed" "closed" "$(port 3050)"
check "registry value gone" "" "$(regval "$KEY" DefaultInstance)"
check "old files gone" "unins000.exe" "$(cd "$OLDU" && find . -mindepth 1 -printf '%P\n')"
check "unins000 again" "exit=0" "$(run "${OLDW}unins000.exe /SILENT /NoRestart")"

# --- application stand-in ---
SEM='Quillmark 5.0 - Privatliquidation'
APPU="$C/Quillmark Test App"
APPW='C:\Quillmark Test App'
mkdir -p "$APPU" && cp "$ST/app-5.18.25.0/Quillmark50.exe" "$APPU"/
check "semaphore absent" "absent" "$(w "$PROBE" sem "$SEM")"
w "$APPW\\Quillmark50.exe" --hold-ms 4000 &
app=$!
sleep 1.5
check "semaphore held while running" "present" "$(w "$PROBE" sem "$SEM")"
wait $app
check "semaphore gone after --hold-ms" "absent" "$(w "$PROBE" sem "$SEM")"
for v in 5.18.25.0 5.16.23.0 5.16.22.0 5.5.3.0 5.18.25; do
    cp "$ST/app-$v/Quillmark50.exe" "$APPU/Quillmark50.exe"
    check "app FileVersion $v" "$v" "$(w "$PROBE" ver "$APPW\\Quillmark50.exe" FileVersion)"
done
cp "$ST/app-nover/Quillmark50.exe" "$APPU/Quillmark50.exe"
check "app without version resource" "<no version info>" "$(w "$PROBE" ver "$APPW\\Quillmark50.exe" FileVersion)"

echo "$pass passed, $fail failed"
[ "$fail" -eq 0 ]
