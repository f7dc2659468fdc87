# After examples/prefs-and-sync.job (the framework saved every item when the
# job ended): the settings file holds the three folders, Other's defaults
# file has no head and Survey's (loaded from it) has one, each raw item took
# the raw defaults in force when it was added, and the records copied by
# Sync Versions and Sync Profiles kept their own vertical axes.

include(${CMAKE_CURRENT_LIST_DIR}/file_values.cmake)

file(READ ${WORK}/home/INI/DELVAR.INI ini)
foreach(pair "raw_data;field" "brennic_import;brennic" "export;export")
  list(GET pair 0 key)
  list(GET pair 1 value)
  string(REGEX MATCH "default_${key}_directory=([^\r\n]*)" line "${ini}")
  expect_equal("default_${key}_directory in DELVAR.INI" "${CMAKE_MATCH_1}" "${value}")
endforeach()

# Other: gain 1 (AGC 10%), palette 1 (Gray Scale), no head. Survey: the
# marker 12345 and version 1.02, then the same two values.
file(READ ${WORK}/Other/DEFAULTS.QUV other HEX)
string(SUBSTRING "${other}" 0 16 head)
expect_equal("the head of Other/DEFAULTS.QUV" "${head}" "0100000001000000")
file(READ ${WORK}/Survey/DEFAULTS.QUV survey HEX)
string(SUBSTRING "${survey}" 0 32 head)
expect_equal("the head of Survey/DEFAULTS.QUV" "${head}" "39300000020100000100000001000000")
string(SUBSTRING "${survey}" 16 -1 rest)
expect_equal("Survey's defaults after the head" "${rest}" "${other}")

# A raw item file ends with gain, palette and number of colours.
foreach(case "LINE01;2;2" "LINE02;1;1")
  list(GET case 0 line)
  list(GET case 1 gain)
  list(GET case 2 palette)
  set(raw ${WORK}/Survey/RAW_${line}.QUV)
  file(SIZE ${raw} end)
  math(EXPR at "${end} - 12")
  int4(${raw} ${at} g)
  math(EXPR at "${end} - 8")
  int4(${raw} ${at} p)
  expect_equal("the raw gain of ${line}" "${g}" "${gain}")
  expect_equal("the raw palette of ${line}" "${p}" "${palette}")
endforeach()

# The normal record of a version header file: after 13 values, the name
# (length and characters) and the six page elements, the visible region;
# then palette, wiggle lines and the vertical axis type are fields 13, 15
# and 28 from the units factor.
function(normal_fields file out)
  int4(${file} 52 len)
  math(EXPR at "56 + ${len}")
  foreach(element RANGE 5)
    math(EXPR at "${at} + 24")
    foreach(text RANGE 3)
      int4(${file} ${at} len)
      math(EXPR at "${at} + 4 + ${len}")
    endforeach()
    math(EXPR at "${at} + 4 + 60 + 4 + 4")
  endforeach()
  math(EXPR at "${at} + 16")
  set(values "")
  foreach(field 13 15 28)
    math(EXPR f "${at} + 4 * ${field}")
    int4(${file} ${f} v)
    list(APPEND values ${v})
  endforeach()
  set(${out} "${values}" PARENT_SCOPE)
endfunction()

# Palette 1 and wiggles from D01 (vertical axis 2, depth) everywhere; the
# time versions keep their time axis (1).
foreach(case "DD01_LINE01;1;1;2" "TT01_LINE01;1;1;1" "TT01_LINE02;1;1;1")
  list(GET case 0 file)
  list(SUBLIST case 1 3 want)
  normal_fields(${WORK}/Survey/${file}.QUV got)
  expect_equal("palette, wiggles and vertical axis of ${file}" "${got}" "${want}")
endforeach()
