# Sanitizer and fuzzing builds: the flags apply to every target defined after this file.
option(MIRVO_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(MIRVO_FUZZ "Also build the libFuzzer targets of tests/fuzz (needs clang)" OFF)

if(MIRVO_SANITIZE OR MIRVO_FUZZ)
    # Any report ends the process, so a test or fuzz run cannot pass over one.
    set(mirvo_sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=all
        -fno-omit-frame-pointer)
    add_compile_options(${mirvo_sanitize_flags})
    add_link_options(${mirvo_sanitize_flags})
endif()

if(MIRVO_FUZZ AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    # Coverage feedback from all our code; only the fuzz targets link libFuzzer's main().
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
