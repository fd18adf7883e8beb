if(NOT EXISTS "${SOURCE}")
  message("skipped: ${SOURCE} is missing (see scripts/setup-debian.sh and scripts/fetch-word-data.sh)")
  return()
endif()
# ARGUMENTS: further inputs of the generator, between its source and its output.
execute_process(COMMAND "${GENERATOR}" "${SOURCE}" ${ARGUMENTS} "${OUTPUT}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the generator failed: ${result}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${OUTPUT}" "${EXPECTED}"
                RESULT_VARIABLE differs)
if(differs)
  message(FATAL_ERROR "${EXPECTED} differs from what the generator makes")
endif()
