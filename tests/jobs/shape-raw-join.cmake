# After examples/shape-raw-join.job: the marker file and its export as
# typed, RS01 with one trace per metre from the first marker on to the last
# raw trace (the markers and the last trace as nodes), and JOINED with both
# lines and the 20 zero traces of the gap between them, on a complex line.
set(dir ${WORK}/Shape)

include(${CMAKE_CURRENT_LIST_DIR}/file_values.cmake)

set(markers "/ Trace# Easting Northing\n1 100.00 200.00\n11 100.00 210.00\n21 100.00 220.00\n")
file(READ ${WORK}/line.mrk mrk)
expect_equal("line.mrk" "${mrk}" "${markers}")
file(READ ${dir}/MRK_DZT_LINE01.QUV saved)
expect_equal("MRK_DZT_LINE01.QUV" "${saved}" "${markers}")

# RS01: 30 traces of 128 samples (29 m up to the last raw trace).
file(SIZE ${dir}/T01_RS01.QUV size)
expect_equal("T01_RS01.QUV's size" ${size} 15360)
# GEO_: stamp, units, 4 nodes at traces 0, 10, 20 and 29.
int4(${dir}/GEO_RS01.QUV 8 nodes)
expect_equal("GEO_RS01 nodes" ${nodes} 4)
foreach(pair "0;0" "1;10" "2;20" "3;29")
  list(GET pair 0 k)
  list(GET pair 1 want)
  math(EXPR at "12 + ${k} * 12")
  int4(${dir}/GEO_RS01.QUV ${at} t)
  expect_equal("GEO_RS01 node ${k}" ${t} ${want})
endforeach()
# XY_: northing 200 on the first trace, 229 on the last.
hex4(${dir}/XY_RS01.QUV 8 n0)
expect_equal("XY_RS01 first northing" ${n0} 00004843)
hex4(${dir}/XY_RS01.QUV 240 n29)
expect_equal("XY_RS01 last northing" ${n29} 00006543)

# JOINED: 30 + 20 + 20 traces; the gap (traces 30 to 49) holds zeros only.
file(SIZE ${dir}/T01_JOINED.QUV size)
expect_equal("T01_JOINED.QUV's size" ${size} 35840)
file(READ ${dir}/T01_JOINED.QUV gap OFFSET 15360 LIMIT 10240 HEX)
string(REGEX REPLACE "0" "" rest "${gap}")
expect_equal("the gap's samples" "${rest}" "")
file(READ ${dir}/T01_JOINED.QUV after OFFSET 25600 LIMIT 512 HEX)
string(REGEX REPLACE "0" "" rest "${after}")
if(rest STREQUAL "")
  message(FATAL_ERROR "JOINED trace 51 (LINE02's first) holds zeros only")
endif()
int4(${dir}/GEO_JOINED.QUV 8 nodes)
expect_equal("GEO_JOINED nodes" ${nodes} 4)
int4(${dir}/GEO_JOINED.QUV 36 t)
expect_equal("GEO_JOINED third node" ${t} 50)
hex4(${dir}/XY_JOINED.QUV 556 e69)
expect_equal("XY_JOINED last easting" ${e69} 00000842)
