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
    cmake --build "$build" --parallel "$(nproc)" >/dev/null
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
