#!/usr/bin/env bash
# Opens the setup on a prepared demo machine under Wine. With a display (DISPLAY set) the
# window appears there; without one it runs on a virtual screen, takes a screenshot after
# a few seconds and says where it is. The machine is the "update" machine (an earlier
# installation and the old server with its running service) unless QM_MACHINE names
# another state of scripts/prepare-machine.sh (fresh, update-stopped, private-files, ...).
set -uo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
bash scripts/bootstrap.sh || exit 1
cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null &&
  cmake --build build/win64 -j"$(nproc)" --target Quillmark50Setup qmdriver standins >/dev/null || exit 1
cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null &&
  cmake --build build/win32 -j"$(nproc)" --target Quillmark50Setup >/dev/null || exit 1
source scripts/wine-env.sh
source scripts/prepare-machine.sh
own_display=0
if [ -z "${DISPLAY:-}" ]; then own_display=1; fi
if [ $own_display -eq 1 ]; then
  trap 'wine_env_down' EXIT
  wine_env_up
else
  # Use the caller's display; the template prefix still comes from wine_env_up's logic.
  saved=$DISPLAY; wine_env_up; kill "$QM_XVFB_PID" 2>/dev/null; QM_XVFB_PID=""; export DISPLAY=$saved
  trap 'wine_env_down' EXIT
fi
export LC_ALL=${QM_LC_ALL:-de_DE.UTF-8}
state=${QM_MACHINE:-update}
machine=demo-$state
prepare_machine "$machine" "$state" || exit 1
echo "Setup (built: build/win32/Quillmark50Setup.exe, shown here: its x86-64 build) on machine build/wine/$machine ($state)"
"$QM_WINE" build/win64/Quillmark50Setup.exe &
pid=$!
if [ $own_display -eq 1 ]; then
  "$QM_WINE" build/win64/tests/e2e/qmdriver.exe wait-window "Quillmark 5.18.25 - Installation" 30000 >/dev/null
  sleep 2
  mkdir -p build/screenshots
  import -window root build/screenshots/run-setup.png
  echo "No display: the setup ran on a virtual screen. Screenshot: $ROOT/build/screenshots/run-setup.png"
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
else
  wait "$pid"
  echo "Setup ended with exit code $?"
fi
