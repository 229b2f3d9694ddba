# SPDX-License-Identifier: MIT
# kelvane-cli.exe run under Wine on real files.
add_test(NAME windows_cli
    COMMAND env WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix
        sh ${CMAKE_CURRENT_SOURCE_DIR}/cli/windows_cli_test.sh ${KELVANE_WINE64}
        $<TARGET_FILE_DIR:kelvane-cli> ${PROJECT_SOURCE_DIR}/examples/demo
        ${CMAKE_CURRENT_BINARY_DIR}/windows_cli)
set_tests_properties(windows_cli PROPERTIES TIMEOUT 300 PASS_REGULAR_EXPRESSION "passed\n$"
    LABELS windows FIXTURES_REQUIRED wine_prefix)
