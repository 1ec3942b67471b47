# Tests of a Windows build run under Wine: CMake prefixes each test's command with this
# emulator, a script made here that knows the Qt and MinGW DLLs and the build's Wine prefix.
find_program(MIRVO_WINE NAMES wine wine64 REQUIRED)
# The DLL folders come from cmake/WindowsPackaging.cmake.
set(MIRVO_WINEPATH "${MIRVO_WINDOWS_DLL_FOLDERS}") # a CMake list is WINEPATH's form
set(MIRVO_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
               @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
               WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
