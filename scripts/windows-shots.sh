#!/usr/bin/env bash
# The pictures of the Windows programs in docs/, taken under Wine after
# `make windows`:
#
#   export VELQUIOR_WINEPREFIX=$PWD/build-windows/shots-wineprefix
#   xvfb-run -a -s "-screen 0 1280x1024x24" scripts/wine-session scripts/windows-shots.sh
#
# (a prefix of its own, where no earlier installation is remembered).
#
# Each program runs in a Wine desktop of its own, which draws the frames and
# captions as Windows does (with no window manager on the virtual display, X
# would draw none); the desktop is read with xwd and cut to the window.
# Needs xdotool, x11-apps and netpbm (VELQUIOR_WINDOWS=1 scripts/install-deps.sh).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$here/.."
build="${VELQUIOR_WINDOWS_BUILD:-$root/build-windows}"
docs="$root/docs"
version="$(sed -n 's/^project(velquior VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
setup="$root/dist/velquior-$version-setup.exe"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# A Unix path as Wine's Z: drive shows it.
winpath() { echo "Z:${1//\//\\}"; }

desktop_pid=""
# start NAME PROGRAM ARGS...: PROGRAM in a 800x600 Wine desktop called NAME.
start() {
  local name="$1"
  shift
  "$here/wine-run" explorer "/desktop=$name,800x600" "$@" >/dev/null 2>&1 &
  desktop_pid=$!
  xdotool search --sync --name "^$name - " >/dev/null
}

# shoot NAME OUT.png: the desktop NAME as it shows now, cut to what is on it.
shoot() {
  local id
  id="$(xdotool search --name "^$1 - " | head -1)"
  xwd -silent -id "$id" >"$work/shot.xwd"
  xwdtopnm "$work/shot.xwd" 2>/dev/null | pnmcrop 2>/dev/null | pnmtopng -compression 9 >"$2"
  echo "$2"
}

# click NAME X Y: a click at X,Y of the window shown in desktop NAME (Wine
# takes no keys sent to a window, so the pointer does what a user would).
click() {
  local id left top
  id="$(xdotool search --name "^$1 - " | head -1)"
  read -r left _ top _ < <(xwd -silent -id "$id" | xwdtopnm 2>/dev/null | pnmcrop -reportfull 2>/dev/null)
  xdotool mousemove --window "$id" $((-left + $2)) $((-top + $3)) click 1
}

finish() {
  kill "$desktop_pid" 2>/dev/null || true
  wait "$desktop_pid" 2>/dev/null || true
  sleep 1
}

# The window and its caption, with the icon.
start ventana "$(winpath "$build/app/velquior.exe")"
sleep 4
shoot ventana "$docs/window-caption-windows.png"
finish

# The installer: its welcome page, then the folder page with the header
# picture and the bottom line.
start instalador "$(winpath "$setup")"
sleep 4
shoot instalador "$docs/installer-welcome-windows.png"
click instalador 364 359  # Siguiente
sleep 2
shoot instalador "$docs/installer-folder-windows.png"
finish

# The uninstaller's last page, naming a file the user added.
folder="$work/Velquior"
"$here/wine-run" "$setup" /S "/D=$(winpath "$folder")"
echo "mis notas" >"$folder/notas.txt"
start desinstalador "$(winpath "$folder/Uninstall.exe")"
sleep 4
click desinstalador 364 359  # Desinstalar
sleep 4
shoot desinstalador "$docs/uninstaller-finish-windows.png"
finish

# The help, with its Contents and Index tabs.
start ayuda hh.exe "$(winpath "$build/app/SAGA.chm")"
sleep 5
click ayuda 98 89  # the Index tab
sleep 1
shoot ayuda "$docs/help-windows.png"
finish
