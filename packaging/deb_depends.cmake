# SPDX-License-Identifier: MIT
# Run by CPack before it packs (CPACK_PRE_BUILD_SCRIPTS): the Depends of the
# .deb from dpkg-shlibdeps on the staged programs and modules. CPack's own
# run of it (CPACK_DEBIAN_PACKAGE_SHLIBDEPS) also puts ldconfig into postinst
# and postrm for any shared object under usr/lib, which our private folder
# usr/lib/kelvane never needs.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
    return()
endif()

set(stage ${CPACK_TEMPORARY_DIRECTORY})
file(GLOB_RECURSE staged LIST_DIRECTORIES false RELATIVE ${stage} ${stage}/*)
set(elf_files "")
foreach(path IN LISTS staged)
    if(NOT IS_SYMLINK ${stage}/${path})
        file(READ ${stage}/${path} magic LIMIT 4 HEX)
        if(magic STREQUAL "7f454c46")
            list(APPEND elf_files ${path})
        endif()
    endif()
endforeach()
if(NOT elf_files)
    message(FATAL_ERROR "deb_depends: no ELF file under ${stage}")
endif()

# dpkg-shlibdeps wants the layout of a source package around it.
file(WRITE ${stage}/debian/control "")
file(MAKE_DIRECTORY ${stage}/DEBIAN)
execute_process(COMMAND dpkg-shlibdeps --ignore-missing-info -O ${elf_files}
                WORKING_DIRECTORY ${stage}
                OUTPUT_VARIABLE shlibdeps RESULT_VARIABLE result ERROR_VARIABLE errors
                OUTPUT_STRIP_TRAILING_WHITESPACE)
file(REMOVE_RECURSE ${stage}/debian ${stage}/DEBIAN)
if(NOT result EQUAL 0 OR NOT shlibdeps MATCHES "shlibs:Depends=(.+)")
    message(FATAL_ERROR "deb_depends: dpkg-shlibdeps failed: ${errors}")
endif()
# What dpkg-shlibdeps cannot see comes after: the plug-ins Qt loads.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CMAKE_MATCH_1}, ${CPACK_KELVANE_DEB_DEPENDS}")
message(STATUS "deb_depends: Depends: ${CPACK_DEBIAN_PACKAGE_DEPENDS}")
