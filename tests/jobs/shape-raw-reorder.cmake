# After examples/shape-raw-reorder.job: each recording is rewritten in its own
# format with the new order or time axis, and nothing temporary is left.
set(S ${WORK}/Site)
function(need_size file bytes)
  file(SIZE ${S}/${file} size)
  if(NOT size EQUAL ${bytes})
    message(FATAL_ERROR "${file} holds ${size} bytes, not ${bytes}")
  endif()
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
