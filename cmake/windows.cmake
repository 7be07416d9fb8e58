# Windows tree: the deliverables, the home-screen host and the tests that run
# under Wine. Everything is built from object libraries so that the test
# executables link exactly the code that ships.
enable_language(RC)
add_compile_definitions(UNICODE _UNICODE __USE_MINGW_ANSI_STDIO=1
    WINVER=0x0601 _WIN32_WINNT=0x0601 _WIN32_IE=0x0600)
add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-Wall> $<$<COMPILE_LANGUAGE:CXX>:-Wextra>)
add_link_options(-static -static-libgcc -static-libstdc++)
include_directories(${CMAKE_SOURCE_DIR})

set(SYSTEM_LIBS comctl32 comdlg32 shell32 user32 gdi32 advapi32 wininet ws2_32)

# The handheld shell services as the desktop presents them.
file(GLOB POCKETPC_SOURCES CONFIGURE_DEPENDS platform/pocketpc/*.cpp)
add_library(pocketpc OBJECT ${POCKETPC_SOURCES})

# What every calculator screen shares, in both deliverables.
add_library(screen_frame OBJECT shell/screen_frame.cpp shell/wide_text.cpp currency/screens/rates_list_view.cpp
    currency/screens/currency_rows.cpp)

# The currency core's file, registry and network side.
file(GLOB CURRENCY_WIN_SOURCES CONFIGURE_DEPENDS currency/core/*_win.cpp)
if(CURRENCY_WIN_SOURCES)
    add_library(currency_win OBJECT ${CURRENCY_WIN_SOURCES})
else()
    add_library(currency_win INTERFACE)
endif()

# The program without its entry point.
file(GLOB APP_SOURCES CONFIGURE_DEPENDS shell/*.cpp currency/screens/*.cpp calculators/*/*_screen.cpp)
list(FILTER APP_SOURCES EXCLUDE REGEX "(shell/(screen_frame|wide_text|quantrel_main)|currency/screens/(rates_list_view|currency_rows))\\.cpp$")
add_library(quantrel_app OBJECT ${APP_SOURCES})

