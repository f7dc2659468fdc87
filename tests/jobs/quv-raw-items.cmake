# After examples/quv-raw-items.job (the framework saved every item when the
# job ended): the renamed pulseEKKO item's file holds its new stored names
# and the full extent of its 40 traces of 128 samples, byte for byte.
file(READ ${WORK}/Survey/RAW_NORTH.QUV raw HEX)
set(expect "0201000000000000")                                  # version 1.02, window not open
string(APPEND expect "0d000000" "48445f4e4f5254482e51555600")     # 13, "HD_NORTH.QUV"
string(APPEND expect "0e000000" "4454315f4e4f5254482e51555600")   # 14, "DT1_NORTH.QUV"
string(APPEND expect "01000000" "00000000" "27000000" "00000000" "7f000000")  # window set: 0..39, 0..127
string(APPEND expect "00000000" "00000000" "00000000" "40000000")  # reserved, gain, palette, 64 colours
if(NOT raw STREQUAL expect)
  message(FATAL_ERROR "RAW_NORTH.QUV is\n  ${raw}\nnot\n  ${expect}")
endif()
file(READ ${WORK}/Survey/Survey.orx orx)
foreach(line "\"QUV\",\"Raw Data\",\"\",\"NORTH\",\"NORTH.QUV\",700,0,0"
             "\"QUV\",\"Raw Data\",\"\",\"LINE03.RAD\",\"LINE03.QUV\",700,0,0"
             "\"QUV\",\"Raw Data\",\"\",\"LINE05.SGY\",\"LINE05.QUV\",700,0,0")
  string(FIND "${orx}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "Survey.orx lacks ${line}:\n${orx}")
  endif()
endforeach()
foreach(gone "LINE01" "LINE02" "LINE04")
  string(FIND "${orx}" "${gone}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "Survey.orx still names ${gone}:\n${orx}")
  endif()
endforeach()
if(EXISTS ${WORK}/outside.QUV OR EXISTS ${WORK}/RAW_outside.QUV)
  message(FATAL_ERROR "a refused rename left a file outside the project folder")
endif()
file(READ ${WORK}/DELVAR.OUT log)
foreach(line "Raw Data Added: LINE05.SGY - Completed" "Raw Data Deleted: LINE04.SG2"
             "Raw Data Open: NORTH - Completed")
  string(FIND "${log}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "DELVAR.OUT lacks ${line}")
  endif()
endforeach()
string(FIND "${log}" "Raw Data Added: LINE01.DZT - Completed" first)
string(FIND "${log}" "Raw Data Added: LINE01.DZT" last REVERSE)
if(NOT first EQUAL last)
  message(FATAL_ERROR "LINE01.DZT was added twice")
endif()
