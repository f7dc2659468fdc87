# Little-endian values of binary files, for the checks after the jobs.

# Reads LENGTH bytes at OFFSET of FILE as lower-case hex, in file order.
function(hex file offset length out)
  file(READ ${file} h OFFSET ${offset} LIMIT ${length} HEX)
  set(${out} ${h} PARENT_SCOPE)
endfunction()
function(hex4 file offset out)
  hex(${file} ${offset} 4 h)
  set(${out} ${h} PARENT_SCOPE)
endfunction()
# Reads a little-endian int32 at OFFSET of FILE.
function(int4 file offset out)
  hex4(${file} ${offset} h)
  string(REGEX REPLACE "(..)(..)(..)(..)" "\\4\\3\\2\\1" be "${h}")
  math(EXPR v "0x${be}")
  set(${out} ${v} PARENT_SCOPE)
endfunction()
function(expect_equal what got want)
  if(NOT "${got}" STREQUAL "${want}")
    message(FATAL_ERROR "${what} is ${got}, not ${want}")
  endif()
endfunction()
