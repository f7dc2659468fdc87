# After examples/depth-elevation.job: the velocity table as typed and
# imported, one RMS row per trace, the depth version D01 made from T01 with
# its own axis, the elevations of every trace (the two typed, the rest
# interpolated), and the elevation version E01 made from D01, longer by the
# relief and with the depth increment negated.
set(dir ${WORK}/Survey)

include(${CMAKE_CURRENT_LIST_DIR}/file_values.cmake)

file(READ ${dir}/TV_LINE01.QUV tv)
expect_equal("TV_LINE01.QUV" "${tv}" "/ Time Velocity\n20.00 0.100\n60.00 0.120\n100.00 0.150\n")
file(READ ${WORK}/model.vel vel)
expect_equal("model.vel" "${vel}" "/ Time Velocity\n20.00 0.100\n60.00 0.120\n")
file(SIZE ${dir}/VEL_LINE01.QUV size)
expect_equal("VEL_LINE01.QUV's size" ${size} 20484)   # stamp + 40 x 128 x 4

# DD01: 128 samples, first depth 0 (first time 0), made from T01; the depth
# axis ends at the fastest RMS velocity x the last time / 2.
file(SIZE ${dir}/D01_LINE01.QUV size)
expect_equal("D01_LINE01.QUV's size" ${size} 20480)
int4(${dir}/DD01_LINE01.QUV 4 samples)
expect_equal("DD01 samples" ${samples} 128)
hex4(${dir}/DD01_LINE01.QUV 28 z0)
expect_equal("DD01 first depth" ${z0} 00000000)
hex4(${dir}/DD01_LINE01.QUV 32 dz)
int4(${dir}/DD01_LINE01.QUV 44 kind)
int4(${dir}/DD01_LINE01.QUV 48 number)
expect_equal("DD01 source" "${kind}/${number}" "0/1")

# Z_: 3.048 m on the first trace, 6.096 m on the last.
file(SIZE ${dir}/Z_LINE01.QUV size)
expect_equal("Z_LINE01.QUV's size" ${size} 164)
hex4(${dir}/Z_LINE01.QUV 4 first)
hex4(${dir}/Z_LINE01.QUV 160 last)
expect_equal("Z_ first elevation" ${first} 6f124340)   # 3.048f
expect_equal("Z_ last elevation" ${last} 6f12c340)     # 6.096f

# EE01: 128 + trunc(10 ft / dz) samples, first elevation 20 ft - 0, the
# increment -dz (the sign bit of DD01's increment set), made from D01.
int4(${dir}/EE01_LINE01.QUV 4 samples)
expect_equal("EE01 samples" ${samples} 187)
file(SIZE ${dir}/E01_LINE01.QUV size)
math(EXPR want "40 * ${samples} * 4")
expect_equal("E01_LINE01.QUV's size" ${size} ${want})
hex4(${dir}/EE01_LINE01.QUV 32 edz)
expect_equal("EE01 depth increment" ${edz} ${dz})
hex4(${dir}/EE01_LINE01.QUV 36 e0)
expect_equal("EE01 first elevation" ${e0} 0000a041)   # 20.0f
hex4(${dir}/EE01_LINE01.QUV 40 de)
string(SUBSTRING "${dz}" 0 6 low)
string(SUBSTRING "${dz}" 6 2 high)
math(EXPR negated "0x${high} + 128" OUTPUT_FORMAT HEXADECIMAL)
string(SUBSTRING "${negated}" 2 -1 negated)
expect_equal("EE01 elevation increment" ${de} "${low}${negated}")
int4(${dir}/EE01_LINE01.QUV 44 kind)
expect_equal("EE01 source kind" ${kind} 1)
