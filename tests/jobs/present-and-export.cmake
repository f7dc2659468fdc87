# After examples/present-and-export.job: the layout saved in millimetres with
# its title, LINE02's page as the bitmap file (1100 x 850 at 100 dpi, byte
# for byte as the export writes it), as a PNG picture (550 x 425 at 50 dpi)
# and printed on a Letter page in landscape; then delvar-cli export of the
# page with that layout, and of a layout file that does not exist, which
# writes nothing. The project's files are the same afterwards.
include(${CMAKE_CURRENT_LIST_DIR}/file_values.cmake)
function(project_hashes out)
  file(GLOB_RECURSE files ${WORK}/Survey/*)
  set(all "")
  foreach(f ${files})
    file(SHA256 ${f} h)
    list(APPEND all "${f}=${h}")
  endforeach()
  set(${out} "${all}" PARENT_SCOPE)
endfunction()

file(READ ${WORK}/report-mm.lay lay)
string(REPLACE "\r" "" lay "${lay}")
foreach(line "units=mm" "width=279.40" "height=215.90" "label_text=Survey Line Report" "trace_x_position=31.75")
  string(FIND "${lay}" "\n${line}\n" at)
  if(at LESS 0)
    message(FATAL_ERROR "report-mm.lay has no line ${line}:\n${lay}")
  endif()
endforeach()

file(SIZE ${WORK}/line02-page.bmp size)
math(EXPR want "1100 * 850 + 1078")
expect_equal("line02-page.bmp's size" ${size} ${want})
hex(${WORK}/line02-page.bmp 0 14 head)
expect_equal("line02-page.bmp's file header" ${head} "424d8e480e000000000036040000")
hex(${WORK}/line02-page.bmp 14 16 info)
expect_equal("line02-page.bmp's bitmap header" ${info} "280000004c0400005203000001000800")
hex(${WORK}/line02-page.png 0 8 sig)
expect_equal("line02-page.png's signature" ${sig} "89504e470d0a1a0a")
hex(${WORK}/line02-page.png 16 8 dims)
expect_equal("line02-page.png's size" ${dims} "00000226000001a9")   # 550 x 425
file(READ ${WORK}/line02-page.pdf doc LIMIT 8)
string(SUBSTRING "${doc}" 0 5 magic)
expect_equal("line02-page.pdf's start" "${magic}" "%PDF-")
file(STRINGS ${WORK}/line02-page.pdf box REGEX "MediaBox")
string(FIND "${box}" "[0 0 792.000000 612.000000]" at)
if(at LESS 0)
  message(FATAL_ERROR "line02-page.pdf is not a Letter page in landscape: ${box}")
endif()

# delvar-cli export of the page with a layout in millimetres: an A4 page.
project_hashes(before)
execute_process(COMMAND ${CLI} export Survey/Survey.orx LINE01 cli-page.png --presentation --layout present-a4.lay --dpi 50
                WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc ERROR_VARIABLE e)
expect_equal("delvar-cli export --layout's exit code (${e})" ${rc} 0)
hex(${WORK}/cli-page.png 16 8 dims)
expect_equal("cli-page.png's size" ${dims} "000002480000019d")   # 11.69 x 8.27 in at 50 dpi: 584 x 413
execute_process(COMMAND ${CLI} export Survey/Survey.orx LINE02 cli-page.bmp --presentation --dpi 100
                WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc ERROR_VARIABLE e)
expect_equal("delvar-cli export --presentation's exit code (${e})" ${rc} 0)
file(SIZE ${WORK}/cli-page.bmp size)
expect_equal("cli-page.bmp's size" ${size} ${want})
execute_process(COMMAND ${CLI} export Survey/Survey.orx LINE01 nolayout.png --layout missing.lay
                WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc ERROR_VARIABLE e)
if(rc EQUAL 0 OR NOT e MATCHES "cannot read the page layout .*missing.lay")
  message(FATAL_ERROR "a missing layout file gave ${rc}: ${e}")
endif()
foreach(f nolayout.png nolayout.png.part cli-page.png.part)
  if(EXISTS ${WORK}/${f})
    message(FATAL_ERROR "${f} was left behind")
  endif()
endforeach()
project_hashes(after)
if(NOT "${before}" STREQUAL "${after}")
  message(FATAL_ERROR "delvar-cli export changed the project's files")
endif()
