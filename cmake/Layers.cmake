# The product is built as layers, each a folder under src/ and a static library `mirvo_<folder>`
# that sees only its own headers and those of the layers below it: a lower layer including a
# higher one's header does not compile. A layer's headers are reached through forwarding
# headers generated into a folder of its own, which is the layer's only include directory;
# includes name a header from src/ ("core/store/WordStore.h").

set(MIRVO_LAYERS_DIR ${CMAKE_BINARY_DIR}/layers)
set_property(GLOBAL PROPERTY MIRVO_LAYERS "")

# mirvo_add_layer(folder): the library mirvo_<folder>, built from src/<folder> alone.
function(mirvo_add_layer folder)
    set(target mirvo_${folder})
    add_library(${target} STATIC)
    target_include_directories(${target} PUBLIC ${MIRVO_LAYERS_DIR}/${target})
    mirvo_warnings(${target})
    set_property(GLOBAL APPEND PROPERTY MIRVO_LAYERS ${folder})
endfunction()

# Once every folder has added its sources: checks that each layer's sources lie in its own
# folder, so the tree says which layer a file is in, and writes its forwarding headers.
function(mirvo_expose_layers)
    get_property(folders GLOBAL PROPERTY MIRVO_LAYERS)
    foreach(folder IN LISTS folders)
        set(target mirvo_${folder})
        get_target_property(sources ${target} SOURCES)
        set(own ${PROJECT_SOURCE_DIR}/src/${folder})
        foreach(source IN LISTS sources)
            cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${PROJECT_SOURCE_DIR}/src
                       OUTPUT_VARIABLE path)
            cmake_path(IS_PREFIX own ${path} NORMALIZE inside)
            if(NOT inside)
                message(FATAL_ERROR "${path} is built into ${target} but is not under src/${folder}")
            endif()
            if(source MATCHES "\\.h$")
                cmake_path(RELATIVE_PATH path BASE_DIRECTORY ${PROJECT_SOURCE_DIR}/src
                           OUTPUT_VARIABLE name)
                file(CONFIGURE OUTPUT ${MIRVO_LAYERS_DIR}/${target}/${name}
                     CONTENT "#include \"${path}\"\n" @ONLY)
            endif()
        endforeach()
    endforeach()
endfunction()
