# Cross-compiles for 32-bit Windows, the program that goes onto discs.
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
