# Shared by bench/run and bench/startup; source it after scripts/lib.sh. Defines functions only.

# The Windows build folder the benchmarks use: BENCH_BUILD, or build/windows by default.
bench_build_folder() { echo "${BENCH_BUILD:-$MENU_ROOT/build/windows}"; }

# Builds the Windows programs into that folder: build/windows with the windows preset, any other
# folder configured with the same toolchain and build type.
bench_build() {
  local build
  build=$(bench_build_folder)
  if [ "$build" = "$MENU_ROOT/build/windows" ]; then
    build_windows >/dev/null
  else
    log "building for Windows in $build"
    cmake -S "$MENU_ROOT" -B "$build" --toolchain "$MENU_ROOT/cmake/mingw-i686.cmake" \
      -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
    cmake --build "$build" -j 2 >/dev/null
  fi
}
