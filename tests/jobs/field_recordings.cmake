# One synthetic recording of each format (40 traces of 128 samples) in the
# job's folder "field": LINE01.DZT, LINE02.HD (+ .DT1), LINE03.RAD (+ .RD3),
# LINE04.SG2, LINE05.SGY. Included by the set-up scripts of the jobs that
# add them; delvar-synth is built with the Quv tests.
set(SYNTH ${BIN}/delvar-synth)
if(NOT EXISTS ${SYNTH})
  message(FATAL_ERROR "${SYNTH} is missing: build the delvar-synth target (it comes with quv_tests)")
endif()
file(MAKE_DIRECTORY ${WORK}/field)
foreach(rec "DZT;LINE01.DZT" "HD;LINE02.HD" "RAD;LINE03.RAD" "SG2;LINE04.SG2" "SGY;LINE05.SGY")
  list(GET rec 0 format)
  list(GET rec 1 name)
  execute_process(COMMAND ${SYNTH} ${format} ${WORK}/field/${name} 40 128 RESULT_VARIABLE rc
                  ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "delvar-synth ${format} ${name} failed (${rc}): ${err}")
  endif()
endforeach()
