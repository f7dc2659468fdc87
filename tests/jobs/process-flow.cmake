# After examples/process-flow.job: each step read the version before it and
# is named for itself; the migration of the flow and of the batch read the
# versions they were given; depth came from the migrated version.
set(dir ${WORK}/Flow)
include(${CMAKE_CURRENT_LIST_DIR}/version_header.cmake)
expect_version(TT06_LINE01.QUV 0 5 "time zero 0.2, sample")
expect_version(TT07_LINE01.QUV 0 6 "migrated 0.1 m/ns")
int4(${dir}/DD01_LINE01.QUV 44 k)
int4(${dir}/DD01_LINE01.QUV 48 n)
expect_equal("DD01_LINE01.QUV source" "${k}/${n}" "0/7")
expect_version(TT08_LINE01.QUV 0 1 "migrated 0.1 m/ns")
expect_version(TT02_LINE03.QUV 0 1 "migrated 0.1 m/ns")
