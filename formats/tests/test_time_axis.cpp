// The time axis each header record gives: the first sample's time and the
// sample interval, and what a header without a usable interval gets.
#include <limits>

#include <gtest/gtest.h>

#include "scrivel/time_axis.h"

TEST(TimeAxis, PekkoTimeZeroPointPutsTheFirstSamplesBeforeTimeZero) {
  PekkoFHdr h;
  h.points = 101;
  h.timeWindow = 50;
  h.timeZeroPoint = 21;
  const scrivel::TimeAxis t = scrivel::timeAxis(h);
  EXPECT_DOUBLE_EQ(t.intervalNs, 0.5);
  EXPECT_DOUBLE_EQ(t.firstNs, -10.0);
}

TEST(TimeAxis, HeaderWithoutAUsableIntervalGetsOneNanosecondAndAFiniteStart) {
  // A single-point trace has no window steps: time zero does not move the start.
  PekkoFHdr pekko;
  pekko.points = 1;
  pekko.timeWindow = 50;
  pekko.timeZeroPoint = 21;
  EXPECT_DOUBLE_EQ(scrivel::timeAxis(pekko).intervalNs, 1.0);
  EXPECT_DOUBLE_EQ(scrivel::timeAxis(pekko).firstNs, 0.0);

  RamacFHdr ramac;
  ramac.frequency = 0;
  EXPECT_DOUBLE_EQ(scrivel::timeAxis(ramac).intervalNs, 1.0);

  GssiFHdr gssi{};
  gssi.NSamp = 512;
  gssi.Range = -20.f;
  gssi.Position = std::numeric_limits<float>::quiet_NaN();
  EXPECT_DOUBLE_EQ(scrivel::timeAxis(gssi).intervalNs, 1.0);
  EXPECT_DOUBLE_EQ(scrivel::timeAxis(gssi).firstNs, 0.0);
}

TEST(TimeAxis, Seg2KeywordValuesAreSecondsWithTheDecimalPoint) {
  Seg2TraceHdr h{};
  char interval[] = " +2.5E-10", delay[] = "\t-1e-9", none[] = "n/a";
  h.sampleInterval = interval;
  h.delay = delay;
  EXPECT_NEAR(scrivel::timeAxis(h).intervalNs, 0.25, 1e-12);
  EXPECT_NEAR(scrivel::timeAxis(h).firstNs, -1.0, 1e-12);
  h.sampleInterval = none;
  h.delay = nullptr;
  EXPECT_DOUBLE_EQ(scrivel::timeAxis(h).intervalNs, 1.0);
  EXPECT_DOUBLE_EQ(scrivel::timeAxis(h).firstNs, 0.0);
}
