# Before tests/jobs/damaged-project.job: the project of create-profiles.job,
# then damaged as a hand edit or a crash would leave it: the first item line
# names module 1 (the format library) instead of 700, and two writes were
# cut short (a profile's samples, a recording's copy).
include(${CMAKE_CURRENT_LIST_DIR}/field_recordings.cmake)
execute_process(COMMAND ${CLI} --job ${CMAKE_CURRENT_LIST_DIR}/../../examples/create-profiles.job
                WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "create-profiles.job failed (${rc}):\n${err}")
endif()
set(orx ${WORK}/Survey/Survey.orx)
file(READ ${orx} text)
string(REPLACE "\"LINE01\",\"LINE01.QUV\",700,1,0" "\"LINE01\",\"LINE01.QUV\",1,1,0" damaged "${text}")
if(damaged STREQUAL text)
  message(FATAL_ERROR "Survey.orx has no LINE01 profile line to damage:\n${text}")
endif()
file(WRITE ${orx} "${damaged}")
file(WRITE ${WORK}/Survey/T01_BIG.QUV.part "cut short")
file(WRITE ${WORK}/Survey/DZT_BIG.QUV.tmp999999999 "cut short")
