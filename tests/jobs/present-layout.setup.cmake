# Before examples/present-layout.job: the page layout it loads first.
file(COPY ${CMAKE_CURRENT_LIST_DIR}/../../examples/present-layout.lay DESTINATION ${WORK})
