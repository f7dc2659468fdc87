# The checks of a version header file after the processing jobs.
include(${CMAKE_CURRENT_LIST_DIR}/file_values.cmake)

# ${dir}/FILE was made from the version of KIND and NUMBER (at 44 and 48)
# and its name (length at 52, text at 56) begins with NAME.
function(expect_version file kind number name)
  int4(${dir}/${file} 44 k)
  int4(${dir}/${file} 48 n)
  expect_equal("${file} source" "${k}/${n}" "${kind}/${number}")
  string(LENGTH "${name}" length)
  file(READ ${dir}/${file} got OFFSET 56 LIMIT ${length} HEX)
  string(HEX "${name}" want)
  expect_equal("${file} name (hex)" "${got}" "${want}")
endfunction()
