# Shared by bench/run and bench/startup; source it after scripts/lib.sh. Defines functions only.

# The Windows build folder the benchmarks use: BENCH_BUILD, or by default the build that runs
# under Wine here (build/windows, or build/windows64 where 32-bit programs cannot start).
bench_build_folder() { echo "${BENCH_BUILD:-$MENU_ROOT/build/$(windows_preset)}"; }

# Builds the Windows programs into that folder: the default one with its preset, any other
# folder configured with the same toolchain and build type.
bench_build() {
  local build toolchain=mingw-i686
  build=$(bench_build_folder)
  runs_32bit_programs || toolchain=mingw-x86_64
  if [ "$build" = "$MENU_ROOT/build/$(windows_preset)" ]; then
    build_windows >/dev/null
  else
    log "building for Windows in $build"
    cmake -S "$MENU_ROOT" -B "$build" --toolchain "$MENU_ROOT/cmake/$toolchain.cmake" \
      -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
    cmake --build "$build" -j 2 >/dev/null
  fi
}

# Starts openbox on DISPLAY, as a desktop a Wine user has, and waits until it has taken the screen
# (it names its check window on the root window), so that no run is timed against a screen still
# without a window manager. Sets OPENBOX_PID.
start_openbox() {
  openbox >/dev/null 2>&1 </dev/null &
  OPENBOX_PID=$!
  local tries=0
  until [[ $(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null) == *"window id"* ]]; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ] || ! kill -0 "$OPENBOX_PID" 2>/dev/null; then
      echo "openbox did not take the screen on $DISPLAY" \
        "($(xdpyinfo >/dev/null 2>&1 && echo the X server answers || echo the X server is gone))" >&2
      return 1
    fi
    sleep 0.1
  done
}

stop_openbox() {
  if [ -n "${OPENBOX_PID:-}" ]; then
    kill "$OPENBOX_PID" 2>/dev/null || true
    wait "$OPENBOX_PID" 2>/dev/null || true
    OPENBOX_PID=
  fi
}

# A 32-bit Wine prefix of its own in folder $1 whose screens have $2 dots per inch, its server
# kept running with its output detached (as start_wine does). Every Wine process reads the scale
# when it starts, the server included: it is stopped once the scale is set and started again.
# Use it with WINEPREFIX=$1/prefix; stop it with stop_prefix.
start_prefix() {
  local prefix=$1/prefix
  mkdir -p "$prefix"
  (
    export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    use_this_machines_wine
    wineserver -p </dev/null >/dev/null 2>&1 || true
    wineboot -i </dev/null >/dev/null 2>&1 || true
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$2" /f \
      </dev/null >/dev/null 2>&1
    wineserver -k </dev/null >/dev/null 2>&1 || true
    timeout 30 wineserver -w </dev/null >/dev/null 2>&1 || true
    wineserver -p </dev/null >/dev/null 2>&1 || true
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  )
}

stop_prefix() {
  (
    export WINEPREFIX=$1/prefix
    wineserver -k >/dev/null 2>&1 || true
    timeout 30 wineserver -w >/dev/null 2>&1 || true
  )
  rm -rf "$1"
}

# Wine's desktop process ends a few seconds after the last program on the desktop has; the next
# program starts it again, in that program's process group (which the timer then ends with it),
# and under a window manager waits up to ten seconds for it. A console program of the prefix in
# WINEPREFIX that waits on a pipe ($1, made here) keeps the desktop up, as on a real desktop,
# until release_desktops.
DESKTOP_HOLDERS=()
DESKTOP_PIPES=()
hold_desktop() {
  mkfifo "$1"
  wine cmd /c pause <"$1" >/dev/null 2>&1 &
  DESKTOP_HOLDERS+=($!)
  local pipe
  exec {pipe}>"$1"
  DESKTOP_PIPES+=("$pipe")
}

# Closes the pipes, so that each waiting program reads their end and ends; stops any that has not.
release_desktops() {
  local pipe pid
  for pipe in "${DESKTOP_PIPES[@]}"; do exec {pipe}>&-; done
  for pid in "${DESKTOP_HOLDERS[@]}"; do
    timeout 10 tail --pid="$pid" -f /dev/null 2>/dev/null || kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  DESKTOP_PIPES=()
  DESKTOP_HOLDERS=()
}
