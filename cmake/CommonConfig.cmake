# Flags every Scribvane target shares, gathered in one INTERFACE target instead of
# appending to CMAKE_CXX_FLAGS.
add_library(scribvane_common INTERFACE)
target_compile_features(scribvane_common INTERFACE cxx_std_20)
target_compile_options(scribvane_common INTERFACE
    $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic>)

if(SCRIBVANE_SANITIZE)
    target_compile_options(scribvane_common INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(scribvane_common INTERFACE -fsanitize=address,undefined)
endif()

# Fuzzing builds (clang only): every library is instrumented for coverage; the fuzz targets
# themselves link libFuzzer's driver.
if(SCRIBVANE_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "SCRIBVANE_FUZZ needs clang (CXX=clang++)")
    endif()
    target_compile_options(scribvane_common INTERFACE
        -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
        -fno-sanitize-recover=undefined)
    target_link_options(scribvane_common INTERFACE -fsanitize=address,undefined)
endif()
