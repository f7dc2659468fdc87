# After examples/create-project.job: the project folder holds the project file.
# Its whole content is the version line, with the CR LF it is stored with.
file(READ ${WORK}/Site1/Site1.orx orx HEX)
if(NOT orx STREQUAL "312e30320d0a")
  message(FATAL_ERROR "Site1.orx is not just the version line: ${orx}")
endif()
file(READ ${WORK}/DELVAR.OUT log)
foreach(line "Project Created:" "Project Closed:" "Project Opened:")
  string(FIND "${log}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "DELVAR.OUT lacks ${line}")
  endif()
endforeach()
