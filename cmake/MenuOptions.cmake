# menu_options: the language, warning and platform options every target of the project builds
# with. Targets link it privately; nothing sets compile or link flags for a whole folder.
add_library(menu_options INTERFACE)
target_compile_features(menu_options INTERFACE cxx_std_20)
target_compile_options(menu_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Werror)

if(MENU_SANITIZE)
  target_compile_options(menu_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(menu_options INTERFACE -fsanitize=address,undefined)
endif()

if(MENU_FUZZ)
  # Coverage for libFuzzer in every library a fuzz target links; the targets add the driver.
  target_compile_options(menu_options INTERFACE -fsanitize=fuzzer-no-link)
endif()

if(WIN32)
  target_compile_definitions(menu_options INTERFACE
    UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  # Self-contained programs: no libstdc++, libgcc or winpthread DLLs beside them.
  target_link_options(menu_options INTERFACE -static -static-libgcc -static-libstdc++)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # 32-bit Windows promises a stack aligned to 4 bytes only, and GCC realigns it where data needs
    # more: keeping it at 16 bytes for every call costs code and buys nothing.
    target_compile_options(menu_options INTERFACE -mpreferred-stack-boundary=2)
  endif()
  # The menu has one thread; statics guarded against others would bring a thread library along.
  target_compile_options(menu_options INTERFACE -fno-threadsafe-statics)
  # Every object carries the compiler's intermediate form beside its machine code: a program whose
  # MENU_WHOLE_PROGRAM property is set (menu.exe: a seventh smaller) links as one whole program,
  # every other program links the machine code.
  target_compile_options(menu_options INTERFACE -flto -ffat-lto-objects)
  target_link_options(menu_options INTERFACE
    "$<$<NOT:$<BOOL:$<TARGET_PROPERTY:MENU_WHOLE_PROGRAM>>>:-fno-lto>")
endif()
