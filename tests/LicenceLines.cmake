# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 the Talvensa developers
# Run as cmake -DSOURCE_DIR=... -P LicenceLines.cmake: fails, naming them, when C++ source files
# of the tree (.cpp, .h, and their .in templates) do not start with the licence and copyright
# lines. Build folders inside the tree (build, build-asan, ...) hold generated files and are
# left out.
set(expected "// SPDX-License-Identifier: GPL-3.0-or-later\n// Copyright (C) 2026 the Talvensa developers\n")
string(LENGTH "${expected}" length)
file(GLOB top_folders LIST_DIRECTORIES true RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
set(files)
foreach(folder IN LISTS top_folders)
    if(IS_DIRECTORY ${SOURCE_DIR}/${folder} AND NOT folder MATCHES "^(build|\\.)")
        file(GLOB_RECURSE found RELATIVE ${SOURCE_DIR}
             ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h
             ${SOURCE_DIR}/${folder}/*.cpp.in ${SOURCE_DIR}/${folder}/*.h.in)
        list(APPEND files ${found})
    endif()
endforeach()
list(LENGTH files count)
if(count EQUAL 0)
    message(FATAL_ERROR "no source file found under ${SOURCE_DIR}")
endif()
set(without)
foreach(file IN LISTS files)
    file(READ ${SOURCE_DIR}/${file} head LIMIT ${length})
    if(NOT head STREQUAL expected)
        list(APPEND without ${file})
    endif()
endforeach()
if(without)
    list(JOIN without "\n  " shown)
    message(FATAL_ERROR "without the licence and copyright lines at the top:\n  ${shown}")
endif()
message(STATUS "${count} source files start with the licence and copyright lines")
