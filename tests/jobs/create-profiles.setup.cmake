# Before examples/create-profiles.job: the five field recordings.
include(${CMAKE_CURRENT_LIST_DIR}/field_recordings.cmake)
