# Before examples/present-and-export.job: the A4 layout in millimetres that
# delvar-cli export applies afterwards.
file(COPY ${CMAKE_CURRENT_LIST_DIR}/../../examples/present-layout.lay DESTINATION ${WORK})
file(RENAME ${WORK}/present-layout.lay ${WORK}/present-a4.lay)
