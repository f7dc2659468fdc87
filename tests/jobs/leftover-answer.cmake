# After tests/jobs/leftover-answer.job (which fails): the job said which
# answer went unused, the Open/Create question went unscripted, and the
# recording is byte for byte what it was.
foreach(said "leftover-answer.job:8: the answer at line 5 \\(answer file field/LINE01.DZT\\) was not used by the command at line 6 and is dropped"
             "unscripted question: open dialog"
             "the answer at line 7 \\(answer message \"Create Project\\?\" Yes\\) was never used")
  if(NOT err MATCHES "${said}")
    message(FATAL_ERROR "the job did not say: ${said}\n${err}")
  endif()
endforeach()
file(SHA256 ${WORK}/field/LINE01.DZT after)
if(NOT after STREQUAL before)
  message(FATAL_ERROR "field/LINE01.DZT changed")
endif()
if(EXISTS ${WORK}/field/LINE01.orx OR EXISTS ${WORK}/LINE01)
  message(FATAL_ERROR "a project was made from the recording")
endif()
