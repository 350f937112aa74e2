# Host build: the platform-free logic under the sanitizers, its tests and benchmarks.
option(NY_SANITIZE "Build the native tests with AddressSanitizer and UndefinedBehaviorSanitizer" ON)
if(NY_SANITIZE)
    set(NY_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_compile_options(nycore PUBLIC ${NY_SANITIZER_FLAGS})
    target_link_options(nycore PUBLIC ${NY_SANITIZER_FLAGS})
endif()

add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

add_subdirectory(tests/native)

find_package(benchmark REQUIRED)
add_subdirectory(bench)

# libFuzzer targets, built with clang in a tree of their own (scripts/fuzz.sh).
option(NY_FUZZ "Build the libFuzzer targets (clang only)" OFF)
if(NY_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "NY_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
    endif()
    target_compile_options(nycore PUBLIC -fsanitize=fuzzer-no-link)
    add_subdirectory(tests/fuzz)
endif()
