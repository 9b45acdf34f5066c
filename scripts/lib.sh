# Shared by scripts/demo and scripts/test: installs what is missing on Debian 12, and starts and
# stops a private X server and Wine prefix. Source it; it defines functions only.

MENU_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

log() { printf '==> %s\n' "$*" >&2; }

# Installs the build and test tools that are not on the machine yet (needs root and apt-get).
install_missing() {
  local need=()
  command -v cmake >/dev/null || need+=(cmake)
  command -v g++ >/dev/null || need+=(g++)
  command -v make >/dev/null || need+=(make)
  command -v clang++ >/dev/null || need+=(clang)
  [ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
  command -v i686-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-i686-posix)
  command -v i686-w64-mingw32-windres >/dev/null || need+=(binutils-mingw-w64-i686)
  command -v wine >/dev/null || need+=(wine wine64)
  dpkg -s wine32:i386 >/dev/null 2>&1 || need+=(wine32:i386)
  command -v Xvfb >/dev/null || need+=(xvfb)
  command -v xdotool >/dev/null || need+=(xdotool)
  command -v openbox >/dev/null || need+=(openbox)
  command -v xdpyinfo >/dev/null || need+=(x11-utils)
  command -v import >/dev/null || need+=(imagemagick)
  command -v python3 >/dev/null || need+=(python3)
  command -v clang-format >/dev/null || need+=(clang-format)
  if [ ${#need[@]} -gt 0 ]; then
    apt_install "${need[@]}" || return 1
  fi
  # Where Wine's 32-bit side cannot start, the programs it runs are built for 64-bit Windows too.
  if ! runs_32bit_programs && ! command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
    apt_install g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 || return 1
  fi
}

apt_install() {
  log "installing: $*"
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages ($*); run this as root to install them" >&2
    return 1
  fi
  if ! dpkg --print-foreign-architectures | grep -qx i386; then dpkg --add-architecture i386; fi
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" >&2
}

# Builds the Windows programs that run under Wine here (see windows_preset).
build_windows() {
  local preset
  preset=$(windows_preset)
  log "building for Windows ($preset)"
  cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset"
}

# Starts a private Xvfb on a free display, with a screen of 1024x768 or of the size given
# (WIDTHxHEIGHT); sets DISPLAY and XVFB_PID.
start_xvfb() {
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 "${1:-1024x768}x24" -nolisten tcp -wr >/dev/null 2>&1 </dev/null &
  XVFB_PID=$!
  export DISPLAY=":$n"
  local tries=0
  # Ours answers, not another one on the same number that a lock file did not show.
  until kill -0 "$XVFB_PID" 2>/dev/null && xdpyinfo >/dev/null 2>&1; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ] || ! kill -0 "$XVFB_PID" 2>/dev/null; then
      echo "Xvfb did not start on $DISPLAY" >&2
      return 1
    fi
    sleep 0.1
  done
}

stop_xvfb() {
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
  fi
}

# Whether this machine starts 32-bit Linux programs, as 32-bit Wine is: some kernels are built
# with their 32-bit emulation switched off.
runs_32bit_programs() {
  /usr/lib/wine/wine --version >/dev/null 2>&1
}

# The Windows build whose programs run under Wine here: the 32-bit one that goes onto discs, or,
# where 32-bit programs cannot start, the 64-bit build of the same sources.
windows_preset() {
  if runs_32bit_programs; then echo windows; else echo windows64; fi
}

# The Wine of this machine for the prefixes made here: 32-bit, or where 32-bit programs cannot
# start, 64-bit, with `wine` in PATH the 64-bit loader (its two wrappers kept in build/wine64/).
use_this_machines_wine() {
  export WINEARCH=win32
  runs_32bit_programs && return 0
  local bin=$MENU_ROOT/build/wine64 name
  export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
  if [ ! -x "$bin/wine-stable" ]; then
    mkdir -p "$bin"
    for name in wine wine-stable; do
      printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$bin/$name"
      chmod +x "$bin/$name"
    done
  fi
  case ":$PATH:" in *":$bin:"*) ;; *) export PATH="$bin:$PATH" ;; esac
}

# A Wine prefix of our own in a temporary folder, with its server kept running and its output
# detached (Wine's helpers would otherwise hold on to whatever started them).
start_wine() {
  WINE_HOME=$(mktemp -d /tmp/menu-wine.XXXXXX)
  export WINEPREFIX="$WINE_HOME/prefix" WINEDEBUG=-all
  use_this_machines_wine
  export WINEDLLOVERRIDES="mscoree,mshtml="
  mkdir -p "$WINEPREFIX"
  wineserver -p </dev/null >/dev/null 2>&1 || true
  wineboot -i </dev/null >/dev/null 2>&1 || true
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

stop_wine() {
  if [ -n "${WINE_HOME:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
    timeout 30 wineserver -w >/dev/null 2>&1 || true
    rm -rf "$WINE_HOME"
    WINE_HOME=
  fi
}
