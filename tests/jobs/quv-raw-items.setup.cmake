# Before examples/quv-raw-items.job: the five field recordings.
include(${CMAKE_CURRENT_LIST_DIR}/field_recordings.cmake)
