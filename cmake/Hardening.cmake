# Release builds (the package's among them) get the hardening Debian gives its own packages:
# stack protector, _FORTIFY_SOURCE, full RELRO with immediate binding, and a PIE program.
# The flags come from dpkg-buildflags, so they follow the distribution's policy.
option(MIRVO_HARDEN "Release builds: Debian's hardening flags from dpkg-buildflags" ON)

if(NOT MIRVO_HARDEN OR NOT CMAKE_BUILD_TYPE STREQUAL "Release")
    return()
endif()
# These are ELF flags. A Windows program gets Windows' own protections (ASLR with high entropy,
# DEP) from the MinGW linker's defaults.
if(WIN32)
    return()
endif()

find_program(MIRVO_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT MIRVO_DPKG_BUILDFLAGS)
    message(WARNING "dpkg-buildflags not found (package dpkg-dev): Release build without hardening flags")
    return()
endif()

# hardening=+all adds bindnow (-z now) to the default set; the prefix map is taken from the
# source folder, so the paths in the program do not depend on where it was built.
foreach(name CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                ${MIRVO_DPKG_BUILDFLAGS} --get ${name}
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        OUTPUT_VARIABLE mirvo_${name} OUTPUT_STRIP_TRAILING_WHITESPACE
        COMMAND_ERROR_IS_FATAL ANY)
endforeach()

string(APPEND CMAKE_CXX_FLAGS " ${mirvo_CPPFLAGS} ${mirvo_CXXFLAGS}")
string(APPEND CMAKE_EXE_LINKER_FLAGS " ${mirvo_LDFLAGS}")
string(APPEND CMAKE_SHARED_LINKER_FLAGS " ${mirvo_LDFLAGS}")

# PIE whatever the compiler's default.
include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
