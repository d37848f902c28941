# Sourced by scenarios.sh: the installer window's wizard steps and the licence viewer,
# driven like a user on a 1920 x 1080 screen and on a 1024 x 768 one.
QM_E2E_SCENARIOS+=(e2e_wizard_steps_large_screen e2e_wizard_steps_small_screen e2e_licence_viewer
                   e2e_folder_dialog)

# Control ids of the installer window: the controls in the order of the window's fields.
ID_UEBERSPRINGEN=1000
ID_INSTALLIEREN=1001
ID_ZURUECK=1002
ID_FEEDBACK=1004
ID_KOMPONENTE_QM=1009
ID_KOMPONENTE_FB=1010
ID_ZIELVERZEICHNIS=1011
ID_INSTALL_DIR=1012
ID_INSTALL_DIR_BROWSE=$((ID_INSTALL_DIR + 0x4000))  # the folder edit's browse button
ID_EINZELPLATZ=1018
ID_LIZENZ_CHECK=1023
ID_LIZENZ_BUTTON=1024
LIZENZ_CAPTION="Lizenzbedingungen"
# The viewer's "&Schließen"; buttons are named by id so a scenario does not depend on how
# Wine decodes arguments outside ASCII.
ID_LIZENZ_SCHLIESSEN=1003

FINAL_MESSAGE="caption: Information
text: Wenn alle Programmteile erfolgreich installiert wurden,
können Sie nun mit der Arbeit mit Quillmark beginnen.

Schließen Sie dazu dieses Fenster und starten Sie Quillmark.

Wichtig: Unter Vista, Windows 7 oder höher müssen Sie das
Programm das erste Mal mit Administratorrechten starten.
Klicken Sie dazu mit der rechten Maustaste auf das
Programmsymbol auf dem Desktop und wählen Sie
'Als Administrator ausführen'.

Bei Problemen mit der Installation fragen Sie Ihren
Administrator oder wenden Sie sich an 
support@tessarwind.de.
button: 1 OK"

# One field of a control's line in `controls`: 3 text, 4 visible, 5 enabled, 6 checked, 7 rect.
control_field() {  # id field
  drv controls "$MAIN_CAPTION" | awk -F'\t' -v id="$1" -v f="$2" '$1 == id { print $f; exit }'
}

# The step as the user sees it: which group is enabled, which buttons show, the caption.
expect_step() {
  local step=$1 controls
  controls=$(drv controls "$MAIN_CAPTION") || return 1
  field() { awk -F'\t' -v id="$1" -v f="$2" '$1 == id { print $f; exit }' <<<"$controls"; }
  local want_back want_skip want_caption want_app want_srv
  case $step in
    1) want_back=0 want_skip=1 want_caption="Installieren >" want_app=1 want_srv=0 ;;
    2) want_back=1 want_skip=1 want_caption="Installieren >" want_app=0 want_srv=1 ;;
    3) want_back=1 want_skip=0 want_caption="Schließen" want_app=0 want_srv=0 ;;
  esac
  local got="$(field $ID_ZURUECK 4) $(field $ID_UEBERSPRINGEN 4) $(field $ID_INSTALLIEREN 3)|$(field $ID_KOMPONENTE_QM 5) $(field $ID_ZIELVERZEICHNIS 5) $(field $ID_KOMPONENTE_FB 5) $(field $ID_EINZELPLATZ 5)"
  local want="$want_back $want_skip $want_caption|$want_app $want_app $want_srv $want_srv"
  if [ "$got" != "$want" ]; then
    echo "step $step: got '$got', want '$want'"
    return 1
  fi
  echo "step $step as expected"
}

expect_log() {  # the feedback log's lines, one argument each
  local got want
  got=$(drv text "$MAIN_CAPTION" $ID_FEEDBACK | sed '/^$/d')
  want=$(printf '%s\n' "$@" | sed '/^$/d')
  [ "$got" == "$want" ] || { echo "log: got"; echo "$got"; echo "want"; echo "$want"; return 1; }
}

