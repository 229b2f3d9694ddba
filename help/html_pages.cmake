# SPDX-License-Identifier: MIT
# The help of the Windows program: the pages and popups as they are, in
# help/ beside the program, opened in the user's browser, and topics.txt,
# which maps each context id of kelvane.qhp to its page:
# "<lang>.0x<hex id> <lang>/<page>" per line.
include(${CMAKE_CURRENT_LIST_DIR}/help_sources.cmake)
set(help_output ${KELVANE_PROGRAM_DIR}/help)
set(help_outputs)
foreach(page ${kelvane_help_pages})
    add_custom_command(OUTPUT ${help_output}/${page}
        COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/${page} ${help_output}/${page}
        DEPENDS ${CMAKE_CURRENT_LIST_DIR}/${page} VERBATIM)
    list(APPEND help_outputs ${help_output}/${page})
    get_filename_component(page_folder ${page} DIRECTORY)
    install(FILES ${help_output}/${page} DESTINATION ${KELVANE_INSTALL_DIR}/help/${page_folder})
endforeach()

set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/kelvane.qhp)
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/kelvane.qhp keyword_lines ENCODING UTF-8 REGEX "<keyword [^>]*id=\"")
set(topics "")
foreach(line ${keyword_lines})
    string(REGEX REPLACE ".* id=\"([^\"]+)\".*" "\\1" topic_id "${line}")
    string(REGEX REPLACE ".* ref=\"([^\"]+)\".*" "\\1" topic_page "${line}")
    string(APPEND topics "${topic_id} ${topic_page}\n")
endforeach()
file(GENERATE OUTPUT ${help_output}/topics.txt CONTENT "${topics}")
install(FILES ${help_output}/topics.txt DESTINATION ${KELVANE_INSTALL_DIR}/help)
add_custom_target(kelvane_help_pages ALL DEPENDS ${help_outputs})
