# Tests of a Windows build run under Wine: CMake prefixes each test's command with this
# emulator, a script made here that knows the Qt and MinGW DLLs and the build's Wine prefix.
find_program(MIRVO_WINE NAMES wine wine64 REQUIRED)
get_target_property(mirvo_qt_core Qt6::Core IMPORTED_LOCATION_RELEASE)
if(NOT mirvo_qt_core)
    get_target_property(mirvo_qt_core Qt6::Core LOCATION)
endif()
get_filename_component(mirvo_qt_bin ${mirvo_qt_core} DIRECTORY)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
                OUTPUT_VARIABLE mirvo_libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libwinpthread-1.dll
                OUTPUT_VARIABLE mirvo_winpthread OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(mirvo_gcc_dlls ${mirvo_libstdcxx} DIRECTORY)
get_filename_component(mirvo_pthread_dlls ${mirvo_winpthread} DIRECTORY)
set(MIRVO_WINEPATH "${mirvo_qt_bin};${mirvo_gcc_dlls};${mirvo_pthread_dlls}")
set(MIRVO_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
               @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
               WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
