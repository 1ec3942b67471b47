# Run by CPack on the staged files before packing: CPack's strip keeps the compilers'
# .comment section, which dh_strip removes from Debian's own packages.
file(GLOB_RECURSE mirvo_staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(file IN LISTS mirvo_staged)
    if(IS_SYMLINK "${file}")
        continue()
    endif()
    file(READ "${file}" magic LIMIT 4 HEX)
    if(magic STREQUAL "7f454c46") # ELF
        execute_process(COMMAND "${CPACK_MIRVO_OBJCOPY}" --remove-section=.comment "${file}"
                        COMMAND_ERROR_IS_FATAL ANY)
    endif()
endforeach()
