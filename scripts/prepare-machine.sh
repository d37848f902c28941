# Prepared machines: a Wine prefix brought into a named state with the project's stand-ins
# (build/win64/standins), for the end-to-end tests, the demo and anyone trying the setup.
#
#   bash scripts/prepare-machine.sh NAME STATE     prepares build/wine/NAME and leaves its
#                                                  wineserver running (stop: see below)
#   source scripts/prepare-machine.sh              (after scripts/wine-env.sh) for the
#                                                  functions below
# States:
#   fresh            nothing installed
#   update           Quillmark 5.16.23.0 registered in the default folder (Installationsart 1),
#                    old server 2.5.2 registered as DefaultInstance, its service running
#   update-stopped   the same with the old server's service stopped
#   private-files    the private server's files in the default folder, no service
#   private-service  Quillmark 5.18.25.0 (Installationsart 2) with the private server's
#                    files and its service running
# Building blocks (each works on the current WINEPREFIX):
#   machine_app VERSION [FOLDER] [INSTALLATIONSART]   VERSION as built (5.18.25.0, ...,
#                      5.18.25) or "none" for the exe without version information;
#                      FOLDER "-" copies nothing and registers the default folder only
#   machine_appdir FOLDER                  registers Appdir only
#   machine_installationsart VALUE         registers Installationsart (REG_DWORD, or REG_SZ
#                                          when VALUE is not a number)
#   machine_old_server running|stopped|no-service [FOLDER]
#   machine_private_server running|stopped|no-service [INSTALLATION FOLDER]
#   machine_stop_services                  stops every service started here (wine_env_down
#                                          does it for every machine it ends)
# QM_OLD_SERVER_PORT and QM_FB4_PORT, when set, go into the servers' firebird.conf: machines
# on one host share the loopback ports.
QM_ROOT=${QM_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
QM_STANDINS=${QM_STANDINS:-$QM_ROOT/build/win64/standins}
# What the 32-bit setup sees as HKLM\Software on 64-bit Windows.
QM_SOFTWARE32='HKLM\Software\Wow6432Node'
QM_APP_KEY="$QM_SOFTWARE32\\Tessarwind\\Quillmark\\5.0"
QM_FB_KEY="$QM_SOFTWARE32\\Firebird Project\\Firebird Server\\Instances"
QM_DEFAULT_APPDIR='C:\Program Files (x86)\Tessarwind\Quillmark50'
QM_OLD_SERVER_DIR='C:\Program Files (x86)\Firebird\Firebird_2_5\'
QM_FB4_INSTANCE=QuillmarkFB4.0.2.2816

# C:\a\b -> the prefix's drive_c/a/b
machine_unix_path() {
  local p=$1 drive rest
  drive=$(tr '[:upper:]' '[:lower:]' <<<"${p:0:1}")
  rest=${p:2}
  rest=${rest//\\//}
  echo "$WINEPREFIX/drive_$drive$rest"
}

machine_reg() { "$QM_WINE" reg "$@" >/dev/null 2>&1; }

machine_set_port() {  # firebird.conf (unix path) port
  [ -n "$2" ] || return 0
  grep -v 'RemoteServicePort' "$1" >"$1.neu" 2>/dev/null || true
  echo "RemoteServicePort = $2" >>"$1.neu"
  mv "$1.neu" "$1"
}

# Runs a service tool command; remembers started services so they are stopped before
# the machine's wineserver ends (they get no shutdown control there).
machine_instsvc() {  # tool (Windows path) command instance
  local tool=$1 command=$2 instance=$3 rc
  if [ "$command" = install ]; then
    "$QM_WINE" "$tool" install -auto -n "$instance" >/dev/null 2>&1; rc=$?
  else
    "$QM_WINE" "$tool" "$command" -n "$instance" >/dev/null 2>&1; rc=$?
  fi
  if [ $rc -ne 0 ]; then echo "prepare-machine: $tool $command -n $instance: exit $rc" >&2; return 1; fi
  if [ "$command" = start ]; then printf '%s\t%s\n' "$tool" "$instance" >>"$WINEPREFIX/.qm-services"; fi
}

machine_stop_services() {
  [ -f "$WINEPREFIX/.qm-services" ] || return 0
  local tool instance
  while IFS=$'\t' read -r tool instance; do
    "$QM_WINE" "$tool" stop -n "$instance" >/dev/null 2>&1 || true
  done <"$WINEPREFIX/.qm-services"
  rm -f "$WINEPREFIX/.qm-services"
}

machine_appdir() {
  machine_reg add "$QM_APP_KEY" /v Appdir /t REG_SZ /d "$1" /f
}

machine_installationsart() {
  if [[ $1 =~ ^-?[0-9]+$ ]]; then
    machine_reg add "$QM_APP_KEY" /v Installationsart /t REG_DWORD /d "$1" /f
  else
    machine_reg add "$QM_APP_KEY" /v Installationsart /t REG_SZ /d "$1" /f
  fi
}

machine_app() {  # version [folder] [installationsart]
  local version=$1 folder=${2:-$QM_DEFAULT_APPDIR} art=${3:-} src
  if [ "$folder" = - ]; then
    folder=$QM_DEFAULT_APPDIR
  else
    src=$QM_STANDINS/app-$version/Quillmark50.exe
    [ "$version" = none ] && src=$QM_STANDINS/app-nover/Quillmark50.exe
    [ -f "$src" ] || { echo "prepare-machine: no stand-in $src (build build/win64 first)" >&2; return 1; }
    mkdir -p "$(machine_unix_path "$folder")"
    cp "$src" "$(machine_unix_path "$folder")/Quillmark50.exe"
  fi
  machine_appdir "$folder"
  [ -z "$art" ] || machine_installationsart "$art"
}

machine_old_server() {  # running|stopped|no-service [folder with trailing backslash]
  local state=$1 folder=${2:-$QM_OLD_SERVER_DIR}
  [ -d "$QM_STANDINS/old252" ] || { echo "prepare-machine: no stand-ins in $QM_STANDINS" >&2; return 1; }
  mkdir -p "$(machine_unix_path "$folder")"
  cp -r "$QM_STANDINS/old252/." "$(machine_unix_path "$folder")/"
  machine_set_port "$(machine_unix_path "$folder")/firebird.conf" "${QM_OLD_SERVER_PORT:-}"
  machine_reg add "$QM_FB_KEY" /v DefaultInstance /t REG_SZ /d "$folder" /f
  [ "$state" = no-service ] && return 0
  machine_instsvc "${folder%\\}\\bin\\instsvc.exe" install DefaultInstance || return 1
  [ "$state" = running ] && { machine_instsvc "${folder%\\}\\bin\\instsvc.exe" start DefaultInstance || return 1; }
  return 0
}

machine_private_server() {  # running|stopped|no-service [installation folder]
  local state=$1 folder=${2:-$QM_DEFAULT_APPDIR}
  local server="${folder%\\}\\Firebird_4.0.2.2816"
  [ -d "$QM_STANDINS/fb4" ] || { echo "prepare-machine: no stand-ins in $QM_STANDINS" >&2; return 1; }
  mkdir -p "$(machine_unix_path "$server")"
  cp -r "$QM_STANDINS/fb4/." "$(machine_unix_path "$server")/"
  machine_set_port "$(machine_unix_path "$server")/firebird.conf" "${QM_FB4_PORT:-}"
  [ "$state" = no-service ] && return 0
  machine_instsvc "$server\\instsvc.exe" install "$QM_FB4_INSTANCE" || return 1
  [ "$state" = running ] && { machine_instsvc "$server\\instsvc.exe" start "$QM_FB4_INSTANCE" || return 1; }
  return 0
}

# A fresh machine NAME in STATE; WINEPREFIX points at it afterwards.
prepare_machine() {  # name state
  local name=$1 state=$2
  wine_machine "$name"
  case $state in
    fresh) ;;
    update) machine_app 5.16.23.0 "$QM_DEFAULT_APPDIR" 1 && machine_old_server running ;;
    update-stopped) machine_app 5.16.23.0 "$QM_DEFAULT_APPDIR" 1 && machine_old_server stopped ;;
    private-files) machine_private_server no-service ;;
    private-service) machine_app 5.18.25.0 "$QM_DEFAULT_APPDIR" 2 && machine_private_server running ;;
    *) echo "prepare-machine: unknown state '$state'" >&2; return 2 ;;
  esac
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -uo pipefail
  [ $# -eq 2 ] || { sed -n '2,30p' "$0" | sed 's/^# \{0,1\}//'; exit 2; }
  source "$QM_ROOT/scripts/wine-env.sh"
  mkdir -p "$QM_WINE_DIR"
  [ -f "$QM_WINE_DIR/template/.ready" ] || { echo "prepare-machine: run wine_env_up once first (e.g. scripts/run-setup.sh)" >&2; exit 1; }
  prepare_machine "$1" "$2" || exit 1
  echo "machine $WINEPREFIX is '$2'; its wineserver keeps running:"
  echo "  WINEPREFIX=$WINEPREFIX $QM_WINE <program>"
  echo "end it with: source scripts/wine-env.sh; source scripts/prepare-machine.sh;"
  echo "  WINEPREFIX=$WINEPREFIX machine_stop_services; WINEPREFIX=$WINEPREFIX $QM_WINESERVER -k"
fi
