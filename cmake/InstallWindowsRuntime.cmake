# Installs the DLLs a Windows program and its plugins load, found by reading their imports
# (objdump), and the DLLs those load in turn. Run at install time with MIRVO_PROGRAM,
# MIRVO_PLUGINS, MIRVO_DLL_FOLDERS, MIRVO_OBJDUMP, MIRVO_DESTINATION and MIRVO_STRIP set.
# CMake gives import names in lower case, and the folders are on a case-sensitive Linux file
# system, so names are matched against the folders' files here, case aside.
set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND "${MIRVO_OBJDUMP}")

set(available)
foreach(folder IN LISTS MIRVO_DLL_FOLDERS)
    file(GLOB dlls "${folder}/*.dll")
    list(APPEND available ${dlls})
endforeach()

set(wanted)
set(readers EXECUTABLES "${MIRVO_PROGRAM}" LIBRARIES ${MIRVO_PLUGINS})
while(readers)
    file(GET_RUNTIME_DEPENDENCIES ${readers}
         PRE_EXCLUDE_REGEXES "^api-ms-" "^ext-ms-"
         RESOLVED_DEPENDENCIES_VAR resolved
         UNRESOLVED_DEPENDENCIES_VAR unresolved)
    set(readers)
    foreach(name IN LISTS resolved unresolved)
        get_filename_component(name "${name}" NAME)
        string(TOLOWER "${name}" name)
        foreach(dll IN LISTS available)
            get_filename_component(file "${dll}" NAME)
            string(TOLOWER "${file}" file)
            list(FIND wanted "${dll}" known)
            if(file STREQUAL name AND known EQUAL -1)
                list(APPEND wanted "${dll}")
                list(APPEND readers "${dll}")
            endif()
        endforeach()
    endforeach()
    if(readers)
        list(PREPEND readers LIBRARIES)
    endif()
endwhile()
# Whatever is not in those folders is Windows' own (kernel32.dll, user32.dll, ...).
set(names)
foreach(dll IN LISTS wanted)
    get_filename_component(name "${dll}" NAME)
    list(APPEND names "${name}")
endforeach()
foreach(expected IN ITEMS Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll Qt6Network.dll libstdc++-6.dll)
    list(FIND names "${expected}" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "${expected} is needed but was not found in ${MIRVO_DLL_FOLDERS}")
    endif()
endforeach()
file(INSTALL ${wanted} DESTINATION "${MIRVO_DESTINATION}")
# MinGW's own DLLs come with their symbols, libstdc++ with 20 MB of them.
if(MIRVO_STRIP)
    foreach(name IN LISTS names)
        execute_process(COMMAND "${MIRVO_STRIP}" --strip-unneeded "${MIRVO_DESTINATION}/${name}" COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
endif()
