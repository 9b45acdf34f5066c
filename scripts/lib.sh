# Shared by scripts/demo and scripts/test: installs what is missing on Debian 12, and starts and
# stops a private X server and Wine prefix. Source it; it defines functions and sets
# CTEST_PARALLEL_LEVEL.

MENU_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

log() { printf '==> %s\n' "$*" >&2; }

# The presets build with Ninja, which uses every core; ctest runs the host tests one a core too
# (the Windows tests' presets keep theirs at two at a time under Wine).
export CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-$(nproc)}

# What every machine needs, from its own architecture: the host compilers and tests, both
# mingw-w64 toolchains (the 32-bit one builds the discs' programs, the 64-bit one the tests' where
# 32-bit programs cannot run), Wine's 64-bit side, the X server and window manager of the tests,
# the signing tools, and the tools of the disc image and the slow-medium benchmark; libspng for
# skincheck's PNG pictures and Chromium for the tests of its preview page (Node.js and npm, which
# drive it, come with the machine); xcompmgr, the compositing manager under which Wine blends
# half-transparent pixels with the desktop, for the PNG demo's screenshot.
MENU_PACKAGES=(
  cmake ninja-build g++ make clang clang-format googletest python3
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb xdotool openbox x11-utils imagemagick
  osslsigncode openssl xorriso fuseiso fuse3 python3-fusepy
  libspng-dev chromium
  xcompmgr
)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# Installs what is missing (needs root and apt-get). The 64-bit side comes first, then 32-bit
# Wine in a transaction of its own: package mirrors are at times out of step for days (an i386
# index that fails its size check is skipped, and wine32:i386 then cannot match the newer amd64
# libraries), so that transaction is tried again preferring the release's own archive, and where
# it still fails the tests run the 64-bit build, as on a kernel that starts no 32-bit programs.
install_missing() {
  # Once a run: scripts started by scripts/test (or by a test) find everything installed.
  [ -n "${MENU_INSTALLED:-}" ] && return 0
  local need=() package
  for package in "${MENU_PACKAGES[@]}"; do installed "$package" || need+=("$package"); done
  local want32=1
  installed wine32:i386 && want32=0
  # Where the kernel starts no 32-bit programs, 32-bit Wine could not run: it is not tried, which
  # spares each run an update of the package lists and two installs that fail.
  [ $want32 -eq 1 ] && ! kernel_starts_32bit_programs && want32=0
  if [ ${#need[@]} -eq 0 ] && [ $want32 -eq 0 ]; then
    export MENU_INSTALLED=1
    return 0
  fi
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages (${need[*]} wine32:i386); run this as root to install them" >&2
    return 1
  fi
  if [ $want32 -eq 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt_update
  if [ ${#need[@]} -gt 0 ]; then
    log "installing: ${need[*]}"
    apt_get_install "${need[@]}" || return 1
  fi
  [ $want32 -eq 1 ] && install_wine32
  export MENU_INSTALLED=1
  return 0
}

# apt-get update; an index that cannot be fetched is reported, and the install goes on with the
# lists apt has.
apt_update() {
  local out
  if ! out=$(apt-get update -q 2>&1); then
    log "apt-get update reported a problem; going on with the package lists it has:"
    grep -E '^(E|W):' <<<"$out" | sed 's/^/    /' >&2
  fi
}

apt_get_install() {
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$@" >&2
}

install_wine32() {
  log "installing: wine32:i386"
  apt_get_install wine32:i386 && return 0
  local release
  release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  if [ -n "$release" ]; then
    log "wine32:i386 did not resolve; trying again preferring the $release archive"
    apt_get_install -t "$release" wine32:i386 && return 0
  fi
  log "32-bit Wine could not be installed: the tests run the 64-bit build under 64-bit Wine"
  return 0
}

# Builds the Windows programs that run under Wine here (see windows_preset).
build_windows() {
  local preset
  preset=$(windows_preset)
  log "building for Windows ($preset)"
  cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset"
}

# Starts a private Xvfb on a free display, with a screen of 1024x768 or of the size given
# (WIDTHxHEIGHT), and any further arguments given to Xvfb; sets DISPLAY and XVFB_PID.
start_xvfb() {
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 "${1:-1024x768}x24" -nolisten tcp -wr "${@:2}" >/dev/null 2>&1 </dev/null &
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

# Whether the kernel starts 32-bit x86 programs at all, before 32-bit Wine is installed: a program
# of 91 bytes (an ELF header, one segment, and exit(0) through int 0x80) that a kernel without its
# 32-bit emulation refuses. Where it cannot be written, the answer is yes.
kernel_starts_32bit_programs() {
  local probe status
  mkdir -p "$MENU_ROOT/build" 2>/dev/null &&
    probe=$(mktemp "$MENU_ROOT/build/i386-probe.XXXXXX" 2>/dev/null) || return 0
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00'\
'\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00'\
'\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5b\x00\x00\x00'\
'\x5b\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\x31\xdb\x31\xc0\x40\xcd\x80' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null
  status=$?
  rm -f "$probe"
  return "$status"
}

# Whether this machine starts 32-bit Linux programs, as 32-bit Wine is: some kernels are built
# with their 32-bit emulation switched off.
runs_32bit_programs() {
  /usr/lib/wine/wine --version >/dev/null 2>&1
}

# The machine a Windows program is built for, from its PE header: 14c (32-bit x86) or 8664 (x64).
pe_machine() {
  local at
  at=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  printf '%x\n' "0x$(od -An -tx2 -j$((at + 4)) -N2 "$1" | tr -d ' ')"
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

# A Wine prefix for this machine's Wine in folder $1 whose screens have $2 dots per inch (96 when
# not given), its server kept running and its output detached (Wine's helpers would otherwise hold
# on to whatever started them). Every Wine process reads the scale when it starts, the server
# included: for another scale the server is stopped once the scale is set and started again. The
# end-to-end tests make their prefixes at other scales with it too. End it with end_wine_prefix.
make_wine_prefix() {
  (
    export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    use_this_machines_wine
    mkdir -p "$WINEPREFIX"
    wineserver -p </dev/null >/dev/null 2>&1 || true
    wineboot -i </dev/null >/dev/null 2>&1 || true
    if [ "${2:-96}" != 96 ]; then
      wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$2" /f \
        </dev/null >/dev/null 2>&1
      end_wine_prefix "$WINEPREFIX"
      wineserver -p </dev/null >/dev/null 2>&1 || true
    fi
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  )
}

# Ends every Wine process of the prefix in folder $1 and waits for its server to end.
end_wine_prefix() {
  WINEPREFIX=$1 wineserver -k >/dev/null 2>&1 || true
  WINEPREFIX=$1 timeout 30 wineserver -w >/dev/null 2>&1 || true
}

# A Wine prefix of our own in a temporary folder, whose screens have $1 dots per inch (96 when not
# given), for the Wine programs this shell starts: sets WINE_HOME and WINEPREFIX.
start_wine() {
  WINE_HOME=$(mktemp -d /tmp/menu-wine.XXXXXX)
  export WINEPREFIX="$WINE_HOME/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  use_this_machines_wine
  make_wine_prefix "$WINEPREFIX" "${1:-}"
}

stop_wine() {
  if [ -n "${WINE_HOME:-}" ]; then
    end_wine_prefix "$WINEPREFIX"
    rm -rf "$WINE_HOME"
    WINE_HOME=
  fi
}
