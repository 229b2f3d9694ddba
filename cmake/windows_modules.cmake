# SPDX-License-Identifier: MIT
# Windows conversion modules: the module host and test modules built for
# 32-bit Windows with MinGW, run under Wine. The cross compiler cannot take
# part in this build's own toolchain, so it is called directly.
find_program(KELVANE_MINGW_CXX i686-w64-mingw32-g++)
find_program(KELVANE_MINGW_CC i686-w64-mingw32-gcc)
if(KELVANE_MINGW_CXX AND KELVANE_MINGW_CC)
    set(windows_modules_default ON)
else()
    set(windows_modules_default OFF)
endif()
option(KELVANE_WINDOWS_MODULES "Build the module host for 32-bit Windows modules (MinGW, Wine)"
    ${windows_modules_default})
if(KELVANE_WINDOWS_MODULES AND NOT (KELVANE_MINGW_CXX AND KELVANE_MINGW_CC))
    message(FATAL_ERROR "KELVANE_WINDOWS_MODULES needs i686-w64-mingw32-g++ (g++-mingw-w64-i686)")
endif()

# The 64-bit twins, for a Linux build's 64-bit host under Wine and for
# 64-bit test libraries.
find_program(KELVANE_MINGW64_CXX NAMES x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-g++)
find_program(KELVANE_MINGW64_CC NAMES x86_64-w64-mingw32-gcc-posix x86_64-w64-mingw32-gcc)

# Statically linked, so that Wine needs no MinGW runtime libraries.
set(KELVANE_MINGW_FLAGS -O2 -Wall -Wextra -Wpedantic -static -static-libgcc)


# A 32-bit Windows conversion module from C sources: kelvane_windows_module(
# TARGET OUTPUT_FILE SOURCE [definitions...]).
function(kelvane_windows_module target output source)
    kelvane_windows_library(${target} ${KELVANE_MINGW_CC} ${output} ${source} ${ARGN})
endfunction()

# The same with the compiler given: kelvane_windows_library(TARGET COMPILER
# OUTPUT_FILE SOURCE [definitions...]).
function(kelvane_windows_library target compiler output source)
    add_custom_command(OUTPUT ${output}
        COMMAND ${compiler} -std=c99 ${KELVANE_MINGW_FLAGS} -shared
            -I${PROJECT_SOURCE_DIR}/src ${ARGN} ${source} -o ${output}
        DEPENDS ${source} ${PROJECT_SOURCE_DIR}/src/convert/kelvane_module.h
        COMMENT "Building ${output} for Windows"
        VERBATIM)
    add_custom_target(${target} ALL DEPENDS ${output})
endfunction()
