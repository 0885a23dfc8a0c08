# Runs the checker on one sample record and compares its output and exit code with the expected.
execute_process(COMMAND ${CHECKER} ${RECORD} OUTPUT_VARIABLE output RESULT_VARIABLE code)
file(READ ${EXPECTED} expected)
if(NOT code EQUAL EXIT_CODE)
  message(FATAL_ERROR "exit code ${code}, expected ${EXIT_CODE}\n${output}")
endif()
if(NOT output STREQUAL expected)
  message(FATAL_ERROR "output differs from ${EXPECTED}:\n${output}")
endif()
