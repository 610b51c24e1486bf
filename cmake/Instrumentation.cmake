# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 the Talvensa developers
# Instrumented builds.
#
# TALVENSA_SANITIZE: every target with AddressSanitizer and UndefinedBehaviorSanitizer; the first
# error ends the program (no recovery), so a test that trips one fails.
#
# TALVENSA_FUZZ: the libFuzzer targets of tests/fuzz. Needs clang. Every target is compiled with
# coverage instrumentation (fuzzer-no-link) and the same two sanitizers, so the core library the
# fuzzers link is instrumented too; build only the fuzzers in such a folder
# (`cmake --build <dir> --target fuzzers`).

option(TALVENSA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(TALVENSA_FUZZ "Build the libFuzzer targets in tests/fuzz (clang only)" OFF)

set(TALVENSA_SANITIZER_FLAGS)
if(TALVENSA_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "TALVENSA_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
    endif()
    set(TALVENSA_SANITIZER_FLAGS -fsanitize=fuzzer-no-link,address,undefined)
elseif(TALVENSA_SANITIZE)
    set(TALVENSA_SANITIZER_FLAGS -fsanitize=address,undefined)
endif()

if(TALVENSA_SANITIZER_FLAGS)
    add_compile_options(${TALVENSA_SANITIZER_FLAGS} -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

# Compiled into every program that links the core library: the sanitizers' default options and
# the leak suppressions for the uninstrumented system libraries (tests/sanitize/lsan.supp). Built
# in rather than set through the environment, so that the test listing run at build time and a
# plain `ctest` get them as well.
function(talvensa_add_sanitizer_defaults target)
    if(TALVENSA_SANITIZER_FLAGS)
        set(TALVENSA_LSAN_SUPPRESSIONS ${PROJECT_SOURCE_DIR}/tests/sanitize/lsan.supp)
        configure_file(${PROJECT_SOURCE_DIR}/tests/sanitize/SanitizerOptions.cpp.in
                       ${PROJECT_BINARY_DIR}/SanitizerOptions.cpp @ONLY)
        target_sources(${target} INTERFACE ${PROJECT_BINARY_DIR}/SanitizerOptions.cpp)
    endif()
endfunction()
