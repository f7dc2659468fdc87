# After examples/process-profile.job: every step's version was made from the
# one shown before it and is named for its step and parameters; the
# envelope holds no negative sample; the refused dewow wrote nothing; the
# depth version's background removal made a depth version from D01.
set(dir ${WORK}/Survey)
include(${CMAKE_CURRENT_LIST_DIR}/version_header.cmake)
expect_version(TT02_LINE01.QUV 0 1 "dewow 5 ns")
expect_version(TT03_LINE01.QUV 0 2 "background whole line")
expect_version(TT04_LINE01.QUV 0 3 "band-pass 100-127 MHz order 4")
expect_version(TT05_LINE01.QUV 0 4 "envelope")
expect_version(DD02_LINE01.QUV 1 1 "background 11 traces")
expect_version(TT06_LINE01.QUV 0 1 "envelope")

# The envelope's minimum (at 8) is not negative: the sign bit is clear.
hex4(${dir}/TT05_LINE01.QUV 8 minimum)
string(SUBSTRING "${minimum}" 6 2 top)
math(EXPR sign "0x${top} & 128")
expect_equal("TT05 minimum's sign bit" ${sign} 0)
foreach(f T02 T03 T04 T05)
  file(SIZE ${dir}/${f}_LINE01.QUV size)
  expect_equal("${f}_LINE01.QUV's size" ${size} 20480)   # 40 x 128 x 4
endforeach()
