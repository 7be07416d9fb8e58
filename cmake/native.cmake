# Native tree: unit tests of the portable core (optionally under ASan/UBSan)
# and the benchmarks.
option(QUANTREL_SANITIZE "Build the native tree with ASan and UBSan" OFF)
if(QUANTREL_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
endif()

find_package(GTest REQUIRED)
find_package(Threads REQUIRED)

file(GLOB NATIVE_TESTS CONFIGURE_DEPENDS tests/native/*_test.cpp)
add_executable(native_tests ${NATIVE_TESTS})
target_link_libraries(native_tests PRIVATE quantrel_core GTest::gtest GTest::gtest_main Threads::Threads)
target_compile_definitions(native_tests PRIVATE QUANTREL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
include(GoogleTest)
gtest_discover_tests(native_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)

find_package(benchmark REQUIRED)
add_executable(native_bench EXCLUDE_FROM_ALL bench/calculators_bench.cpp bench/currency_bench.cpp)
target_link_libraries(native_bench PRIVATE quantrel_core benchmark::benchmark benchmark::benchmark_main)

# The Python tools' own tests (the rates publisher, the picture files) and
# the check of the layers.
find_program(PYTHON3 python3)
if(PYTHON3)
    add_test(NAME tools.rates_publisher
             COMMAND ${PYTHON3} -m unittest discover -s ${CMAKE_SOURCE_DIR}/tests/tools -p "*_test.py")
    add_test(NAME tools.pictures
             COMMAND ${PYTHON3} -m unittest discover -s ${CMAKE_SOURCE_DIR}/tools/pictures -p "test_*.py")
    # Every folder includes only its own layer or below.
    add_test(NAME tools.layers COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tools/check_layers.py)
    set_tests_properties(tools.rates_publisher tools.pictures tools.layers PROPERTIES TIMEOUT 120)
endif()
