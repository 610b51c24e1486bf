# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 the Talvensa developers

# systemd-analyze --user verify on a unit file. It needs a runtime folder of the user's (a test
# may run without a login session) and finds the manual pages that Documentation= names through
# man, here the ones the build made.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/runtime ${WORK}/man/man1)
file(CHMOD ${WORK}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
file(COPY ${MAN_PAGE} DESTINATION ${WORK}/man/man1)
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env XDG_RUNTIME_DIR=${WORK}/runtime MANPATH=${WORK}/man
            ${SYSTEMD_ANALYZE} --user verify ${UNIT}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0 OR NOT "${out}${err}" STREQUAL "")
    message(FATAL_ERROR "systemd-analyze --user verify ${UNIT} (${result}):\n${out}${err}")
endif()
