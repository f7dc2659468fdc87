# Before tests/jobs/leftover-answer.job: the five field recordings, and the
# digest of the one the stray answer names.
include(${CMAKE_CURRENT_LIST_DIR}/field_recordings.cmake)
file(SHA256 ${WORK}/field/LINE01.DZT before)
