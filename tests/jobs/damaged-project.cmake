# After tests/jobs/damaged-project.job: the bad line is saved as it was read,
# and the raw data window opened last was the active one.
file(READ ${WORK}/Survey/Survey.orx orx)
foreach(line "\"QUV\",\"Profiles\",\"\",\"LINE01\",\"LINE01.QUV\",1,1,0" "0,\"LINE01.DZT\"")
  string(FIND "${orx}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "Survey.orx lacks ${line}:\n${orx}")
  endif()
endforeach()
