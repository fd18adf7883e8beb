# Runs the program with no display: it must print how to start it and exit 1,
# not abort.
execute_process(COMMAND "${CMAKE_COMMAND}" -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
                        --unset=QT_QPA_PLATFORM "${PROGRAM}"
                RESULT_VARIABLE code ERROR_VARIABLE message OUTPUT_VARIABLE output)
if(NOT code STREQUAL "1")
  message(FATAL_ERROR "expected exit code 1, got '${code}'")
endif()
if(NOT message MATCHES "no display found.*xvfb-run")
  message(FATAL_ERROR "unexpected message: ${message}")
endif()
