# Desktop integration (launcher, icons, AppStream metainfo, documents) and the Debian package.
# The program and its data are installed by src/app.
include(GNUInstallDirs)

# One id names the launcher, the icon and the metainfo, as AppStream requires.
set(MIRVO_APP_ID io.github.mirvo.mirvo)
# The day this version was released; changes with project(VERSION).
set(MIRVO_RELEASE_DATE 2026-12-07)
set(MIRVO_PACKAGE_CONTACT "Mirvo <mirvo@mirvo.example>" CACHE STRING
    "Maintainer of the Debian package: name <address>")

set(mirvo_packaging ${PROJECT_SOURCE_DIR}/packaging)
set(mirvo_generated ${PROJECT_BINARY_DIR}/packaging)

install(FILES ${mirvo_packaging}/${MIRVO_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${mirvo_packaging}/${MIRVO_APP_ID}.metainfo.xml.in
               ${mirvo_generated}/${MIRVO_APP_ID}.metainfo.xml @ONLY)
install(FILES ${mirvo_generated}/${MIRVO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The 16 and 32 px images are the window icon's own; the larger ones are made for menus.
set(mirvo_icon_dir ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
foreach(size 16 32 48 64 128 256)
    if(size LESS 48)
        set(image ${PROJECT_SOURCE_DIR}/src/widgets/icons/mirvo-${size}.png)
    else()
        set(image ${mirvo_packaging}/icons/mirvo-${size}.png)
    endif()
    install(FILES ${image} DESTINATION ${mirvo_icon_dir}/${size}x${size}/apps
            RENAME ${MIRVO_APP_ID}.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/src/widgets/icons/mirvo.svg
        DESTINATION ${mirvo_icon_dir}/scalable/apps RENAME ${MIRVO_APP_ID}.svg)

# The copyright file (Debian's machine-readable format) carries the word list's notice
# verbatim, read at configure time: its origin above the dashed line, its licence below.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/data/NOTICE-wordlist.txt)
file(READ ${PROJECT_SOURCE_DIR}/data/NOTICE-wordlist.txt mirvo_notice)
if(NOT mirvo_notice MATCHES "^(.*)\n-+\n(.*)$")
    message(FATAL_ERROR "data/NOTICE-wordlist.txt: no dashed line between origin and licence")
endif()
set(mirvo_origin ${CMAKE_MATCH_1})
set(mirvo_licence ${CMAKE_MATCH_2})
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" mirvo_match "${mirvo_licence}")
set(MIRVO_WORDLIST_COPYRIGHT ${CMAKE_MATCH_1})
string(SUBSTRING ${MIRVO_RELEASE_DATE} 0 4 MIRVO_RELEASE_YEAR)
# A field's continuation lines start with a space; an empty one is " .".
function(mirvo_continuation text out)
    string(STRIP "${text}" text)
    string(REGEX REPLACE "\n[ \t]*\n" "\n.\n" text "${text}")
    string(REGEX REPLACE "\n[ \t]*\n" "\n.\n" text "${text}") # runs of empty lines
    string(REPLACE "\n" "\n " text " ${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()
mirvo_continuation("${mirvo_origin}" MIRVO_WORDLIST_ORIGIN)
mirvo_continuation("${mirvo_licence}" MIRVO_WORDLIST_LICENCE)
configure_file(${mirvo_packaging}/copyright.in ${mirvo_generated}/copyright @ONLY)
install(FILES ${mirvo_generated}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Debian wants the changelog and manual page compressed, reproducibly (no name or time).
# The package is native (built by upstream), so its changelog is changelog.gz.
find_program(MIRVO_GZIP gzip REQUIRED)
execute_process(COMMAND date -u -R -d ${MIRVO_RELEASE_DATE}
                OUTPUT_VARIABLE MIRVO_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
configure_file(${mirvo_packaging}/changelog.in ${mirvo_generated}/changelog @ONLY)
configure_file(${mirvo_packaging}/mirvo.1.in ${mirvo_generated}/mirvo.1 @ONLY)
set(mirvo_compressed)
foreach(source IN ITEMS ${mirvo_generated}/changelog ${mirvo_generated}/mirvo.1)
    get_filename_component(name ${source} NAME)
    add_custom_command(OUTPUT ${mirvo_generated}/${name}.gz
        COMMAND sh -c "\"$0\" -9nc \"$1\" > \"$2\"" ${MIRVO_GZIP} ${source}
                ${mirvo_generated}/${name}.gz
        DEPENDS ${source} VERBATIM)
    list(APPEND mirvo_compressed ${mirvo_generated}/${name}.gz)
endforeach()
add_custom_target(mirvo_documents ALL DEPENDS ${mirvo_compressed})
install(FILES ${mirvo_generated}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${mirvo_generated}/mirvo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${mirvo_packaging}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME mirvo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mirvo)
set(CPACK_PACKAGE_VENDOR Mirvo)
set(CPACK_PACKAGE_CONTACT ${MIRVO_PACKAGE_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "vocabulary drill for Chinese-speaking learners of English")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Mirvo背单词 shows an English word and four Chinese meanings; the learner"
    "picks the right one. Words answered right can leave the list, so what"
    "remains is what is still to learn. It comes with 3600 CET-4 words and"
    "imports more from plain text files.")
set(CPACK_STRIP_FILES ON)
set(CPACK_MIRVO_OBJCOPY ${CMAKE_OBJCOPY})
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/StripComments.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${MIRVO_SITE})
# Libraries come from dpkg-shlibdeps; a Widgets program also needs a platform plugin, Qt's
# own texts in Chinese (standard buttons, the file dialog), and stand-ins for the window's
# faces (宋体 and Arial are Windows fonts): Noto CJK, or AR PL UMing, a Song face too.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qt6-translations-l10n, fonts-noto-cjk | fonts-arphic-uming, fonts-liberation2")
# The file manager behind the vocabulary command, and a voice for the word (flite needs no
# daemon; without any engine the word is simply not spoken).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "xdg-utils, qt6-speech-flite-plugin | qt6-speech-speechd-plugin")
include(CPack)
