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
add_library(pocketpc OBJECT
    platform/pocketpc/device_dialogs.cpp
    platform/pocketpc/device_screen.cpp
    platform/pocketpc/menu_bar.cpp
    platform/pocketpc/programs.cpp
    platform/pocketpc/screen_capture.cpp
    platform/pocketpc/shell_dialogs.cpp
    platform/pocketpc/soft_keyboard.cpp)

# The currency core's file, registry and network side.
add_library(currency_win OBJECT
    currency/core/download_win.cpp
    currency/core/file_io_win.cpp
    currency/core/rates_file_win.cpp
    currency/core/selection_file_win.cpp
    currency/core/today_registration_win.cpp
    currency/core/update_flag_win.cpp)

# What the screens of both deliverables share: the frame, its text helpers,
# and the currency rows and rates list of the currency screens.
add_library(screen_frame OBJECT
    frame/screen_frame.cpp
    frame/wide_text.cpp
    currency/screens/currency_rows.cpp
    currency/screens/rates_list_view.cpp)

# The program without its entry point: its screens and its top.
add_library(quantrel_app OBJECT
    calculators/areacodes/areacodes_screen.cpp
    calculators/computer/computer_screen.cpp
    calculators/date/date_screen.cpp
    calculators/latlon/latlon_screen.cpp
    calculators/loan/loan_screen.cpp
    calculators/metric/metric_screen.cpp
    calculators/tip/tip_screen.cpp
    currency/screens/currency_exchange_screen.cpp
    currency/screens/edit_currency_screen.cpp
    shell/about_box.cpp
    shell/data_directory.cpp
    shell/launcher.cpp
    shell/main_commands.cpp
    shell/main_window.cpp)

# A deliverable's resource script, compiled again when anything in its folder
# changes (dialogs, pictures, headers).
function(resource_script variable folder script)
    file(GLOB_RECURSE depends CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*)
    set_source_files_properties(${CMAKE_SOURCE_DIR}/${folder}/${script} PROPERTIES OBJECT_DEPENDS "${depends}")
    set(${variable} ${CMAKE_SOURCE_DIR}/${folder}/${script} PARENT_SCOPE)
endfunction()

resource_script(QUANTREL_RC resources/quantrel Quantrel.rc)

add_executable(Quantrel WIN32 shell/quantrel_main.cpp ${QUANTREL_RC})
target_link_libraries(Quantrel PRIVATE quantrel_app screen_frame currency_win pocketpc quantrel_core ${SYSTEM_LIBS})
target_link_options(Quantrel PRIVATE -municode)

# The home-screen plug-in, exported by ordinal only.
add_library(zentavo_objects OBJECT
    todayplugin/currency_calculator.cpp
    todayplugin/item_window.cpp
    todayplugin/rates_list.cpp)
resource_script(ZENTAVO_RC resources/zentavo Zentavo.rc)
add_library(Zentavo SHARED todayplugin/dll_main.cpp todayplugin/Zentavo.def ${ZENTAVO_RC})
set_target_properties(Zentavo PROPERTIES PREFIX "")
target_link_libraries(Zentavo PRIVATE zentavo_objects screen_frame currency_win pocketpc quantrel_core ${SYSTEM_LIBS})

# Our stand-in for the handheld's home-screen host.
add_executable(TodayHost WIN32
    platform/todayhost/host_items.cpp
    platform/todayhost/host_main.cpp
    platform/todayhost/host_screen.cpp
    platform/todayhost/TodayHost.rc)
target_link_libraries(TodayHost PRIVATE pocketpc ${SYSTEM_LIBS})
target_link_options(TodayHost PRIVATE -municode)

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
target_compile_definitions(win_test_support PRIVATE QUANTREL_SCREENSHOTS="Z:${SCREENSHOT_DIR}/")

function(add_wine_test name)
    add_test(NAME win.${name} COMMAND ${name})
    set_tests_properties(win.${name} PROPERTIES TIMEOUT 300)
endfunction()

# One test program per deliverable, and one for the black-box tests that
# start the real binaries under Wine and drive them from outside.
file(GLOB PROGRAM_TESTS CONFIGURE_DEPENDS tests/win/*_test.cpp)
add_executable(program_tests ${PROGRAM_TESTS} ${QUANTREL_RC})
target_link_libraries(program_tests PRIVATE win_test_support quantrel_app screen_frame currency_win
    pocketpc quantrel_core gtest gtest_main ${SYSTEM_LIBS})
add_wine_test(program_tests)

file(GLOB PLUGIN_TESTS CONFIGURE_DEPENDS tests/win/plugin/*_test.cpp)
add_executable(plugin_tests ${PLUGIN_TESTS} ${ZENTAVO_RC})
target_link_libraries(plugin_tests PRIVATE win_test_support zentavo_objects screen_frame
    currency_win pocketpc quantrel_core gtest gtest_main ${SYSTEM_LIBS})
add_wine_test(plugin_tests)

file(GLOB E2E_TESTS CONFIGURE_DEPENDS tests/e2e/*_test.cpp)
add_executable(e2e_tests ${E2E_TESTS})
target_link_libraries(e2e_tests PRIVATE win_test_support pocketpc currency_win screen_frame quantrel_core
    gtest gtest_main ${SYSTEM_LIBS})
target_compile_definitions(e2e_tests PRIVATE QUANTREL_BINARY_DIR="Z:${CMAKE_BINARY_DIR}/")
add_dependencies(e2e_tests Quantrel TodayHost Zentavo)
add_wine_test(e2e_tests)


# Benchmarks under Wine, built and run by `make bench` (tools/bench.sh): key releases
# on every screen, the plug-in's answers to the host, and start-up against
# MinimalWindow, a program that only shows one window.
add_executable(MinimalWindow WIN32 EXCLUDE_FROM_ALL bench/win/minimal_window.cpp)
target_link_options(MinimalWindow PRIVATE -municode)
add_executable(screen_bench EXCLUDE_FROM_ALL bench/win/screen_bench.cpp ${QUANTREL_RC})
target_link_libraries(screen_bench PRIVATE win_test_support quantrel_app screen_frame currency_win pocketpc
    quantrel_core ${SYSTEM_LIBS})
add_executable(startup_bench EXCLUDE_FROM_ALL bench/win/startup_bench.cpp)
add_dependencies(startup_bench Quantrel MinimalWindow)
foreach(bench screen_bench startup_bench)
    target_link_options(${bench} PRIVATE -municode)
endforeach()
add_executable(zentavo_bench EXCLUDE_FROM_ALL bench/win/zentavo_bench.cpp ${ZENTAVO_RC})
target_link_libraries(zentavo_bench PRIVATE win_test_support zentavo_objects screen_frame currency_win pocketpc
    quantrel_core ${SYSTEM_LIBS})
target_link_options(zentavo_bench PRIVATE -municode)

# The screen capture used by `make run` without a display.
add_executable(DeviceCapture tools/device_capture.cpp)
target_link_options(DeviceCapture PRIVATE -municode)
target_link_libraries(DeviceCapture PRIVATE pocketpc ${SYSTEM_LIBS})