expect_final_message() {
  local box
  box=$(drv wait-msgbox 10000) || { echo "no final message"; return 1; }
  [ "$box" == "$FINAL_MESSAGE" ] || { echo "final message differs:"; echo "$box"; return 1; }
}

# Skip, skip, back, back, forward again and close with "Schließen"; a screenshot per step.
wizard_walk() {  # screenshot tag, expected window width and height
  local tag=$1
  local skip1="Installation von Quillmark übersprungen" skip2="Installation des Datenbank-Servers übersprungen"
  start_setup
  drv wait-window "$MAIN_CAPTION" 30000 >/dev/null || return 1
  sleep 0.5
  no_dialog_open || return 1
  expect_window_size "$2" "$3" || return 1
  expect_step 1 && expect_log && shot "$tag-schritt1" || return 1
  drv click "$MAIN_CAPTION" "#$ID_UEBERSPRINGEN" && sleep 0.3
  expect_step 2 && expect_log "$skip1" && no_dialog_open && shot "$tag-schritt2" || return 1
  drv click "$MAIN_CAPTION" "#$ID_UEBERSPRINGEN"
  expect_final_message && sleep 0.3 && shot "$tag-abschlussmeldung" || return 1
  drv press-msgbox 1 && sleep 0.3
  expect_step 3 && expect_log "$skip1" "$skip2" && shot "$tag-schritt3" || return 1
  drv click "$MAIN_CAPTION" "#$ID_ZURUECK" && sleep 0.5
  no_dialog_open && expect_step 2 || { echo "back to step 2 must show no message"; return 1; }
  drv click "$MAIN_CAPTION" "#$ID_ZURUECK" && sleep 0.3
  expect_step 1 || return 1
  drv click "$MAIN_CAPTION" "#$ID_UEBERSPRINGEN" && sleep 0.3
  expect_step 2 || return 1
  drv click "$MAIN_CAPTION" "#$ID_UEBERSPRINGEN"
  expect_final_message || { echo "entering step 3 again must show the message again"; return 1; }
  drv press-msgbox 1 && sleep 0.3
  expect_step 3 && expect_log "$skip1" "$skip2" "$skip1" "$skip2" || return 1
  drv click "$MAIN_CAPTION" "#$ID_INSTALLIEREN"
  wait_setup 20 && [ "$SETUP_RC" -eq 0 ]
}

expect_window_size() {  # width height
  local r; r=$(drv rect "$MAIN_CAPTION") || return 1
  local w=$(awk -F'[:,]' '/^window/ { print $4 - $2 }' <<<"$r") h=$(awk -F'[:,]' '/^window/ { print $5 - $3 }' <<<"$r")
  [ "$w" -eq "$1" ] && [ "$h" -eq "$2" ] || { echo "window is ${w}x${h}, want $1x$2"; return 1; }
}

e2e_wizard_steps_large_screen() (
  export LC_ALL=de_DE.UTF-8
  wine_machine e2e-wizard-large
  wizard_walk e2e-1920x1080 1280 720 || { kill "$SETUP_PID" 2>/dev/null; exit 1; }
)

# Screen 1 of our Xvfb is the small one.
e2e_wizard_steps_small_screen() (
  export LC_ALL=de_DE.UTF-8
  export DISPLAY="${DISPLAY%.*}.1"
  wine_machine e2e-wizard-small
  wizard_walk e2e-1024x768 1024 720 || { kill "$SETUP_PID" 2>/dev/null; exit 1; }
)

