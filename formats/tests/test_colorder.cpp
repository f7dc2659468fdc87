// The column-order dialog, driven through the headless script as a user
// would fill it.
#include <gtest/gtest.h>

#include "dv/file.h"
#include "dv/headless.h"
#include "scrivel/scrivel.h"

namespace {

std::string tableFile() {
  char t[] = "/tmp/colorder-XXXXXX";
  std::string dir = ::mkdtemp(t);
  std::string p = dir + "/table.cog";
  dv::writeFileAtomic(p, "/ trace easting northing\r\n0 100.0 200.0\r\n10 103 204\r\n20 106 208\r\n"
                         "30 109 212\r\n40 112 216\r\n");
  return p;
}

TEST(ColumnOrder, PresetsValidationAndResult) {
  auto& h = dv::headless();
  h.resetLog();
  std::string p = tableFile();
  int a = -1, b = -1, c = -1;
  // 11 is refused with the warning and the dialog stays open; 3 is taken.
  ASSERT_TRUE(h.addAnswerLine("answer dialog \"Select File Columns \" set 20003 11 press OK set 20003 3 press OK", nullptr));
  EXPECT_EQ(GetColOrder(p.c_str(), 2, "Trace #", "Elevation", "", "", "", &a, &b, &c, nullptr, nullptr), 0);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 3);
  EXPECT_EQ(c, -1);  // only the first count outputs are written
  bool warned = false;
  for (auto& l : h.log())
    if (l.find("\"Warning\": \"Column numbers must be between 1 and 10.\"") != std::string::npos) warned = true;
  EXPECT_TRUE(warned);
}

TEST(ColumnOrder, CancelWritesNothingAndUnreadableFilesStillWork) {
  auto& h = dv::headless();
  int a = -1, b = -1, c = -1;
  ASSERT_TRUE(h.addAnswerLine("answer dialog \"Select File Columns \" set 20002 2 press Cancel", nullptr));
  EXPECT_EQ(GetColOrder("/nonexistent/x.vel", 2, "Time", "Velocity", "", "", "", &a, &b, nullptr,
                        nullptr, nullptr),
            1);
  EXPECT_EQ(a, -1);
  // The columns can be chosen even when the file cannot be shown; text
  // that is not a whole number counts as 0 and is refused.
  ASSERT_TRUE(h.addAnswerLine("answer dialog \"Select File Columns \" set 20004 x press OK set 20004 7 press OK", nullptr));
  EXPECT_EQ(GetColOrder("/nonexistent/x.cog", 3, "Trace", "Easting", "Northing", "", "", &a, &b, &c,
                        nullptr, nullptr),
            0);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(c, 7);
}

}  // namespace
