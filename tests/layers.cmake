# The radar module's layers include one way only:
#   project/     the data: includes no other layer
#   processing/  operations on the data: project/ only
#   display/     gains, images, windows: project/ only
#   module/      entry points, dispatch, callbacks: any layer
#   fuzz/        fuzz targets of the files users receive: project/ and processing/
# Fails listing every include that crosses a layer the wrong way; with
# -DSELF_TEST=ON it first proves that it catches such an include.
set(LAYERS project processing display module fuzz)
set(ALLOWED_project project)
set(ALLOWED_processing project processing)
set(ALLOWED_display project display)
set(ALLOWED_module project processing display module)
set(ALLOWED_fuzz project processing)

# Appends to `out` one line per forbidden include of FILE in layer LAYER.
function(check_file layer file out)
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  set(bad "")
  foreach(line IN LISTS lines)
    string(REGEX MATCH "\"([a-z_]+)/" m "${line}")
    if(NOT m)
      continue()
    endif()
    set(target ${CMAKE_MATCH_1})
    list(FIND LAYERS ${target} isLayer)
    list(FIND ALLOWED_${layer} ${target} isAllowed)
    if(isLayer GREATER -1 AND isAllowed EQUAL -1)
      string(STRIP "${line}" line)
      list(APPEND bad "${file}: ${layer}/ may not include ${target}/: ${line}")
    endif()
  endforeach()
  set(${out} ${${out}} ${bad} PARENT_SCOPE)
endfunction()

if(SELF_TEST)
  set(probe ${CMAKE_CURRENT_BINARY_DIR}/layers_probe.h)
  file(WRITE ${probe} "#include \"display/gain.h\"\n#include \"project/profile.h\"\n")
  set(found "")
  check_file(project ${probe} found)
  file(REMOVE ${probe})
  list(LENGTH found n)
  if(NOT n EQUAL 1)
    message(FATAL_ERROR "the layer check missed a project/ file including display/ (${found})")
  endif()
endif()

set(violations "")
foreach(layer IN LISTS LAYERS)
  file(GLOB_RECURSE sources ${RADAR}/${layer}/*.h ${RADAR}/${layer}/*.cpp)
  list(LENGTH sources count)
  if(count EQUAL 0)
    message(FATAL_ERROR "no sources in ${RADAR}/${layer}")
  endif()
  foreach(f IN LISTS sources)
    check_file(${layer} ${f} violations)
  endforeach()
endforeach()
if(violations)
  list(JOIN violations "\n" text)
  message(FATAL_ERROR "includes that cross the radar module's layers the wrong way:\n${text}")
endif()
