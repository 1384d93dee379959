# Runs COMMAND (a ;-list) and checks its exit status (a number, or "nonzero") and its standard
# output exactly:  cmake -DCOMMAND=... -DSTATUS=N -DOUTPUT=TEXT -P expect_output.cmake
execute_process(COMMAND ${COMMAND} RESULT_VARIABLE status OUTPUT_VARIABLE output
    ERROR_VARIABLE errors)
if(STATUS STREQUAL "nonzero" AND status EQUAL 0 OR NOT STATUS STREQUAL "nonzero" AND NOT status STREQUAL STATUS)
    message(FATAL_ERROR "exit status ${status}, expected ${STATUS}\nstdout: ${output}\nstderr: ${errors}")
endif()
if(NOT output STREQUAL "${OUTPUT}\n" AND NOT (output STREQUAL "" AND OUTPUT STREQUAL ""))
    message(FATAL_ERROR "stdout:\n${output}\nexpected:\n${OUTPUT}\nstderr: ${errors}")
endif()
