# SPDX-License-Identifier: MIT
# kelvane-cli.exe run under Wine on real files.
add_test(NAME windows_cli
    COMMAND env WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix
        sh ${CMAKE_CURRENT_SOURCE_DIR}/cli/windows_cli_test.sh ${KELVANE_WINE64}
        $<TARGET_FILE_DIR:kelvane-cli> ${PROJECT_SOURCE_DIR}/examples/demo
        ${CMAKE_CURRENT_BINARY_DIR}/windows_cli)
set_tests_properties(windows_cli PROPERTIES TIMEOUT 300 PASS_REGULAR_EXPRESSION "passed\n$"
    LABELS windows FIXTURES_REQUIRED wine_prefix)

# The installer made from this build, installed over an older version,
# replaced by a second build and removed with msiexec under Wine. It changes
# the prefix's Program Files and registry while it runs, and checks that the
# removal leaves both as they were: alone.
add_test(NAME windows_msi
    COMMAND env WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix
        sh ${CMAKE_CURRENT_SOURCE_DIR}/package/windows_msi_test.sh ${KELVANE_WINE64}
        ${PROJECT_SOURCE_DIR} ${CMAKE_BINARY_DIR} ${PROJECT_VERSION}
        ${CMAKE_CURRENT_BINARY_DIR}/windows_msi)
set_tests_properties(windows_msi PROPERTIES TIMEOUT 600 PASS_REGULAR_EXPRESSION "passed\n$"
    SKIP_RETURN_CODE 77 RUN_SERIAL ON LABELS windows FIXTURES_REQUIRED wine_prefix)
