// Create Profile rules through the STATIC copy (pure functions only): names,
// the name check, RAMAC DC removal, the straight line each format's header
// gives, and the display settings that follow the geometry.
#include <cmath>
#include <cstring>

#include "project/display_settings.h"
#include "fixture.h"
#include "processing/create_profile.h"
#include "project/defaults_file.h"
#include "project/profile.h"
#include "scrivel/gssi.h"
#include "scrivel/pekko.h"
#include "scrivel/ramac.h"
#include "scrivel/seg2.h"
#include "scrivel/segy.h"

namespace {

TEST(CreateProfileNames, DefaultNameStopsAtTheLastFullStopUnlessNothingIsLeft) {
  EXPECT_EQ(quv::defaultProfileName("line1.dzt"), "line1");
  EXPECT_EQ(quv::defaultProfileName("A.B.DZT"), "A.B");
  EXPECT_EQ(quv::defaultProfileName("NORTH"), "NORTH");
  EXPECT_EQ(quv::defaultProfileName(".dzt"), ".dzt");
}

TEST(CreateProfileNames, CleaningTrimsBlanksThenDropsQuotesAndCommas) {
  EXPECT_EQ(quv::cleanProfileName("  Line,\"7\" \t"), "Line7");
  EXPECT_EQ(quv::cleanProfileName(" a b "), "a b");
  EXPECT_EQ(quv::cleanProfileName(" \", "), "");
}

TEST(CreateProfileNames, CheckRefusesBlankTakenAndUnsafeNamesInRowOrder) {
  std::vector<std::string> cleaned;
  EXPECT_EQ(quv::checkProfileNames({"A", " \",\" "}, {}, &cleaned), "Profile name can not be blank");
  // Letter case does not make a name new; the message names the existing profile.
  EXPECT_EQ(quv::checkProfileNames({"line1"}, {"LINE1"}, &cleaned),
            "Profile name LINE1 already used, choose another");
  // Two rows of one batch may not write the same files.
  EXPECT_EQ(quv::checkProfileNames({"North", "NORTH"}, {}, &cleaned),
            "Profile name North already used, choose another");
  for (const char* bad : {"../up", "a/b", ".."})
    EXPECT_NE(quv::checkProfileNames({bad}, {}, &cleaned).find("can not be used as a file name"),
              std::string::npos)
        << bad;
  EXPECT_TRUE(cleaned.empty()) << "nothing is handed out while a name is refused";
  EXPECT_EQ(quv::checkProfileNames({" L,1 ", "L2"}, {"L3"}, &cleaned), "");
  EXPECT_EQ(cleaned, (std::vector<std::string>{"L1", "L2"}));
}

TEST(CreateProfileSamples, RamacDcRemovalSubtractsTheMeanOfTheLastQuarter) {
  float s[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  quv::removeDcLevel(s, 10);  // 10 / 4 = 2 samples: mean 8.5
  for (int i = 0; i < 10; ++i) EXPECT_FLOAT_EQ(s[i], i - 8.5f) << i;
  float three[3] = {5, 5, 5};
  quv::removeDcLevel(three, 3);  // no quarter to take the level from
  EXPECT_EQ(three[0], 5.0f);
}

TEST(CreateProfileSamples, AmplitudeRangeLeavesNaNOut) {
  quv::AmplitudeRange r;
  const float a[] = {NAN, 3, 5, -2, NAN};
  r.take(a, 5);
  EXPECT_EQ(r.minimum, -2.0f);
  EXPECT_EQ(r.maximum, 5.0f);
}

// --- the straight line of each format ---------------------------------------------

TEST(CreateProfileGeometry, GssiTakesItsHeaderCoordinatesOrScansPerUnit) {
  GssiFHdr h;
  std::memset(&h, 0, sizeof h);
  h.StartX = 2, h.StartY = 3, h.EndX = 40, h.EndY = 5;
  h.SPM = 10;
  quv::StraightLine l = quv::deriveStraightLine(0, &h, 101);
  EXPECT_EQ(l.startEasting, 2);
  EXPECT_EQ(l.startNorthing, 3);
  EXPECT_EQ(l.endEasting, 40);
  EXPECT_EQ(l.endNorthing, 5);
  EXPECT_FLOAT_EQ(l.unitsPerFoot, 0.3048f);
  h.StartX = h.StartY = h.EndX = h.EndY = 0;
  EXPECT_FLOAT_EQ(quv::deriveStraightLine(0, &h, 101).endEasting, 10.0f);
  h.SPM = 0;  // no scans per unit: the line counts traces
  EXPECT_FLOAT_EQ(quv::deriveStraightLine(0, &h, 101).endEasting, 100.0f);
}

TEST(CreateProfileGeometry, PulseEkkoPositionsAndOnlyExactFeetTextsMeanFeet) {
  PekkoFHdr h;
  h.startPosition = 2.5f;
  h.finalPosition = 30.0f;
  for (auto [units, factor] : {std::pair{"FEET", 1.0f}, {"feet", 1.0f}, {"Feet", 0.3048f},
                               {"ft", 0.3048f}, {"m", 0.3048f}}) {
    h.positionUnits = units;
    quv::StraightLine l = quv::deriveStraightLine(1, &h, 50);
    EXPECT_FLOAT_EQ(l.unitsPerFoot, factor) << units;
    EXPECT_EQ(l.startEasting, 2.5f);
    EXPECT_EQ(l.endEasting, 30.0f);
  }
}

TEST(CreateProfileGeometry, RamacSeg2AndSegyGiveTheirLengthOrUnitsOnly) {
  RamacFHdr r;
  r.distanceInterval = 0.05f;
  EXPECT_FLOAT_EQ(quv::deriveStraightLine(2, &r, 21).endEasting, 1.0f);
  r.distanceInterval = 0;
  EXPECT_FLOAT_EQ(quv::deriveStraightLine(2, &r, 21).endEasting, 20.0f);

  Seg2FHdr s;
  std::memset(&s, 0, sizeof s);
  char feet[] = " FEET", metres[] = " METERS";
  s.units = feet;
  quv::StraightLine l = quv::deriveStraightLine(3, &s, 8);
  EXPECT_EQ(l.unitsPerFoot, 1.0f);
  EXPECT_EQ(l.endEasting, 7.0f);
  s.units = metres;
  EXPECT_FLOAT_EQ(quv::deriveStraightLine(3, &s, 8).unitsPerFoot, 0.3048f);

  SegyFHdr y;
  std::memset(&y, 0, sizeof y);
  y.measurementSystem = 2;
  EXPECT_EQ(quv::deriveStraightLine(4, &y, 3).unitsPerFoot, 1.0f);
  y.measurementSystem = 1;
  EXPECT_FLOAT_EQ(quv::deriveStraightLine(4, &y, 3).unitsPerFoot, 0.3048f);
}

TEST(CreateProfileGeometry, InterpolationAndASingleTraceAtTheStart) {
  quv::StraightLine l;
  l.startEasting = 1, l.startNorthing = 2, l.endEasting = 11, l.endNorthing = -18;
  std::vector<float> e, n;
  quv::interpolateLine(l, 11, e, n);
  ASSERT_EQ(e.size(), 11u);
  for (int i = 0; i < 11; ++i) {
    EXPECT_FLOAT_EQ(e[i], 1.0f + i) << i;
    EXPECT_FLOAT_EQ(n[i], 2.0f - 2 * i) << i;
  }
  quv::interpolateLine(l, 1, e, n);  // N - 1 = 0: no division
  EXPECT_EQ(e, std::vector<float>{1.0f});
  EXPECT_EQ(n, std::vector<float>{2.0f});
  quv::interpolateLine(l, 0, e, n);
  EXPECT_TRUE(e.empty());
}

// --- display settings after the geometry dialog ---------------------------------

struct NewVersion {
  quv::ProfileHeader header;
  quv::ProfileVersion version;
  quv::DefaultsValues defaults;
  NewVersion(float units, float lineEast, float lineNorth) {
    header.unitsPerFoot = units;
    header.nodeTrace = {0, 99};
    header.nodeEasting = {0, lineEast};
    header.nodeNorthing = {0, lineNorth};
    version.samples = 200;
    version.timeIncrement = 0.5f;
    version.presentation.velocity = version.normal.velocity = 0.3f;
    quv::PageElement& box = version.presentation.elements[quv::kTracesBox];
    box.left = 1, box.right = 4, box.top = 1, box.bottom = 7;
  }
  quv::PageElement& box() { return version.presentation.elements[quv::kTracesBox]; }
};

TEST(CreateProfileDisplay, AHundredFootLineAtScale120GetsATenInchTracesBox) {
  NewVersion n(1.0f, 60, 80);  // 100 feet
  n.defaults.horizontalUse = 2;
  n.defaults.horizontalScale = 120;
  quv::adjustNewVersionSettings(n.version, n.header, &n.defaults);
  EXPECT_FLOAT_EQ(n.box().right - n.box().left, 10.0f);
  EXPECT_EQ(n.box().top, 1.0f) << "the vertical use mode 0 leaves the height";
  EXPECT_EQ(n.version.presentation.velocity, 0.3f) << "feet keep their velocity";
}

TEST(CreateProfileDisplay, MetricProfilesScaleTheVelocityAndTheDepthScaleSetsTheHeight) {
  NewVersion n(0.3048f, 30, 0);
  n.defaults.verticalUse = 2;
  n.defaults.depthScale = 100;
  n.defaults.horizontalUse = 1;  // traces per unit: width as the defaults set it
  quv::adjustNewVersionSettings(n.version, n.header, &n.defaults);
  const float v = 0.3f * 3.2425420f;
  EXPECT_FLOAT_EQ(n.version.normal.velocity, v);
  EXPECT_FLOAT_EQ(n.version.presentation.velocity, v);
  EXPECT_EQ(n.box().right, 4.0f);
  EXPECT_NEAR(n.box().top, 7.0f - 200 * v * 0.5f * 39.370079f / 100, 1e-3);

  NewVersion inches(12.0f, 30, 0);
  inches.defaults.verticalUse = 2;
  inches.defaults.depthScale = 0;  // no scale: nothing to divide by
  inches.defaults.horizontalUse = 2;
  inches.defaults.horizontalScale = 0;
  quv::adjustNewVersionSettings(inches.version, inches.header, &inches.defaults);
  EXPECT_EQ(inches.box().top, 1.0f);
  EXPECT_EQ(inches.box().right, 4.0f);
  EXPECT_EQ(inches.version.normal.velocity, 0.3f);
}

}  // namespace
