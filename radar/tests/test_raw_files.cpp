// The raw item file and the names of raw items: pure functions of the
// static copy (no module state).
#include <gtest/gtest.h>

#include <cstring>

#include "project/raw.h"

namespace {

using namespace quv;

std::string le(int32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[(size_t)i] = (char)(((uint32_t)v >> (8 * i)) & 0xff);
  return s;
}

RawItemFile newDztItem() {
  RawItemFile f;
  f.firstName = "DZT_LINE01.QUV";
  f.secondName = "DZT_LINE01.QUV";
  return f;
}

TEST(RawItemFile, NewItemBytesAreExact) {
  std::string expect = le(258) + le(0) + le(15) + std::string("DZT_LINE01.QUV\0", 15) + le(15) +
                       std::string("DZT_LINE01.QUV\0", 15) + le(0) + le(0) + le(0) + le(0) + le(0) +
                       le(-1) + le(0) + le(0) + le(64);
  EXPECT_EQ(encodeRawItemFile(newDztItem()), expect);
}

TEST(RawItemFile, PlacementFollowsOnlyWhenTheWindowWasOpen) {
  RawItemFile f = newDztItem();
  size_t closed = encodeRawItemFile(f).size();
  f.windowOpen = 1;
  f.placement.showCmd = 2;
  f.placement.left = 10;
  f.placement.bottom = 300;
  std::string bytes = encodeRawItemFile(f);
  ASSERT_EQ(bytes.size(), closed + 44);
  EXPECT_EQ(bytes.substr(closed, 12), le(44) + le(0) + le(2));
  EXPECT_EQ(bytes.substr(closed + 28, 4), le(10));
  EXPECT_EQ(bytes.substr(closed + 40, 4), le(300));
  RawItemFile back;
  ASSERT_TRUE(decodeRawItemFile(bytes, back));
  EXPECT_EQ(back.windowOpen, 1);
  EXPECT_EQ(back.placement.showCmd, 2u);
  EXPECT_EQ(back.placement.left, 10);
  EXPECT_EQ(back.placement.bottom, 300);
}

TEST(RawItemFile, RoundTripKeepsEveryField) {
  RawItemFile f;
  f.stamp = 513;
  f.firstName = "HD_X.QUV";
  f.secondName = "DT1_X.QUV";
  f.windowSet = 1;
  f.firstTrace = 3;
  f.lastTrace = 90;
  f.firstSample = 7;
  f.lastSample = 400;
  f.reserved = 0;
  f.gain = 2;
  f.palette = 1;
  f.colours = 32;
  RawItemFile g;
  ASSERT_TRUE(decodeRawItemFile(encodeRawItemFile(f), g));
  EXPECT_EQ(encodeRawItemFile(g), encodeRawItemFile(f));
  EXPECT_EQ(g.secondName, "DT1_X.QUV");
  EXPECT_EQ(g.lastSample, 400);
  EXPECT_EQ(g.colours, 32);
}

TEST(RawItemFile, EveryTruncationIsRefused) {
  RawItemFile f = newDztItem();
  f.windowOpen = 1;
  std::string bytes = encodeRawItemFile(f);
  for (size_t n = 0; n < bytes.size(); ++n) {
    RawItemFile g;
    g.firstName = "untouched";
    EXPECT_FALSE(decodeRawItemFile(bytes.substr(0, n), g)) << n << " bytes";
    EXPECT_EQ(g.firstName, "untouched") << "a refused file leaves the record as it was";
  }
}

TEST(RawItemFile, HostileNameLengthsAreRefusedWithoutAllocating) {
  // A name length of 2^31 - 1, of -1 and of 0 in a file of a few bytes.
  for (int32_t n : {INT32_MAX, -1, 0, 1000}) {
    std::string bytes = le(258) + le(0) + le(n) + "DZT_A.QUV";
    bytes.resize(64, 'x');
    RawItemFile g;
    EXPECT_FALSE(decodeRawItemFile(bytes, g)) << "length " << n;
  }
}

TEST(RawItemFile, NameWithoutTerminatorStopsAtItsLength) {
  std::string bytes = le(258) + le(0) + le(5) + "ABCDE" + le(3) + std::string("XY\0", 3);
  for (int i = 0; i < 9; ++i) bytes += le(i);
  RawItemFile g;
  ASSERT_TRUE(decodeRawItemFile(bytes, g));
  EXPECT_EQ(g.firstName, "ABCDE");
  EXPECT_EQ(g.secondName, "XY");
  EXPECT_EQ(g.colours, 8);
}

TEST(RawNames, TitleIsUpToTheFirstDot) {
  EXPECT_EQ(recordingTitle("A.B.DZT"), "A");
  EXPECT_EQ(recordingTitle("LINE01.DZT"), "LINE01");
  EXPECT_EQ(upperExtension("a.b.dzt"), "DZT");
  EXPECT_EQ(upperExtension("line.Hd"), "HD");
  EXPECT_EQ(upperExtension("noext"), "");
  EXPECT_EQ(fileNameOf("/data/field/LINE01.DZT"), "LINE01.DZT");
}

TEST(RawNames, BothSeg2PrefixesReadAsSeg2AndOnlyUpperCaseCounts) {
  EXPECT_EQ(formatOfExtension("DAT"), kRawSeg2);
  EXPECT_EQ(formatOfExtension("dzt"), kRawUnreadable) << "the caller compares in upper case";
  EXPECT_EQ(formatOfExtension("DT1"), kRawUnreadable) << "a data file is not a recording";
  EXPECT_EQ(formatOfStoredName("DAT_X.QUV"), kRawSeg2);
  EXPECT_EQ(formatOfStoredName("DT1_X.QUV"), kRawUnreadable);
  EXPECT_EQ(storedPrefix(kRawSeg2), "SG2_") << "a renamed DAT_ item takes the SG2_ prefix";
}

TEST(RawNames, NamesThatWouldBreakTheProjectOrLeaveItsFolderAreNotUsable) {
  EXPECT_TRUE(usableRawName("LINE01.DZT"));
  EXPECT_TRUE(usableRawName("A.B.DZT"));
  EXPECT_FALSE(usableRawName("LINE,1.DZT"));
  EXPECT_FALSE(usableRawName("LINE\"1.DZT"));
  EXPECT_FALSE(usableRawName(" LINE.DZT"));
  EXPECT_FALSE(usableRawName("LINE.DZT "));
  EXPECT_FALSE(usableRawName("LI\nNE.DZT"));
  EXPECT_FALSE(usableRawName("A..DZT"));
}

}  // namespace
