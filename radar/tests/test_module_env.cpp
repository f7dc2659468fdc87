// The test environment itself: the framework runs in the sandbox, never in
// the user's real folders.
#include "fixture.h"

#include <unistd.h>

#include "pontra/services.h"

namespace {

TEST(QuvEnvironment, FrameworkRunsInTheSandbox) {
  ASSERT_FALSE(quvtest::sandbox().empty());
  char cwd[4096] = {0};
  ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
  EXPECT_EQ(std::string(cwd), quvtest::sandbox());
  char orx[4096] = {0};
  ::GetORXDir(orx, sizeof orx);
  EXPECT_EQ(std::string(orx), quvtest::sandbox()) << "DELVAR_HOME is the installation folder";
  EXPECT_TRUE(quvtest::exists(quvtest::join(quvtest::sandbox(), "DELVAR.OUT")));
}

}  // namespace