e2e_licence_viewer() (
  export LC_ALL=de_DE.UTF-8
  wine_machine e2e-licence
  start_setup
  fail() { echo "$1"; kill "$SETUP_PID" 2>/dev/null; exit 1; }
  drv wait-window "$MAIN_CAPTION" 30000 >/dev/null || fail "no window"
  drv click "$MAIN_CAPTION" "#$ID_LIZENZ_CHECK" && sleep 0.3
  [ "$(control_field $ID_LIZENZ_CHECK 6)" = 1 ] || fail "check box not ticked"
  open_viewer() {
    drv click "$MAIN_CAPTION" "#$ID_LIZENZ_BUTTON"
    drv wait-window "$LIZENZ_CAPTION" 10000 >/dev/null || fail "no licence viewer"
    sleep 0.5
  }
  closed_and_unchanged() {
    drv wait-gone "$LIZENZ_CAPTION" 5000 || fail "viewer still open after $1"
    [ "$(control_field $ID_LIZENZ_CHECK 6)" = 1 ] || fail "check box changed by the viewer ($1)"
    echo "closed by $1, check box unchanged"
  }
  open_viewer
  drv text "$LIZENZ_CAPTION" RichEdit20W | head -1 | grep -qx "Lizenzbedingungen für Quillmark 5.0" ||
    fail "licence text missing"
  shot e2e-lizenz-viewer
  # No printer in the Wine machine: printing says so, the viewer stays.
  drv click "$LIZENZ_CAPTION" "&Drucken"
  box=$(drv wait-msgbox 10000) || fail "no message on printing"
  echo "$box"
  grep -qx "text: Es ist kein Drucker installiert." <<<"$box" || fail "wrong printing message"
  shot e2e-lizenz-kein-drucker
  drv press-msgbox 1
  drv wait-window "$LIZENZ_CAPTION" 2000 >/dev/null || fail "viewer closed by the printing message"
  drv rect "$MAIN_CAPTION" | grep -qx "enabled: 0" || fail "the main window must wait while the viewer is open"
  drv key "$LIZENZ_CAPTION" RichEdit20W 27
  closed_and_unchanged Escape
  open_viewer
  drv click "$LIZENZ_CAPTION" "#$ID_LIZENZ_SCHLIESSEN"
  closed_and_unchanged "&Schließen"
  open_viewer
  drv close "$LIZENZ_CAPTION"
  closed_and_unchanged "the close button"
  no_dialog_open || fail "unexpected dialog"
  drv close "$MAIN_CAPTION"
  wait_setup 20 && [ "$SETUP_RC" -eq 0 ]
)

# The shell's folder dialog opens at the typed folder; OK takes the folder, cancel keeps the text.
e2e_folder_dialog() (
  export LC_ALL=de_DE.UTF-8
  wine_machine e2e-folder
  start_setup
  fail() { echo "$1"; kill "$SETUP_PID" 2>/dev/null; exit 1; }
  drv wait-window "$MAIN_CAPTION" 30000 >/dev/null || fail "no window"
  drv settext "$MAIN_CAPTION" $ID_INSTALL_DIR 'C:\windows\system32' || fail "cannot type the folder"
  drv click "$MAIN_CAPTION" "#$ID_INSTALL_DIR_BROWSE"
  box=$(drv wait-msgbox 10000) || fail "no folder dialog"
  echo "$box" | head -1
  sleep 1
  shot e2e-ordnerauswahl
  drv press-msgbox 1 || fail "cannot press OK"
  sleep 0.3
  got=$(drv text "$MAIN_CAPTION" $ID_INSTALL_DIR)
  [ "$got" == 'C:\windows\system32' ] || fail "OK at the start folder gave '$got'"
  drv settext "$MAIN_CAPTION" $ID_INSTALL_DIR 'C:\Praxis\Neu'
  drv click "$MAIN_CAPTION" "#$ID_INSTALL_DIR_BROWSE"
  drv wait-msgbox 10000 >/dev/null || fail "no folder dialog"
  drv press-msgbox 2 || fail "cannot cancel"
  sleep 0.3
  got=$(drv text "$MAIN_CAPTION" $ID_INSTALL_DIR)
  [ "$got" == 'C:\Praxis\Neu' ] || fail "cancel changed the folder to '$got'"
  drv close "$MAIN_CAPTION"
  wait_setup 20 && [ "$SETUP_RC" -eq 0 ]
)
