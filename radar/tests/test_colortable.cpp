// Colour tables of the four palette types: the layout of black, white, the
// N palette colours, the twenty system colours and the zeroed rest; the
// logical palette beside it; and the counts beyond 64 colours.
#include <gtest/gtest.h>

#include "display/colortable.h"
#include "project/user_palette.h"

namespace {

using dv::rgb;

dv::ColorTable marked() {
  dv::ColorTable t;
  t.fill(rgb(1, 2, 3));
  return t;
}

// Entries 0, 1 and from N + 2 on, which every palette type writes the same.
void expectFrame(const dv::ColorTable& t, int n) {
  EXPECT_EQ(t[0], rgb(0, 0, 0));
  EXPECT_EQ(t[1], rgb(255, 255, 255));
  for (int i = 0; i < 20; ++i) EXPECT_EQ(t[size_t(n + 2 + i)], quv::kSystemColours[i]) << i;
  EXPECT_EQ(t[size_t(n + 2)], rgb(0, 0, 0));
  EXPECT_EQ(t[size_t(n + 2 + 9)], rgb(166, 202, 240));
  EXPECT_EQ(t[size_t(n + 2 + 10)], rgb(255, 251, 240));
  EXPECT_EQ(t[size_t(n + 21)], rgb(255, 255, 255));
  for (int i = n + 22; i < 256; ++i) ASSERT_EQ(t[size_t(i)], 0u) << i;
}

TEST(ColorTable, GrayScaleOf64ColoursStepsByFour) {
  dv::ColorTable t = marked();
  quv::buildColorTable(quv::kGrayScale, 64, t);
  for (int k = 0; k < 64; ++k) EXPECT_EQ(t[size_t(2 + k)], rgb(4 * k, 4 * k, 4 * k)) << k;
  EXPECT_EQ(t[65], rgb(252, 252, 252));
  expectFrame(t, 64);
}

TEST(ColorTable, RedWhiteBlueOf64ColoursRunsFromRedThroughPaleToBlue) {
  dv::ColorTable t = marked();
  quv::buildColorTable(quv::kRedWhiteBlue, 64, t);
  EXPECT_EQ(t[2], rgb(255, 0, 0));
  EXPECT_EQ(t[65], rgb(0, 0, 255));
  EXPECT_EQ(t[33], rgb(255, 248, 248));  // the two palest, either side of zero
  EXPECT_EQ(t[34], rgb(248, 248, 255));
  for (int k = 0; k < 32; ++k) {
    EXPECT_EQ(t[size_t(2 + k)], rgb(255, 8 * k, 8 * k)) << k;
    EXPECT_EQ(t[size_t(2 + 63 - k)], rgb(8 * k, 8 * k, 255)) << k;
  }
  expectFrame(t, 64);
  // The logical palette beside it: entries 2 to N + 21.
  const std::vector<dv::ColorRef> p = quv::logicalPalette(t, 64);
  ASSERT_EQ(p.size(), 84u);
  EXPECT_EQ(p[0], rgb(255, 0, 0));
  EXPECT_EQ(p[83], quv::kSystemColours[19]);
}

TEST(ColorTable, UserDefinedTakesTheUserPaletteAndNoColorLeavesThePaletteEntries) {
  quv::UserPalette user;
  for (int k = 0; k < 64; ++k) {
    user.red[k] = uint8_t(k);
    user.green[k] = uint8_t(100 + k);
    user.blue[k] = uint8_t(255 - k);
  }
  dv::ColorTable t = marked();
  quv::buildColorTable(quv::kUserDefined, 64, t, &user);
  for (int k = 0; k < 64; ++k) EXPECT_EQ(t[size_t(2 + k)], rgb(k, 100 + k, 255 - k)) << k;
  expectFrame(t, 64);

  // The module's palette when none is given: its initial ramps.
  quv::UserPalette saved = quv::userPalette();
  quv::initialPalette(quv::userPalette());
  quv::buildColorTable(quv::kUserDefined, 64, t);
  EXPECT_EQ(t[2], rgb(248, 0, 0));
  EXPECT_EQ(t[65], rgb(0, 0, 248));
  quv::userPalette() = saved;

  dv::ColorTable none = marked();
  quv::buildColorTable(quv::kNoColor, 64, none);
  for (int k = 0; k < 64; ++k) EXPECT_EQ(none[size_t(2 + k)], rgb(1, 2, 3));
  expectFrame(none, 64);
}

TEST(ColorTable, CountsAbove64RepeatUserColoursAnd256ColoursStopsAtTheLastEntry) {
  quv::UserPalette user;
  for (int k = 0; k < 64; ++k) user.red[k] = user.green[k] = user.blue[k] = uint8_t(k);
  dv::ColorTable t = marked();
  quv::buildColorTable(quv::kUserDefined, 128, t, &user);
  for (int k = 0; k < 128; ++k) EXPECT_EQ(t[size_t(2 + k)], rgb(k / 2, k / 2, k / 2)) << k;
  expectFrame(t, 128);

  // 256 colours: entries 2 to 255 hold the first 254 colours; nothing beyond the table.
  quv::buildColorTable(quv::kGrayScale, 256, t);
  for (int k = 0; k < 254; ++k) EXPECT_EQ(t[size_t(2 + k)], rgb(k, k, k)) << k;
  EXPECT_EQ(quv::logicalPalette(t, 256).size(), 254u);

  // Stored counts that are not a power of two fall to the one below.
  EXPECT_EQ(quv::validColourCount(64), 64);
  EXPECT_EQ(quv::validColourCount(100), 64);
  EXPECT_EQ(quv::validColourCount(0), 8);
  EXPECT_EQ(quv::validColourCount(5000), 256);
  quv::buildColorTable(quv::kGrayScale, 8, t);
  EXPECT_EQ(t[9], rgb(224, 224, 224));
  expectFrame(t, 8);
}

}  // namespace
