# The product is built as layers, each a static library that sees only its own headers and
# those of the layers below it: a lower layer including a higher one's header does not compile.
# A layer's sources stay in their folders under src/; its headers are reached through
# forwarding headers generated into a folder of its own, which is the layer's only include
# directory.

set(MIRVO_LAYERS_DIR ${CMAKE_BINARY_DIR}/layers)

function(mirvo_add_layer target)
    add_library(${target} STATIC)
    target_include_directories(${target} PUBLIC ${MIRVO_LAYERS_DIR}/${target})
    mirvo_warnings(${target})
endfunction()

# Writes the forwarding headers of a layer once all its folders have added their sources.
function(mirvo_expose_headers target)
    get_target_property(sources ${target} SOURCES)
    foreach(source IN LISTS sources)
        if(NOT source MATCHES "\\.h$")
            continue()
        endif()
        cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${PROJECT_SOURCE_DIR}/src
                   OUTPUT_VARIABLE header)
        cmake_path(RELATIVE_PATH header BASE_DIRECTORY ${PROJECT_SOURCE_DIR}/src
                   OUTPUT_VARIABLE name)
        file(CONFIGURE OUTPUT ${MIRVO_LAYERS_DIR}/${target}/${name}
             CONTENT "#include \"${header}\"\n" @ONLY)
    endforeach()
endfunction()
