// The user palette: its initial ramps and the palette text reader (static
// copy; the module's own palette is only touched by the start-up test).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "project/user_palette.h"

namespace {

quv::UserPalette initial() {
  quv::UserPalette p;
  quv::initialPalette(p);
  return p;
}

TEST(UserPalette, StartsAsARedRampDownThenABlueRampUp) {
  quv::UserPalette p = initial();
  EXPECT_EQ(p.red[0], 248);
  EXPECT_EQ(p.red[31], 0);
  EXPECT_EQ(p.blue[32], 0);
  EXPECT_EQ(p.blue[63], 248);
  for (int k = 0; k < 64; ++k) {
    EXPECT_EQ(p.green[k], 0);
    EXPECT_EQ(k < 32 ? p.blue[k] : p.red[k], 0) << k;
    EXPECT_EQ(k < 32 ? p.red[k] : p.blue[k], k < 32 ? 8 * (31 - k) : 8 * (k - 32)) << k;
  }
}

TEST(PaletteText, LinesReplaceEntriesInOrderAndTheRestKeepTheirColours) {
  quv::UserPalette p = initial();
  // Three colour lines (blanks before one, CR LF ends), a comment, empty lines.
  EXPECT_EQ(quv::applyPaletteText(p, "255 0 0\n/ a comment 1 2 3\n\n  4 5 6\r\n   \n7 8 9\n"), 3);
  EXPECT_TRUE(p.red[0] == 255 && p.green[0] == 0 && p.blue[0] == 0);
  EXPECT_TRUE(p.red[1] == 4 && p.green[1] == 5 && p.blue[1] == 6);
  EXPECT_EQ(p.blue[2], 9);
  quv::UserPalette ref = initial();
  for (int k = 3; k < 64; ++k)
    EXPECT_TRUE(p.red[k] == ref.red[k] && p.green[k] == ref.green[k] && p.blue[k] == ref.blue[k]);
}

TEST(PaletteText, LowBytesMissingValuesAndTheSixtyFourLineLimit) {
  quv::UserPalette p = initial();
  quv::applyPaletteText(p, "256 257 -1\n12\nnot numbers\n");
  EXPECT_TRUE(p.red[0] == 0 && p.green[0] == 1 && p.blue[0] == 255);
  EXPECT_TRUE(p.red[1] == 12 && p.green[1] == 0 && p.blue[1] == 0);
  EXPECT_EQ(p.red[2], 0);  // a line that does not parse is a colour of zeros
  std::string text;
  for (int k = 0; k < 100; ++k) text += std::to_string(k) + " 0 0\n";
  EXPECT_EQ(quv::applyPaletteText(p, text), 64);
  EXPECT_EQ(p.red[63], 63);
}

TEST(PaletteFile, MissingFileChangesNothingAndStartUpReadsUserdefPal) {
  quv::UserPalette p = initial();
  EXPECT_FALSE(quv::loadPaletteFile("/nonexistent/x.pal", p));
  EXPECT_EQ(p.red[0], 248);

  auto dir = std::filesystem::temp_directory_path() / "quv_palette_startup";
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "USERDEF.PAL") << "/ saved palette\n10 20 30\n";
  quv::loadUserPalette(dir.string());
  EXPECT_EQ(quv::userPalette().red[0], 10);
  EXPECT_EQ(quv::userPalette().blue[0], 30);
  EXPECT_EQ(quv::userPalette().red[1], 240);
  std::filesystem::remove_all(dir);
  quv::loadUserPalette(dir.string());  // no file: the initial ramps again
  EXPECT_EQ(quv::userPalette().red[0], 248);
}

}  // namespace
