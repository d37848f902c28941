# Sourced by scenarios.sh after scenarios_wizard.sh: what the installer window finds on
# prepared machines (scripts/prepare-machine.sh), read from the real window.
source "$QM_ROOT/scripts/prepare-machine.sh"
QM_E2E_SCENARIOS+=(e2e_detection_fresh e2e_detection_update e2e_detection_private_files)

ID_FIREBIRD_SCHON_VORHANDEN=1014
ID_NETZ=1019
ID_NETZ_SERVER=1021
ID_NETZ_CLIENT=1022

# Opens the setup on a machine prepared in STATE and compares what it shows.
#   detection_on STATE FOLDER LABEL CHECKED-IDS LOG-LINE...
detection_on() (
  local state=$1 folder=$2 label=$3 checked=$4
  shift 4
  export LC_ALL=de_DE.UTF-8
  # Other machines on this host may run the stand-in servers on their usual ports.
  export QM_OLD_SERVER_PORT=$((23000 + RANDOM % 2000)) QM_FB4_PORT=$((25000 + RANDOM % 2000))
  prepare_machine "e2e-detection-$state" "$state" || exit 1
  start_setup
  end() { kill "$SETUP_PID" 2>/dev/null; machine_stop_services; exit "$1"; }
  drv wait-window "$MAIN_CAPTION" 30000 >/dev/null || end 1
  sleep 0.5
  local rc=0 got id want
  no_dialog_open || rc=1
  got=$(drv text "$MAIN_CAPTION" $ID_INSTALL_DIR)
  [ "$got" == "$folder" ] || { echo "folder: got '$got', want '$folder'"; rc=1; }
  got=$(drv text "$MAIN_CAPTION" $ID_FIREBIRD_SCHON_VORHANDEN)
  [ "$got" == "$label" ] || { echo "server label: got '$got', want '$label'"; rc=1; }
  for id in $ID_EINZELPLATZ $ID_NETZ $ID_NETZ_SERVER $ID_NETZ_CLIENT; do
    want=0
    [[ " $checked " == *" $id "* ]] && want=1
    got=$(control_field "$id" 6)
    [ "$got" == "$want" ] || { echo "radio button $id: checked $got, want $want"; rc=1; }
  done
  expect_log "$@" || rc=1
  [ $rc -eq 0 ] && echo "folder, label, kind of installation and log as expected"
  shot "e2e-erkennung-$state"
  drv close "$MAIN_CAPTION"
  wait_setup 20 && [ "$SETUP_RC" -eq 0 ] || rc=1
  machine_stop_services
  exit $rc
)

e2e_detection_fresh() {
  detection_on fresh "$QM_DEFAULT_APPDIR" "" "$ID_EINZELPLATZ"
}

e2e_detection_update() {
  detection_on update "$QM_DEFAULT_APPDIR" "" "$ID_EINZELPLATZ" \
    "Quillmark-Installation gefunden: Version 5.16.23" \
    "Alter Datenbank-Server Version 2.5.2: Installation gefunden" \
    "  Alter Datenbank-Server Version 2.5.2: Dienst gefunden" \
    "  Alter Datenbank-Server Version 2.5.2: Dienst ist gestartet" \
    "Hinweis: Firebird 2.5.2 wird nicht deinstalliert, da schon eine neuere Version von Quillmark installiert ist, die diese Version nicht benötigt."
}

e2e_detection_private_files() {
  detection_on private-files "$QM_DEFAULT_APPDIR" "(Server ist wahrscheinlich schon installiert)" "$ID_EINZELPLATZ" \
    "Datenbank-Server in der Version 4.0.2.2816 gefunden." \
    "  Datenbank-Server Version 4.0.2.2816: Dienst nicht gefunden"
}
