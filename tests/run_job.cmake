# Runs one job script with delvar-cli in a fresh, empty folder.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/home)
set(ENV{DELVAR_HOME} ${WORK}/home)
set(ENV{HOME} ${WORK}/home)
execute_process(COMMAND ${CLI} --job ${JOB} WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc
                OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "job failed (${rc}):\n${err}")
endif()
if(EXISTS ${CHECK})
  include(${CHECK})
endif()
