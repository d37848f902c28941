# Sourced by scripts/run-tests.sh after wine_env_up: the real setup under Wine, driven
# like a user through qmdriver. Each scenario gets a machine of its own.
E2E_BIN=${E2E_BIN:-$QM_ROOT/build/win64}
SETUP_EXE=$E2E_BIN/Quillmark50Setup.exe
DRIVER=$E2E_BIN/tests/e2e/qmdriver.exe
SHOTS=$QM_ROOT/build/screenshots
MAIN_CAPTION="Quillmark 5.18.25 - Installation"
MARKER="Quillmark 5.0 - Privatliquidation"
QM_E2E_SCENARIOS=(e2e_german_locale_opens_window e2e_month_first_locale_refused e2e_running_application_refused)

drv() { "$QM_WINE" "$DRIVER" "$@"; }

shot() {
  mkdir -p "$SHOTS"
  import -window root "$SHOTS/$1.png" && echo "screenshot: $SHOTS/$1.png"
}

# Starts the setup in the background; SETUP_PID is the wine process.
start_setup() {
  "$QM_WINE" "$SETUP_EXE" &
  SETUP_PID=$!
}

# Waits for the setup to end; prints its exit status, fails after the timeout (seconds).
wait_setup() {
  local t=${1:-20}
  for _ in $(seq $((t * 10))); do
    if ! kill -0 "$SETUP_PID" 2>/dev/null; then
      wait "$SETUP_PID"; SETUP_RC=$?
      echo "setup ended with exit code $SETUP_RC"
      return 0
    fi
    sleep 0.1
  done
  echo "setup still running after ${t}s"
  kill "$SETUP_PID" 2>/dev/null
  return 1
}

no_dialog_open() {
  if drv list | grep -q '#32770'; then
    echo "unexpected dialog:"; drv wait-msgbox 100
    return 1
  fi
}

e2e_german_locale_opens_window() (
  export LC_ALL=de_DE.UTF-8
  wine_machine e2e-german
  start_setup
  drv wait-window "$MAIN_CAPTION" 30000 || { kill "$SETUP_PID"; exit 1; }
  sleep 0.5
  no_dialog_open || { kill "$SETUP_PID"; exit 1; }
  shot e2e-german-window
  drv close "$MAIN_CAPTION"
  wait_setup 20 && [ "$SETUP_RC" -eq 0 ]
)

e2e_month_first_locale_refused() (
  export LC_ALL=en_US.UTF-8
  wine_machine e2e-month-first
  start_setup
  box=$(drv wait-msgbox 30000) || { kill "$SETUP_PID"; exit 1; }
  echo "$box"
  shot e2e-month-first-dialog
  grep -q '^text: Quillmark funktioniert nur mit deutschem Datumsformat.' <<<"$box" &&
    grep -q 'Es wurde folgendes Datumsformat erkannt: M/d/yyyy$' <<<"$box" &&
    grep -q '^button: 1 ' <<<"$box" || { echo "wrong dialog"; kill "$SETUP_PID"; exit 1; }
  drv press-msgbox 1
  wait_setup 20 && [ "$SETUP_RC" -eq 0 ]
)

e2e_running_application_refused() (
  export LC_ALL=de_DE.UTF-8
  wine_machine e2e-running
  "$QM_WINE" "$DRIVER" hold-semaphore "$MARKER" 60000 >"$QM_WINE_DIR/holder.out" &
  holder=$!
  for _ in $(seq 100); do grep -q held "$QM_WINE_DIR/holder.out" 2>/dev/null && break; sleep 0.1; done
  start_setup
  box=$(drv wait-msgbox 30000)
  ok=$?
  echo "$box"
  shot e2e-running-application-dialog
  if [ $ok -ne 0 ] || ! grep -q '^text: Herzlich willkommen zur Installation von Quillmark.' <<<"$box" ||
     ! grep -q '^Bitte schließen Sie zunächst das laufende Programm Quillmark$' <<<"$box"; then
    echo "wrong dialog"; kill "$SETUP_PID" "$holder"; exit 1
  fi
  drv press-msgbox 1
  wait_setup 20 && [ "$SETUP_RC" -eq 0 ]
  rc=$?
  kill "$holder" 2>/dev/null; wait "$holder" 2>/dev/null
  exit $rc
)

source "$QM_ROOT/tests/e2e/scenarios_wizard.sh"
source "$QM_ROOT/tests/e2e/scenarios_erkennung.sh"
