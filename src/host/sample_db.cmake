# cmake -DGEN=<kbtz-gen> -DDB=<file> -P sample_db.cmake
# Writes the sample school to DB unless the file is there already.
if(NOT EXISTS "${DB}")
  message(STATUS "Generating the sample database ${DB}")
  execute_process(COMMAND "${GEN}" --sample "${DB}" RESULT_VARIABLE rc OUTPUT_QUIET)
  if(NOT rc EQUAL 0)
    file(REMOVE "${DB}")
    message(FATAL_ERROR "kbtz-gen --sample failed (${rc})")
  endif()
endif()
