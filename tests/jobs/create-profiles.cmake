# After examples/create-profiles.job (the framework saved every profile when
# the job ended): each profile holds its 40 traces of 128 samples, its
# version header, its straight line and the coordinates of every trace, and
# the project file lists it.
set(dir ${WORK}/Survey)
foreach(name LINE01 NORTH LINE03 LINE04 LINE05)
  foreach(pair "T01_;20480" "XY_;324" "GEO_;36" "PRF_;28")   # 40 x 128 x 4; 4 + 40 x 8; 12 + 2 x 12; 7 x 4
    list(GET pair 0 prefix)
    list(GET pair 1 size)
    file(SIZE ${dir}/${prefix}${name}.QUV got)
    if(NOT got EQUAL size)
      message(FATAL_ERROR "${prefix}${name}.QUV holds ${got} bytes, not ${size}")
    endif()
  endforeach()
  file(READ ${dir}/PRF_${name}.QUV prf HEX)
  string(SUBSTRING "${prf}" 0 16 head)
  if(NOT head STREQUAL "0201000028000000")   # version 1.02, 40 traces
    message(FATAL_ERROR "PRF_${name}.QUV begins ${head}")
  endif()
  if(NOT EXISTS ${dir}/TT01_${name}.QUV)
    message(FATAL_ERROR "TT01_${name}.QUV is missing")
  endif()
  file(READ ${WORK}/Survey/Survey.orx orx)
  string(FIND "${orx}" "\"QUV\",\"Profiles\",\"\",\"${name}\",\"${name}.QUV\",700,1,0" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "Survey.orx lacks the profile ${name}:\n${orx}")
  endif()
endforeach()
# The GSSI line ends where its header says: round(40 x 0.05 m) = 2 m east,
# in metres (0.3048 units per foot), nodes at traces 0 and 39.
file(READ ${dir}/GEO_LINE01.QUV geo HEX)
set(expect "02010000" "bf0e9c3e" "02000000" "00000000" "00000000" "00000000"
           "27000000" "00000040" "00000000")
string(REPLACE ";" "" expect "${expect}")
if(NOT geo STREQUAL expect)
  message(FATAL_ERROR "GEO_LINE01.QUV is\n  ${geo}\nnot\n  ${expect}")
endif()
# The RAMAC line's last trace lies at 39 x 0.05 = 1.95 m.
file(READ ${dir}/XY_LINE03.QUV xy HEX OFFSET 316)
if(NOT xy STREQUAL "9a99f93f00000000")
  message(FATAL_ERROR "XY_LINE03.QUV ends with ${xy}")
endif()
