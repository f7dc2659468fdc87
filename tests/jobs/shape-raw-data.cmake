# After examples/shape-raw-data.job. In Shape: the marker file and its export
# as typed, RS01 with one trace per metre from the first marker on to the
# last raw trace (the markers and the last trace as nodes), and JOINED with
# both lines and the 20 zero traces of the gap between them, on a complex
# line. In Site: each recording rewritten in its own format with the new
# order or time axis, and nothing temporary left.
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

set(S ${WORK}/Site)
function(need_size file bytes)
  file(SIZE ${S}/${file} size)
  expect_equal("${file}'s size" ${size} ${bytes})
endfunction()
function(need_text file text)
  file(STRINGS ${S}/${file} found REGEX "${text}")
  if(NOT found)
    message(FATAL_ERROR "${file} does not hold \"${text}\"")
  endif()
endfunction()

# Reversed A.DZT (16-bit, 128 samples): its first trace is the recording's
# last, after the two marker samples.
need_size(DZT_A.QUV 8704)
file(READ ${S}/DZT_A.QUV first OFFSET 1028 LIMIT 252 HEX)
file(READ ${WORK}/field/A.DZT last OFFSET 8452 LIMIT 252 HEX)
if(NOT first STREQUAL last)
  message(FATAL_ERROR "the first trace of the reversed A.DZT is not the recording's last")
endif()

# Cropped and resampled B.HD: 20 traces of 201 points behind 128-byte trace
# headers, the line ending at its 20th trace at the unchanged step.
need_text(HD_B.QUV "NUMBER OF TRACES += 20 ")
need_text(HD_B.QUV "FINAL POSITION += 0.950000 ")
need_text(HD_B.QUV "NUMBER OF PTS/TRC += 201 ")
need_text(HD_B.QUV "TOTAL TIME WINDOW += 100 ")
need_size(DT1_B.QUV 10600)

# Reordered and resampled C.RAD: 30 traces of 201 samples, the first five zero.
need_text(RAD_C.QUV "SAMPLES:201")
need_text(RAD_C.QUV "FREQUENCY:2000.0")
need_size(RD3_C.QUV 12060)
file(READ ${S}/RD3_C.QUV blank LIMIT 2010 HEX)
string(REGEX REPLACE "0" "" rest "${blank}")
if(NOT rest STREQUAL "")
  message(FATAL_ERROR "the five blank traces of C.RAD hold samples")
endif()
file(READ ${S}/RD3_C.QUV after OFFSET 2010 LIMIT 402 HEX)
string(REGEX REPLACE "0" "" rest "${after}")
if(rest STREQUAL "")
  message(FATAL_ERROR "trace 6 of C.RAD is blank too")
endif()

# SEG-2 at 0.5 ns, SEG-Y with 201 16-bit samples every 500 ps, GSSI with 256.
need_text(SG2_D.QUV "SAMPLE_INTERVAL 5e-10")
need_size(SGY_E.QUV 22860)
need_size(DZT_F.QUV 16384)

file(GLOB litter ${S}/*.part ${S}/*.orig)
if(litter)
  message(FATAL_ERROR "temporary files left: ${litter}")
endif()
