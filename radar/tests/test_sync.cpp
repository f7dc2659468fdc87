// The copy groups of synchronisation and the gain-change test, on the
// static copy of the module (records and versions built here).
#include <gtest/gtest.h>

#include "display/sync.h"
#include "project/profile.h"

namespace {

using quv::DisplaySettings;

// A record unlike the defaults in every group.
DisplaySettings tuned() {
  DisplaySettings s;
  s.gainType = 2, s.constantGain = 4.0f, s.paletteType = 1, s.numColours = 16;
  s.wiggleLines = 1, s.wiggleColour = quv::rgb(1, 2, 3);
  s.hAxisType = 0, s.hDecimals = 4, s.hTopValues = 1, s.hideGeometryNodes = 1;
  s.vAxisType = 0, s.vDecimals = 5, s.velocity = 0.2f, s.vLeftValues = 1, s.hideMinorGrid = 0;
  s.firstTrace = 5, s.lastTrace = 500, s.firstSample = 3, s.lastSample = 900;
  s.marginLeft = 1.5f, s.hFontSize = 14.0f, s.legendTexts[0] = "Site A";
  s.elements[quv::kTitle].texts[0] = "Line 7";
  return s;
}

TEST(SyncGroups, DepthTargetKeepsItsVerticalAxisAndRangesStayWithinTheTarget) {
  const DisplaySettings from = tuned();
  DisplaySettings depth;
  depth.vAxisType = 2, depth.vDecimals = 1, depth.velocity = 0.4f, depth.lastSample = 40;
  const int groups = quv::versionSyncGroups(quv::kTimeVersion, quv::kDepthVersion, false, false);
  quv::copySyncGroups(depth, from, groups, 100, 50);
  EXPECT_EQ(depth.gainType, 2);
  EXPECT_EQ(depth.paletteType, 1);
  EXPECT_EQ(depth.wiggleColour, quv::rgb(1, 2, 3));
  EXPECT_EQ(depth.hDecimals, 4);
  EXPECT_EQ(depth.hideGeometryNodes, 1);
  EXPECT_EQ(depth.vAxisType, 2);
  EXPECT_EQ(depth.vDecimals, 1);
  EXPECT_FLOAT_EQ(depth.velocity, 0.4f);
  EXPECT_EQ(depth.vLeftValues, 0);
  EXPECT_EQ(depth.hideMinorGrid, 1);
  // The trace range comes, kept within the target's 100 traces; the sample
  // range belongs to the vertical axis and stays.
  EXPECT_EQ(depth.firstTrace, 5);
  EXPECT_EQ(depth.lastTrace, 99);
  EXPECT_EQ(depth.lastSample, 40);
  EXPECT_FLOAT_EQ(depth.marginLeft, 0.3f) << "no page outside presentation mode";

  // A time target takes the vertical axis and the sample range too.
  DisplaySettings time;
  quv::copySyncGroups(time, from, quv::versionSyncGroups(0, 0, false, false), 100, 50);
  EXPECT_EQ(time.vDecimals, 5);
  EXPECT_EQ(time.firstSample, 3);
  EXPECT_EQ(time.lastSample, 49);

  // The presentation record in presentation mode takes the page and fonts.
  DisplaySettings page;
  quv::copySyncGroups(page, from, quv::versionSyncGroups(0, 1, true, true), 1000, 1000);
  EXPECT_FLOAT_EQ(page.marginLeft, 1.5f);
  EXPECT_FLOAT_EQ(page.hFontSize, 14.0f);
  EXPECT_EQ(page.legendTexts[0], "Site A");
  EXPECT_EQ(page.elements[quv::kTitle].texts[0], "Line 7");
}

TEST(SyncGroups, ProfilesNeverTakeTheVerticalAxisOrThePage) {
  const DisplaySettings from = tuned();
  DisplaySettings normal, presentation;
  quv::copySyncGroups(normal, from, quv::profileSyncGroups(false), 1000, 1000);
  quv::copySyncGroups(presentation, from, quv::profileSyncGroups(true), 1000, 1000);
  for (const DisplaySettings* s : {&normal, &presentation}) {
    EXPECT_EQ(s->gainType, 2);
    EXPECT_EQ(s->hDecimals, 4);
    EXPECT_EQ(s->vDecimals, 2);
    EXPECT_EQ(s->lastSample, 0);
    EXPECT_FLOAT_EQ(s->marginLeft, 0.3f);
    EXPECT_NE(s->legendTexts[0], "Site A");
  }
  EXPECT_EQ(normal.lastTrace, 0) << "the normal record keeps its trace range";
  EXPECT_EQ(presentation.lastTrace, 500);
}

TEST(SyncGain, ByteTracesGoOnlyWhenAGainParameterMovesBeyondTheThreshold) {
  quv::ProfileVersion source, target;
  auto built = [&] {
    target.normalBytes.clear();
    target.normalBytes.emplace_back(new uint8_t[4]);
    target.presentationBytes.clear();
    target.presentationBytes.emplace_back(new uint8_t[4]);
  };
  const quv::SyncRequest normalOnly{true, false, quv::kSyncTraces, 0};

  source.normal.agcWindow = target.normal.agcWindow + 0.000005f;
  built();
  quv::syncVersion(target, source, normalOnly);
  EXPECT_TRUE(target.normalBytes[0]) << "a change within 0.00001 keeps the byte traces";

  source.normal.sphericalA = target.normal.sphericalA + 0.001f;
  source.presentation.sphericalA = 0.5f;
  built();
  EXPECT_TRUE(quv::syncVersion(target, source, normalOnly));
  EXPECT_FALSE(target.normalBytes[0]);
  EXPECT_TRUE(target.presentationBytes[0]) << "only the synchronised display is rebuilt";

  // The palette alone changes the record but not the byte traces.
  source.normal.paletteType = 1;
  built();
  EXPECT_TRUE(quv::syncVersion(target, source, normalOnly));
  EXPECT_TRUE(target.normalBytes[0]);
  EXPECT_FALSE(quv::syncVersion(target, source, normalOnly)) << "nothing left to change";

  DisplaySettings otherType = source.normal;
  otherType.gainType = 0;
  EXPECT_TRUE(quv::gainChanged(source.normal, otherType));
}

}  // namespace
