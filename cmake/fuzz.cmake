# Fuzz tree: libFuzzer targets over the portable core, each
# tests/fuzz/<name>_fuzz.cpp, all under ASan and UBSan: one per file reader
# (rates, selections, area codes) and one for every calculator's fields. Needs
# clang (libFuzzer is clang's):
#   cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DQUANTREL_FUZZ=ON
# tests/fuzz/run.sh runs the targets over their seeds in tests/fuzz/corpus/.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "The fuzz tree needs clang++ (libFuzzer): configure it with -DCMAKE_CXX_COMPILER=clang++")
endif()

set(FUZZ_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

# The core is instrumented for coverage, without libFuzzer's main.
target_compile_options(quantrel_core PRIVATE -fsanitize=fuzzer-no-link ${FUZZ_SANITIZERS})

file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS tests/fuzz/*_fuzz.cpp)
set(FUZZ_TARGETS)
foreach(source ${FUZZ_SOURCES})
    get_filename_component(name ${source} NAME_WE)
    add_executable(${name} ${source})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer ${FUZZ_SANITIZERS} -Wall -Wextra)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer ${FUZZ_SANITIZERS})
    target_link_libraries(${name} PRIVATE quantrel_core)
    list(APPEND FUZZ_TARGETS ${name})
endforeach()
message(STATUS "Fuzz targets: ${FUZZ_TARGETS}")
