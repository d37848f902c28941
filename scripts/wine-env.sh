# Sourced: a display and Wine prefixes of our own below build/, stopped by process id.
#   wine_env_up        starts Xvfb (QM_SCREEN, default 1920x1080x24; screen 1: QM_SCREEN_SMALL,
#                      default 1024x768x24) and a template prefix
#   wine_machine NAME  copies the template to build/wine/NAME and starts its wineserver
#   wine_env_down      stops every wineserver we started, then Xvfb
QM_ROOT=${QM_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
QM_WINE_DIR=${QM_WINE_DIR:-$QM_ROOT/build/wine}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
# The 32-bit loader cannot run where the kernel lacks 32-bit support; wine64 always can.
QM_WINE=${QM_WINE:-/usr/lib/wine/wine64}
QM_WINESERVER=${QM_WINESERVER:-/usr/lib/wine/wineserver64}
QM_XVFB_PID=""

wine_env_display() {
  local n
  for n in $(seq 90 140); do
    if [ ! -e /tmp/.X11-unix/X$n ] && [ ! -e /tmp/.X$n-lock ]; then echo $n; return; fi
  done
  return 1
}

# Wine decodes command lines with the C library's locale: without a real de_DE.UTF-8
# umlauts in arguments arrive mangled. Our own compiled locales need no system change.
wine_env_locales() {
  local l
  mkdir -p "$QM_WINE_DIR/locale"
  for l in de_DE en_US; do
    [ -d "$QM_WINE_DIR/locale/$l.UTF-8" ] || localedef -i "$l" -f UTF-8 "$QM_WINE_DIR/locale/$l.UTF-8" 2>/dev/null || true
  done
  export LOCPATH="$QM_WINE_DIR/locale"
}

wine_env_up() {
  mkdir -p "$QM_WINE_DIR"
  wine_env_locales
  local n; n=${QM_DISPLAY:-$(wine_env_display)}
  # Screen 1 (DISPLAY=:n.1) is a small one for the layout on a 1024 x 768 screen.
  Xvfb ":$n" -screen 0 "${QM_SCREEN:-1920x1080x24}" -screen 1 "${QM_SCREEN_SMALL:-1024x768x24}" \
    -nolisten tcp >"$QM_WINE_DIR/xvfb.log" 2>&1 &
  QM_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  if [ ! -f "$QM_WINE_DIR/template/.ready" ]; then
    rm -rf "$QM_WINE_DIR/template"
    (export WINEPREFIX="$QM_WINE_DIR/template"
     "$QM_WINE" wineboot -i >/dev/null 2>&1
     # Without a window manager every window close would wait for one.
     "$QM_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
     # wine64 alone cannot run the 32-bit half of wineboot: give the 32-bit view the
     # values 64-bit Windows has there.
     "$QM_WINE" reg add 'HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion' \
       /v ProgramFilesDir /d 'C:\Program Files (x86)' /f >/dev/null 2>&1
     "$QM_WINE" reg add 'HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion' \
       /v CommonFilesDir /d 'C:\Program Files (x86)\Common Files' /f >/dev/null 2>&1
     "$QM_WINESERVER" -w)
    touch "$QM_WINE_DIR/template/.ready"
  fi
}

# A machine: a fresh copy of the template with its own persistent wineserver.
wine_machine() {
  local name=$1
  local prefix="$QM_WINE_DIR/$name"
  rm -rf "$prefix"
  cp -a "$QM_WINE_DIR/template" "$prefix"
  export WINEPREFIX="$prefix"
  "$QM_WINESERVER" -p </dev/null >/dev/null 2>&1
  # Kept in a file too: scenarios start machines in subshells.
  echo "$prefix" >>"$QM_WINE_DIR/started-prefixes"
  # services.exe starts here, not inside a test runner whose pipes it would inherit.
  "$QM_WINE" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

wine_env_down() {
  local p
  if [ -f "$QM_WINE_DIR/started-prefixes" ]; then
    while read -r p; do
      # Services started on a prepared machine get no shutdown control from wineserver -k.
      if [ -f "$p/.qm-services" ]; then
        while IFS=$'\t' read -r tool instance; do
          WINEPREFIX="$p" "$QM_WINE" "$tool" stop -n "$instance" >/dev/null 2>&1 || true
        done <"$p/.qm-services"
        rm -f "$p/.qm-services"
      fi
      WINEPREFIX="$p" "$QM_WINESERVER" -k >/dev/null 2>&1 || true
    done <"$QM_WINE_DIR/started-prefixes"
    rm -f "$QM_WINE_DIR/started-prefixes"
  fi
  if [ -n "$QM_XVFB_PID" ]; then
    kill "$QM_XVFB_PID" 2>/dev/null || true
    wait "$QM_XVFB_PID" 2>/dev/null || true
    QM_XVFB_PID=""
  fi
}
