# SPDX-License-Identifier: MIT
# Runs PROGRAM with the ;-separated ARGS and fails unless it exits with EXPECTED.
# cmake -DPROGRAM=... -DARGS="a;b" -DEXPECTED=1 -P ExpectExitStatus.cmake
execute_process(COMMAND ${PROGRAM} ${ARGS} RESULT_VARIABLE status OUTPUT_VARIABLE out
                ERROR_VARIABLE err)
if(NOT "${status}" STREQUAL "${EXPECTED}")
  message(FATAL_ERROR "${PROGRAM} exited with ${status}, expected ${EXPECTED}\n${out}\n${err}")
endif()
