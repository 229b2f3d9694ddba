# SPDX-License-Identifier: MIT
# kelvane.exe driven under Wine on a virtual display (Xvfb): one program
# whose tests start it on copies of the demo. Alone, since Wine's desktop is
# restarted for its display.
add_executable(kelvane_win32_gui_tests
    app/win32/main_frame_test.cpp
    ui/win32/template_dialog_test.cpp
    test_files.cpp
    test_files_windows.cpp
)
target_include_directories(kelvane_win32_gui_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(kelvane_win32_gui_tests PRIVATE kelvane_win32_front GTest::gtest_main)
target_link_options(kelvane_win32_gui_tests PRIVATE -static)
target_compile_definitions(kelvane_win32_gui_tests PRIVATE
    KELVANE_DEMO_DIR="${PROJECT_SOURCE_DIR}/examples/demo")
add_dependencies(kelvane_win32_gui_tests kelvane kelvane_module_host kelvane_test_crash
    kelvane_sample_converter)
add_test(NAME windows_gui
    COMMAND env WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix WINEDEBUG=-all LC_ALL=C.UTF-8
        sh ${CMAKE_CURRENT_SOURCE_DIR}/app/win32/gui_test.sh ${KELVANE_WINE64}
        $<TARGET_FILE:kelvane_win32_gui_tests>)
set_tests_properties(windows_gui PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77 RUN_SERIAL ON
    LABELS windows FIXTURES_REQUIRED wine_prefix)
