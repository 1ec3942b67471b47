# The Windows program's icon, version information and manifest; the Qt and MinGW DLLs,
# plugins and Chinese translations it needs beside it; and the two downloads CPack makes of one
# build: a portable zip (words.txt beside the program, so the store goes beside it too) and an
# NSIS installer (words.txt under share\mirvo, the store per user under %LOCALAPPDATA%).
# Components tell them apart: "program" is in both, "portable" and "installed" hold the list.
include(GNUInstallDirs)

set(MIRVO_APP_ID io.github.mirvo.mirvo)
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME program)

set(mirvo_generated ${PROJECT_BINARY_DIR}/packaging)

# Where the DLLs a Windows program of ours loads are: Qt's, and MinGW's C++ and thread runtimes.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
                OUTPUT_VARIABLE mirvo_libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libwinpthread-1.dll
                OUTPUT_VARIABLE mirvo_winpthread OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(mirvo_gcc_dlls ${mirvo_libstdcxx} DIRECTORY)
get_filename_component(mirvo_pthread_dlls ${mirvo_winpthread} REALPATH)
get_filename_component(mirvo_pthread_dlls ${mirvo_pthread_dlls} DIRECTORY)
set(MIRVO_WINDOWS_DLL_FOLDERS ${QT6_INSTALL_PREFIX}/bin ${mirvo_gcc_dlls} ${mirvo_pthread_dlls})
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(MIRVO_ICO ${mirvo_generated}/mirvo.ico)
set(mirvo_icon_images
    ${PROJECT_SOURCE_DIR}/src/widgets/icons/mirvo-16.png ${PROJECT_SOURCE_DIR}/src/widgets/icons/mirvo-32.png
    ${PROJECT_SOURCE_DIR}/packaging/icons/mirvo-48.png ${PROJECT_SOURCE_DIR}/packaging/icons/mirvo-64.png
    ${PROJECT_SOURCE_DIR}/packaging/icons/mirvo-128.png ${PROJECT_SOURCE_DIR}/packaging/icons/mirvo-256.png)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${mirvo_icon_images}
             ${PROJECT_SOURCE_DIR}/tools/make_ico.py)
file(MAKE_DIRECTORY ${mirvo_generated})
execute_process(COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/make_ico.py ${MIRVO_ICO}
                        ${mirvo_icon_images}
                COMMAND_ERROR_IS_FATAL ANY)
set(MIRVO_MANIFEST ${mirvo_generated}/mirvo.manifest)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/mirvo.manifest.in ${MIRVO_MANIFEST} @ONLY)
set(MIRVO_WINDOWS_RC ${mirvo_generated}/mirvo.rc)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/mirvo.rc.in ${MIRVO_WINDOWS_RC} @ONLY)

# Beside the program: the DLLs it loads, found by reading the program's and the plugins'
# imports (objdump), and Qt's plugins and translations below a qt.conf that makes the
# program's folder Qt's prefix.
set(mirvo_qt_prefix ${QT6_INSTALL_PREFIX})
set(mirvo_plugins
    platforms/qwindows.dll styles/qwindowsvistastyle.dll tls/qschannelbackend.dll tls/qcertonlybackend.dll)
set(mirvo_plugin_files)
foreach(plugin IN LISTS mirvo_plugins)
    get_filename_component(folder ${plugin} DIRECTORY)
    install(FILES ${mirvo_qt_prefix}/plugins/${plugin} DESTINATION ${CMAKE_INSTALL_BINDIR}/plugins/${folder})
    list(APPEND mirvo_plugin_files ${mirvo_qt_prefix}/plugins/${plugin})
endforeach()

find_file(MIRVO_QT_ZH_CN qtbase_zh_CN.qm PATHS /usr/share/qt6/translations NO_CMAKE_FIND_ROOT_PATH
          NO_DEFAULT_PATH)
if(NOT MIRVO_QT_ZH_CN)
    message(FATAL_ERROR "qtbase_zh_CN.qm not found: install qt6-translations-l10n")
endif()
install(FILES ${MIRVO_QT_ZH_CN} DESTINATION ${CMAKE_INSTALL_BINDIR}/translations)
file(WRITE ${mirvo_generated}/qt.conf "[Paths]\nPrefix = .\n")
install(FILES ${mirvo_generated}/qt.conf DESTINATION ${CMAKE_INSTALL_BINDIR})

find_program(MIRVO_OBJDUMP NAMES x86_64-w64-mingw32-objdump objdump REQUIRED)
install(CODE "
    set(MIRVO_PROGRAM \"$<TARGET_FILE:mirvo>\")
    set(MIRVO_PLUGINS \"${mirvo_plugin_files}\")
    set(MIRVO_DLL_FOLDERS \"${MIRVO_WINDOWS_DLL_FOLDERS}\")
    set(MIRVO_OBJDUMP \"${MIRVO_OBJDUMP}\")
    set(MIRVO_STRIP \"${CMAKE_STRIP}\")
    set(MIRVO_DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
")
install(SCRIPT ${PROJECT_SOURCE_DIR}/cmake/InstallWindowsRuntime.cmake)

foreach(file IN ITEMS words.txt NOTICE-wordlist.txt)
    install(FILES ${PROJECT_SOURCE_DIR}/data/${file} DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT portable)
    install(FILES ${PROJECT_SOURCE_DIR}/data/${file} DESTINATION ${CMAKE_INSTALL_DATADIR}/mirvo
            COMPONENT installed)
endforeach()

set(CPACK_PACKAGE_NAME mirvo)
set(CPACK_PACKAGE_VENDOR Mirvo)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Mirvo背单词: a vocabulary drill for Chinese-speaking learners of English")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR ZIP NSIS)
# Which components and file name each download takes: cmake/WindowsCPackOptions.cmake.
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/WindowsCPackOptions.cmake)
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Mirvo背单词")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64") # a 64-bit program
set(CPACK_PACKAGE_EXECUTABLES mirvo "Mirvo背单词")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY ${CMAKE_INSTALL_BINDIR})
set(CPACK_NSIS_DISPLAY_NAME "Mirvo背单词")
set(CPACK_NSIS_PACKAGE_NAME "Mirvo背单词")
set(CPACK_NSIS_INSTALLED_ICON_NAME mirvo.exe)
set(CPACK_NSIS_MUI_ICON ${MIRVO_ICO})
set(CPACK_NSIS_MUI_UNIICON ${MIRVO_ICO})
set(CPACK_NSIS_URL_INFO_ABOUT ${MIRVO_SITE})
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# A 64-bit Unicode installer: the Chinese names, and no 32-bit layer needed to run it. CPack
# has no setting for NSIS' Target (its makensis arguments are split at spaces), so its own
# template gets the line, first thing.
file(READ ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in mirvo_nsis_template)
string(REPLACE "!include \"MUI.nsh\"" "Target amd64-unicode\n  !include \"MUI.nsh\"" mirvo_nsis_template
       "${mirvo_nsis_template}")
file(WRITE ${mirvo_generated}/nsis/NSIS.template.in "${mirvo_nsis_template}")
set(CPACK_MODULE_PATH ${mirvo_generated}/nsis)
include(CPack)
