# After examples/export-and-print.job: the bitmap file byte for byte as the
# export writes it (1100 x 850 at 100 dpi), the PNG pictures, the PDF
# pages of the prints; then delvar-cli export of the same project: a PDF
# and a BMP of the profile, and refusals of an unknown profile and version
# that leave no file behind.
include(${CMAKE_CURRENT_LIST_DIR}/file_values.cmake)

file(SIZE ${WORK}/line01.bmp size)
math(EXPR want "1100 * 850 + 1078")
expect_equal("line01.bmp's size" ${size} ${want})
hex(${WORK}/line01.bmp 0 14 head)
# "BM", the size, 0, the pixels at 1078 (0x436).
expect_equal("line01.bmp's file header" ${head} "424d8e480e000000000036040000")
hex(${WORK}/line01.bmp 14 16 info)
# 40, width 1100 (0x44c), height 850 (0x352), 1 plane, 8 bits.
expect_equal("line01.bmp's bitmap header" ${info} "280000004c0400005203000001000800")

foreach(png line01.png raw02.png)
  hex(${WORK}/${png} 0 8 sig)
  expect_equal("${png}'s signature" ${sig} "89504e470d0a1a0a")
endforeach()
hex(${WORK}/line01.png 16 8 dims)
expect_equal("line01.png's size" ${dims} "00000190000000c8")   # 400 x 200
hex(${WORK}/line01.png 24 2 depth)
expect_equal("line01.png's depth and colour type" ${depth} "0803")  # 8 bits, palette
hex(${WORK}/raw02.png 24 2 depth)
expect_equal("raw02.png's depth and colour type" ${depth} "0802")   # 8 bits, RGB

foreach(pdf line01-print selected)
  file(READ ${WORK}/${pdf}.pdf doc LIMIT 8)
  string(SUBSTRING "${doc}" 0 5 magic)
  expect_equal("${pdf}.pdf's start" "${magic}" "%PDF-")
endforeach()
file(STRINGS ${WORK}/selected.pdf boxes REGEX "MediaBox")
list(LENGTH boxes pages)
expect_equal("pages of selected.pdf" ${pages} 2)

# delvar-cli export of the project the job made.
execute_process(COMMAND ${CLI} export Survey/Survey.orx LINE01 cli.pdf --width 8 --height 4 --dpi 150
                WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc OUTPUT_VARIABLE o ERROR_VARIABLE e)
expect_equal("delvar-cli export's exit code (${e})" ${rc} 0)
file(STRINGS ${WORK}/cli.pdf box REGEX "MediaBox")
string(FIND "${box}" "[0 0 576.000000 288.000000]" at)
if(at LESS 0)
  message(FATAL_ERROR "cli.pdf is not 8 x 4 inches: ${box}")
endif()
execute_process(COMMAND ${CLI} export Survey/Survey.orx line01 cli.bmp --version T1 --width 11 --height 8.5 --dpi 100
                WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc ERROR_VARIABLE e)
expect_equal("delvar-cli export T1's exit code (${e})" ${rc} 0)
file(SIZE ${WORK}/cli.bmp size)
expect_equal("cli.bmp's size" ${size} ${want})
execute_process(COMMAND ${CLI} export Survey/Survey.orx NOSUCH nosuch.png
                WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc ERROR_VARIABLE e)
if(rc EQUAL 0 OR NOT e MATCHES "no profile \"NOSUCH\"")
  message(FATAL_ERROR "an unknown profile gave ${rc}: ${e}")
endif()
execute_process(COMMAND ${CLI} export Survey/Survey.orx LINE01 d3.png --version D3
                WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc ERROR_VARIABLE e)
if(rc EQUAL 0 OR NOT e MATCHES "has no version D03")
  message(FATAL_ERROR "an unknown version gave ${rc}: ${e}")
endif()
foreach(f nosuch.png d3.png nosuch.png.part d3.png.part cli.pdf.part)
  if(EXISTS ${WORK}/${f})
    message(FATAL_ERROR "${f} was left behind")
  endif()
endforeach()
