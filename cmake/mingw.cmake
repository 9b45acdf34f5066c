# Cross-compiles for Windows with mingw-w64 for the processor the including toolchain file sets
# (CMAKE_SYSTEM_PROCESSOR: i686 or x86_64); test programs run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(menu_mingw_triple ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)

# The posix thread model is what GoogleTest's std::mutex needs.
set(CMAKE_C_COMPILER ${menu_mingw_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${menu_mingw_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${menu_mingw_triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${menu_mingw_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR wine)
