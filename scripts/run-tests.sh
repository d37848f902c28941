#!/usr/bin/env bash
# Every test tier: host (plain and with sanitizers), the Windows builds, the Wine tier and
# the end-to-end tier under Wine and Xvfb. Works as root without a display; everything it
# starts lives below build/ and is stopped by process id at the end, also after a failure.
set -uo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
JOBS=${JOBS:-$(nproc)}
passed=0
failed=0
failures=()

step() {
  local name=$1; shift
  echo "=== $name"
  if "$@"; then
    passed=$((passed + 1)); echo "=== $name: passed"
  else
    failed=$((failed + 1)); failures+=("$name"); echo "=== $name: FAILED"
  fi
}

build() {  # dir, cmake args...
  local dir=$1; shift
  cmake -S . -B "$dir" "$@" >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; return 1; }
  cmake --build "$dir" -j"$JOBS" >"$dir.build.log" 2>&1 || { grep -E 'error|Error' "$dir.build.log" | head -40; return 1; }
}

check_shipped_exe() {
  local exe=build/win32/Quillmark50Setup.exe
  local info; info=$(file "$exe")
  echo "$info"
  [[ $info == *"PE32 executable (GUI) Intel 80386"* ]] || { echo "not a 32-bit GUI program"; return 1; }
  # No runtime DLL may be needed beside it.
  local dlls; dlls=$(i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name/ {print tolower($3)}' | sort -u)
  echo "imports: $(echo $dlls)"
  if echo "$dlls" | grep -qE 'libstdc|libgcc|libwinpthread|zlib'; then echo "needs a runtime DLL"; return 1; fi
  /usr/bin/python3 scripts/check_manifest.py "$exe"
}

mkdir -p build
bash scripts/bootstrap.sh || { echo "bootstrap failed"; exit 1; }

step "host build" build build/host -DCMAKE_BUILD_TYPE=Debug
step "host tests" ctest --test-dir build/host --output-on-failure -j"$JOBS"
step "host build (address and undefined-behaviour sanitizers)" build build/host-asan -DCMAKE_BUILD_TYPE=Debug -DQM_SANITIZE=ON
step "host tests (sanitizers)" env ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/host-asan --output-on-failure -j"$JOBS"
step "win32 build (shipped setup, i686)" build build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release
step "shipped setup is a 32-bit GUI program asking for administrator rights" check_shipped_exe
step "win64 build (the same sources for wine64)" build build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
check_update_manifest() {
  /usr/bin/python3 scripts/check_update_manifest.py build/win32/Quillmark50Setup.exe &&
    /usr/bin/python3 scripts/check_update_manifest.py build/win64/Quillmark50Setup.exe
}
step "update manifest resource of the built setup, byte for byte" check_update_manifest

source scripts/wine-env.sh
trap 'wine_env_down' EXIT
step "wine environment" wine_env_up
export LC_ALL=de_DE.UTF-8
wine_tier() {
  wine_machine winetier
  ctest --test-dir build/win64 --output-on-failure --timeout 600
}
step "wine tier" wine_tier
standins_under_wine() {
  wine_machine standins
  # The stand-ins are x86-64 here: the old server's registration is read in the 32-bit view.
  WINE="$QM_WINE" REG="$QM_WINE reg" KEY32='HKLM\SOFTWARE\Wow6432Node\Firebird Project\Firebird Server\Instances' \
    bash payloads/standins/test/standins-wine.sh build/win64/standins build/win64/standins-test/probe.exe
}
step "stand-ins under Wine" standins_under_wine
source tests/e2e/scenarios.sh
for s in "${QM_E2E_SCENARIOS[@]}"; do
  step "end-to-end: $s" "$s"
done
wine_env_down
trap - EXIT

echo
[ ${#failures[@]} -eq 0 ] || printf 'failed: %s\n' "${failures[@]}"
echo "screenshots: $ROOT/build/screenshots"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
