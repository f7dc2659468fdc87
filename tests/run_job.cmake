# Runs one job script with delvar-cli in a fresh, empty folder.
#   CLI    the delvar-cli program (its folder holds the other programs, e.g. delvar-synth)
#   JOB    the job file; WORK the folder it runs in
#   CHECK  optional script run afterwards: tests/jobs/<name>.cmake (it sees out and err)
#   FAILS  set for a job that must fail
# An optional tests/jobs/<name>.setup.cmake runs before the job, in the
# empty WORK folder, to put the job's input files in place; it sees BIN.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/home)
set(ENV{DELVAR_HOME} ${WORK}/home)
set(ENV{HOME} ${WORK}/home)
get_filename_component(BIN ${CLI} DIRECTORY)
string(REGEX REPLACE "\\.cmake$" ".setup.cmake" SETUP "${CHECK}")
if(EXISTS ${SETUP})
  include(${SETUP})
endif()
execute_process(COMMAND ${CLI} --job ${JOB} WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc
                OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}")
if(FAILS AND rc EQUAL 0)
  message(FATAL_ERROR "the job passed, but should fail:\n${err}")
elseif(NOT FAILS AND NOT rc EQUAL 0)
  message(FATAL_ERROR "job failed (${rc}):\n${err}")
endif()
if(EXISTS ${CHECK})
  include(${CHECK})
endif()