set(QUANTREL_RC ${CMAKE_SOURCE_DIR}/resources/quantrel/Quantrel.rc)
file(GLOB_RECURSE QUANTREL_RC_DEPENDS CONFIGURE_DEPENDS resources/quantrel/*)
set_source_files_properties(${QUANTREL_RC} PROPERTIES OBJECT_DEPENDS "${QUANTREL_RC_DEPENDS}")

add_executable(Quantrel WIN32 shell/quantrel_main.cpp ${QUANTREL_RC})
target_link_libraries(Quantrel PRIVATE quantrel_app screen_frame currency_win pocketpc quantrel_core ${SYSTEM_LIBS})
target_link_options(Quantrel PRIVATE -municode)

# The home-screen plug-in, exported by ordinal only.
file(GLOB ZENTAVO_SOURCES CONFIGURE_DEPENDS todayplugin/*.cpp)
if(ZENTAVO_SOURCES)
    list(FILTER ZENTAVO_SOURCES EXCLUDE REGEX "todayplugin/dll_main\\.cpp$")
    add_library(zentavo_objects OBJECT ${ZENTAVO_SOURCES})
    set(ZENTAVO_RC ${CMAKE_SOURCE_DIR}/resources/zentavo/Zentavo.rc)
    file(GLOB_RECURSE ZENTAVO_RC_DEPENDS CONFIGURE_DEPENDS resources/zentavo/*)
    set_source_files_properties(${ZENTAVO_RC} PROPERTIES OBJECT_DEPENDS "${ZENTAVO_RC_DEPENDS}")
    add_library(Zentavo SHARED todayplugin/dll_main.cpp todayplugin/Zentavo.def ${ZENTAVO_RC})
    set_target_properties(Zentavo PROPERTIES PREFIX "")
    target_link_libraries(Zentavo PRIVATE zentavo_objects screen_frame currency_win pocketpc quantrel_core ${SYSTEM_LIBS})
endif()

# Our stand-in for the handheld's home-screen host.
file(GLOB TODAYHOST_SOURCES CONFIGURE_DEPENDS platform/todayhost/*.cpp platform/todayhost/*.rc)
if(TODAYHOST_SOURCES)
    add_executable(TodayHost WIN32 ${TODAYHOST_SOURCES})
    target_link_libraries(TodayHost PRIVATE pocketpc ${SYSTEM_LIBS})
    target_link_options(TodayHost PRIVATE -municode)
endif()

# Data files live beside the binaries: the data directory is the program's folder.
file(GLOB DATA_FILES CONFIGURE_DEPENDS data/*)
foreach(data_file ${DATA_FILES})
    get_filename_component(data_name ${data_file} NAME)
    configure_file(${data_file} ${CMAKE_BINARY_DIR}/${data_name} COPYONLY)
endforeach()

# Tests under Wine: GoogleTest built from Debian's sources for mingw.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB WIN_SUPPORT_SOURCES CONFIGURE_DEPENDS tests/win/support/*.cpp)
add_library(win_test_support OBJECT ${WIN_SUPPORT_SOURCES})
target_link_libraries(win_test_support PUBLIC gtest)
# Wine sees the Linux file system as drive Z:.
get_filename_component(SCREENSHOT_DIR ${CMAKE_BINARY_DIR}/../screenshots ABSOLUTE)
target_compile_definitions(win_test_support PRIVATE QUANTREL_SCREENSHOTS="Z:${SCREENSHOT_DIR}/"
    QUANTREL_BINARY_DIR="Z:${CMAKE_BINARY_DIR}/")

function(add_wine_test name)
    add_test(NAME win.${name} COMMAND ${name})
    set_tests_properties(win.${name} PROPERTIES TIMEOUT 300)
endfunction()

file(GLOB WIN_TESTS CONFIGURE_DEPENDS tests/win/*_test.cpp)
foreach(test_source ${WIN_TESTS})
    get_filename_component(test_name ${test_source} NAME_WE)
    set(test_rc "")
    if(EXISTS ${CMAKE_SOURCE_DIR}/tests/win/${test_name}.rc)
        set(test_rc ${CMAKE_SOURCE_DIR}/tests/win/${test_name}.rc)
    endif()
    add_executable(${test_name} ${test_source} ${QUANTREL_RC} ${test_rc})
    target_link_libraries(${test_name} PRIVATE win_test_support quantrel_app screen_frame currency_win
        pocketpc quantrel_core gtest gtest_main ${SYSTEM_LIBS})
    add_wine_test(${test_name})
endforeach()

if(ZENTAVO_SOURCES)
    file(GLOB PLUGIN_TESTS CONFIGURE_DEPENDS tests/win/plugin/*_test.cpp)
    foreach(test_source ${PLUGIN_TESTS})
        get_filename_component(test_name ${test_source} NAME_WE)
        add_executable(plugin_${test_name} ${test_source} ${ZENTAVO_RC})
        target_link_libraries(plugin_${test_name} PRIVATE win_test_support zentavo_objects screen_frame
            currency_win pocketpc quantrel_core gtest gtest_main ${SYSTEM_LIBS})
        add_wine_test(plugin_${test_name})
    endforeach()
endif()

# Black-box tests: start the real binaries under Wine and drive them from outside.
file(GLOB E2E_TESTS CONFIGURE_DEPENDS tests/e2e/*_test.cpp)
foreach(test_source ${E2E_TESTS})
    get_filename_component(test_name ${test_source} NAME_WE)
    add_executable(e2e_${test_name} ${test_source})
    target_link_libraries(e2e_${test_name} PRIVATE win_test_support pocketpc currency_win screen_frame quantrel_core
        gtest gtest_main ${SYSTEM_LIBS})
    target_compile_definitions(e2e_${test_name} PRIVATE QUANTREL_BINARY_DIR="Z:${CMAKE_BINARY_DIR}/")
    add_dependencies(e2e_${test_name} Quantrel)
    if(TARGET TodayHost AND TARGET Zentavo)
        add_dependencies(e2e_${test_name} TodayHost Zentavo)
    endif()
    add_wine_test(e2e_${test_name})
endforeach()


# Benchmarks under Wine, run by `make bench` (tools/bench.sh): key releases
# on every screen, the plug-in's answers to the host, and start-up against
# MinimalWindow, a program that only shows one window.
add_executable(MinimalWindow WIN32 bench/win/minimal_window.cpp)
target_link_options(MinimalWindow PRIVATE -municode)
add_executable(screen_bench bench/win/screen_bench.cpp ${QUANTREL_RC})
target_link_libraries(screen_bench PRIVATE win_test_support quantrel_app screen_frame currency_win pocketpc
    quantrel_core ${SYSTEM_LIBS})
add_executable(startup_bench bench/win/startup_bench.cpp)
add_dependencies(startup_bench Quantrel MinimalWindow)
foreach(bench screen_bench startup_bench)
    target_link_options(${bench} PRIVATE -municode)
endforeach()
if(ZENTAVO_SOURCES)
    add_executable(zentavo_bench bench/win/zentavo_bench.cpp ${ZENTAVO_RC})
    target_link_libraries(zentavo_bench PRIVATE win_test_support zentavo_objects screen_frame currency_win pocketpc
        quantrel_core ${SYSTEM_LIBS})
    target_link_options(zentavo_bench PRIVATE -municode)
endif()

# The screen capture used by `make run` without a display.
add_executable(DeviceCapture tools/device_capture.cpp)
target_link_options(DeviceCapture PRIVATE -municode)
target_link_libraries(DeviceCapture PRIVATE pocketpc ${SYSTEM_LIBS})
