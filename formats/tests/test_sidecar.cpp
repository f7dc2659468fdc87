// Position sidecars: every shared sidecar parses to its fixes, with what was
// skipped and why; the faults field loggers produce; projection to UTM and back.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "scrivel/projection.h"
#include "scrivel/sidecar.h"
#include "test_support.h"

namespace sc = scrivel::sidecar;

namespace {

std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// A sentence with its checksum.
std::string nmea(const std::string& body) {
  unsigned sum = 0;
  for (char c : body) sum ^= static_cast<unsigned char>(c);
  char tail[8];
  std::snprintf(tail, sizeof tail, "*%02X", sum);
  return "$" + body + tail;
}

const char* kGga1 = "GPGGA,120000.00,4624.895686,N,00944.015529,E,1,06,1.5,1800.72,M,48.00,M,,";
const char* kGga2 = "GNGGA,120001.00,4624.905223,N,00943.983683,E,2,07,1.5,1799.76,M,48.00,M,,";

}  // namespace

TEST(Sidecar, SharedGssiSidecars) {
  SKIP_WITHOUT_TESTDATA();
  // Every fix of the instrument's DZG has quality 0 and no satellites: a
  // stale position, not a fix. The scans still tie to traces 24, 48 ... 336.
  sc::Summary all = sc::readSidecarFile(scrivel_test::testdata("gssi/test_gssi.DZG"), 345);
  EXPECT_EQ(all.kind, sc::Kind::Dzg);
  EXPECT_TRUE(all.fixes.empty());
  EXPECT_EQ(all.skipped(), (std::map<std::string, int>{{sc::kNoFix, 14}}));
  ASSERT_EQ(all.skips.size(), 14u);
  EXPECT_EQ(all.skips.front().trace, 24);
  EXPECT_EQ(all.skips.back().trace, 336);

  sc::Summary partial = sc::readSidecarFile(scrivel_test::testdata("gssi/test_gssi_partialgps.DZG"), 345);
  EXPECT_EQ(partial.skipped(), (std::map<std::string, int>{{sc::kNoFix, 13}, {sc::kNoPosition, 1}}));
  EXPECT_EQ(partial.skips[5].trace, 144);
  EXPECT_EQ(partial.skips[5].reason, sc::kNoPosition);

  // The same file with its fixes marked valid: scan N is trace N + 1 of the DZT.
  std::string text = fileText(scrivel_test::testdata("gssi/test_gssi.DZG")), fixed;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("$GPGGA", 0) == 0) {
      std::string body = line.substr(1, line.find('*') - 1);
      body.replace(body.find(",W,0,00,"), 8, ",W,1,05,");
      line = nmea(body);
    }
    fixed += line + "\n";
  }
  sc::Summary s = sc::readSidecar(sc::Kind::Dzg, fixed, 345);
  ASSERT_EQ(s.fixes.size(), 14u);
  EXPECT_EQ(s.fixes.front().trace, 24);
  EXPECT_EQ(s.fixes[1].trace, 48);
  EXPECT_EQ(s.fixes.back().trace, 336);
  EXPECT_NEAR(s.fixes.front().lat, 47 + 39.2552 / 60, 1e-9);
  EXPECT_NEAR(s.fixes.front().lon, -(122 + 18.5815 / 60), 1e-9);
  EXPECT_FALSE(s.fixes.front().hasElevation);

  sc::Summary dzx = sc::readSidecarFile(scrivel_test::testdata("gssi/test_gssi.DZX"));
  EXPECT_EQ(dzx.kind, sc::Kind::Dzx);
  ASSERT_EQ(dzx.fixes.size(), 2u);
  EXPECT_EQ(dzx.fixes[0].trace, 1);
  EXPECT_EQ(dzx.fixes[1].trace, 342);
  EXPECT_DOUBLE_EQ(dzx.fixes[1].distance, 10.0);
  EXPECT_FALSE(dzx.fixes[1].hasPosition);
}

TEST(Sidecar, SharedPekkoAndRamacSidecars) {
  SKIP_WITHOUT_TESTDATA();
  sc::Summary isola = sc::readSidecarFile(scrivel_test::testdata("pekko/isola/YLINEA0.GPS"), 195);
  EXPECT_EQ(isola.kind, sc::Kind::PekkoGps);
  EXPECT_EQ(isola.skipped(), (std::map<std::string, int>{{sc::kRepeated, 139}}));
  ASSERT_EQ(isola.fixes.size(), 56u);
  EXPECT_EQ(isola.fixes.front().trace, 1);
  EXPECT_NEAR(isola.fixes.front().lat, 46 + 24.895686 / 60, 1e-9);
  EXPECT_NEAR(isola.fixes.front().lon, 9 + 44.015529 / 60, 1e-9);
  EXPECT_NEAR(isola.fixes.front().elevation, 1800.72, 1e-9);

  sc::Summary flagogna = sc::readSidecarFile(scrivel_test::testdata("pekko/flagogna/XLINE000.GPS"));
  EXPECT_TRUE(flagogna.fixes.empty());
  // 198 traces without a fix; where the logger wrote a block again it is counted as a repeat.
  EXPECT_EQ(flagogna.skipped(), (std::map<std::string, int>{{sc::kEmptyGga, 135}, {sc::kRepeated, 63}}));

  sc::Summary pe = sc::readSidecarFile(scrivel_test::testdata("pekko/impdar/test_pe.GPS"));
  ASSERT_EQ(pe.fixes.size(), 278u);
  EXPECT_TRUE(pe.skips.empty());
  EXPECT_EQ(pe.fixes[1].trace, 11);
  EXPECT_EQ(pe.fixes.back().trace, 2771);
  EXPECT_NEAR(pe.fixes.front().lat, 48 + 20.91568462 / 60, 1e-9);
  EXPECT_NEAR(pe.fixes.front().lon, -(121 + 2.76481022 / 60), 1e-9);
  EXPECT_NEAR(pe.fixes.front().elevation, 2063.963, 1e-9);

  // The recording was cut to 10 traces, the sidecar was not.
  sc::Summary cor = sc::readSidecarFile(scrivel_test::testdata("ramac/ten_col.cor"), 10);
  EXPECT_EQ(cor.kind, sc::Kind::RamacCor);
  ASSERT_EQ(cor.fixes.size(), 1u);
  EXPECT_EQ(cor.fixes[0].trace, 7);
  EXPECT_NEAR(cor.fixes[0].lat, 75.63203, 1e-9);
  EXPECT_NEAR(cor.fixes[0].lon, -35.98767333333, 1e-9);
  EXPECT_NEAR(cor.fixes[0].elevation, 2663.65, 1e-9);
  EXPECT_EQ(cor.skipped(), (std::map<std::string, int>{{sc::kPastEnd, 2}}));
}

// Other tools' coordinate files: projected coordinates per trace, spread
// along the line, or markers at distances; kinds by name and by contents.
TEST(Sidecar, SharedCoordinateFiles) {
  SKIP_WITHOUT_TESTDATA();
  sc::Summary top = sc::readSidecarFile(scrivel_test::testdata("pekko/isola/YLINEA0.top"), 195);
  EXPECT_EQ(top.kind, sc::Kind::Top);
  ASSERT_EQ(top.fixes.size(), 195u);
  EXPECT_EQ(top.fixes[1].trace, 2);
  EXPECT_DOUBLE_EQ(top.fixes[0].northing, 1142975.43);  // N before E
  EXPECT_DOUBLE_EQ(top.fixes[0].easting, 2776424.69);
  EXPECT_DOUBLE_EQ(top.fixes[0].elevation, -1.78);
  EXPECT_EQ(top.positioned(), 195);

  sc::Summary topo = sc::readSidecarFile(scrivel_test::testdata("pekko/frenke/LINE00_topo.txt"), 223);
  EXPECT_EQ(topo.kind, sc::Kind::Topo);
  ASSERT_EQ(topo.fixes.size(), 223u);
  EXPECT_DOUBLE_EQ(topo.fixes[0].easting, 2622172.58);
  EXPECT_DOUBLE_EQ(topo.fixes[0].northing, 1256908.26);
  EXPECT_TRUE(topo.skips.empty());

  // 103 rows over 531 traces: the first on trace 1, the last on 531.
  sc::Summary xyz = sc::readSidecarFile(scrivel_test::testdata("pekko/XLINE00_GPS.xyz"), 531);
  EXPECT_EQ(xyz.kind, sc::Kind::Xyz);
  ASSERT_EQ(xyz.fixes.size(), 103u);
  EXPECT_EQ(xyz.fixes.front().trace, 1);
  EXPECT_EQ(xyz.fixes[1].trace, 6);
  EXPECT_EQ(xyz.fixes.back().trace, 531);
  EXPECT_DOUBLE_EQ(xyz.fixes.back().easting, 267826.945);

  sc::Summary fid = sc::readSidecarFile(scrivel_test::testdata("pekko/frenke/LINE00_FID.txt"), 223);
  EXPECT_EQ(fid.kind, sc::Kind::Fid);
  ASSERT_EQ(fid.fixes.size(), 3u);
  EXPECT_EQ(fid.fixes[1].trace, 191);
  EXPECT_DOUBLE_EQ(fid.fixes[1].distance, 47.5);
  EXPECT_EQ(fid.positioned(), 0);

  // A stored copy has no name of its own to go by.
  for (const char* f : {"pekko/isola/YLINEA0.top", "pekko/frenke/LINE00_topo.txt", "pekko/XLINE00_GPS.xyz",
                        "pekko/frenke/LINE00_FID.txt"})
    EXPECT_EQ(sc::kindOf("GPS_HD_L.QUV", fileText(scrivel_test::testdata(f))),
              sc::kindOf(f, "")) << f;

  // Unknown system: coordinates kept, no latitude; a code given is the system's.
  std::vector<sc::PlacedFix> placed;
  std::string why;
  int used = -1;
  ASSERT_TRUE(sc::placeFixes(xyz, 0, placed, &used, why)) << why;
  EXPECT_EQ(used, 0);
  ASSERT_EQ(placed.size(), 103u);
  EXPECT_DOUBLE_EQ(placed[0].easting, 267918.654);
  ASSERT_TRUE(sc::placeFixes(xyz, 32610, placed, &used, why)) << why;
  EXPECT_NEAR(placed[0].lat, 37.7, 0.1);
}

// The workbench's own file of fixes reads back as it was written.
TEST(Sidecar, FixFileRoundTrips) {
  sc::Summary s;
  s.kind = sc::Kind::PekkoGps;
  s.epsg = 2056;
  sc::Fix a, b;
  a.trace = 3, a.hasPosition = true, a.lat = 46.123456789012, a.lon = -9.5, a.hasElevation = true, a.elevation = 1800.72;
  b.trace = 9, b.hasProjected = true, b.easting = 2622172.82421053, b.northing = 1256908.25052632, b.hasDistance = true,
  b.distance = 0.25;
  s.fixes = {a, b};
  s.skips = {{4, sc::kRepeated}, {5, sc::kRepeated}, {12, sc::kPastEnd}};
  const std::string text = sc::formatFixFile(s);
  sc::Summary back = sc::readSidecar(sc::kindOf("GPS_HD_L.QUV", text), text, 10);
  ASSERT_TRUE(back.error.empty()) << back.error;
  EXPECT_EQ(back.kind, sc::Kind::PekkoGps);
  EXPECT_EQ(back.epsg, 2056);
  EXPECT_EQ(back.skipped(), s.skipped());
  ASSERT_EQ(back.fixes.size(), 2u);
  EXPECT_EQ(back.fixes[0].lat, a.lat);
  EXPECT_EQ(back.fixes[0].elevation, a.elevation);
  EXPECT_FALSE(back.fixes[0].hasProjected);
  EXPECT_EQ(back.fixes[1].northing, b.northing);
  EXPECT_EQ(back.fixes[1].distance, b.distance);
  EXPECT_FALSE(back.fixes[1].hasPosition);
  // A fix beyond the range of latitudes is a bad record, not a fix.
  sc::Summary bad = sc::readSidecar(sc::Kind::Fixes, "DELVAR fixes 1\nfix 1 91 0 - - - -\nskipped 99999999999 x\n");
  EXPECT_TRUE(bad.fixes.empty());
  EXPECT_EQ(bad.skipped(), (std::map<std::string, int>{{sc::kBadRecord, 2}}));
}

TEST(Sidecar, FieldLoggerFaults) {
  std::string good = nmea(kGga1), other = nmea(kGga2);
  std::string badSum = good;
  badSum[badSum.size() - 1] = badSum[badSum.size() - 1] == '0' ? '1' : '0';
  // Trace 2: bad checksum then a good GGA; trace 3: a cut sentence spliced
  // onto the next; trace 4 repeats trace 3 byte for byte; trace 5 is empty;
  // trace 6 has only a void RMC; trace 2 again runs backwards.
  std::string text = "Trace #1 at position 0.0\r\n" + good + "\r\n" + "Trace #2 at position 0.25\r\n" + badSum +
                     "\r\n" + other + "\r\n" + "Trace #3 at position 0.5\r\n$GPGGA,1200" + good + "\r\n" +
                     "Trace #4 at position 0.75\r\n$GPGGA,1200" + good + "\r\n" + "Trace #5 at position 1\r\n" +
                     nmea("GPGGA,,,,,,0,00,,,M,,M,,") + "\r\n" + "Trace #6 at position 1.25\r\n" +
                     nmea("GPRMC,114813.00,V,,,,,,,,,,N") + "\r\n" + "Trace #2 at position 1.5\r\n" + other + "\r\n";
  sc::Summary s = sc::readSidecar(sc::Kind::PekkoGps, text);
  ASSERT_EQ(s.fixes.size(), 3u);
  EXPECT_EQ(s.fixes[1].trace, 2);
  EXPECT_NEAR(s.fixes[1].lat, 46 + 24.905223 / 60, 1e-9);  // the GN talker
  EXPECT_EQ(s.fixes[2].trace, 3);
  EXPECT_EQ(s.skipped(), (std::map<std::string, int>{{sc::kBadChecksum, 1},
                                                     {sc::kSpliced, 1},
                                                     {sc::kRepeated, 1},
                                                     {sc::kEmptyGga, 1},
                                                     {sc::kVoidRmc, 1},
                                                     {sc::kOutOfOrder, 1}}));
  // An RMC alone gives a position without elevation; decimal degrees are read as such.
  sc::Summary rmc = sc::readSidecar(
      sc::Kind::Dzg, "$GSSIS,0,-1\n" + nmea("GPRMC,142007.00,A,4624.895792,N,00944.015502,E,0,0,110314,,,A"));
  ASSERT_EQ(rmc.fixes.size(), 1u);
  EXPECT_EQ(rmc.fixes[0].trace, 1);
  EXPECT_FALSE(rmc.fixes[0].hasElevation);
  double v = 0;
  EXPECT_TRUE(sc::parseCoordinate("46.5", "S", false, v));
  EXPECT_DOUBLE_EQ(v, -46.5);
  EXPECT_FALSE(sc::parseCoordinate("4675.0", "N", false, v));  // 75 minutes
  EXPECT_EQ(sc::readSidecar(sc::Kind::Unknown, "x").error.empty(), false);
  // Stored copies have no extension of their own: the first bytes tell the kind.
  EXPECT_EQ(sc::kindOf("GPS_RAD_A.QUV", "7 2019-07-26 16:58:43 75.6 N 35.9 W 2663.6 M 0.8\r\n"), sc::Kind::RamacCor);
  EXPECT_EQ(sc::kindOf("GPS_HD_A.QUV", "Trace #1 at position 0.0\r\n"), sc::Kind::PekkoGps);
  EXPECT_EQ(sc::kindOf("GPS_DZT_A.QUV", "$GSSIS,0,-1\n"), sc::Kind::Dzg);
  EXPECT_EQ(sc::kindOf("GPS_DZT_A.QUV", "<?xml version=\"1.0\"?>\n<DZX>"), sc::Kind::Dzx);
  EXPECT_EQ(sc::kindOf("A.HD", "1234 5678 header text"), sc::Kind::Unknown);
}

TEST(Sidecar, ProjectionToUtmAndBack) {
  EXPECT_EQ(sc::utmZoneEpsg(46.41, 9.73), 32632);
  EXPECT_EQ(sc::utmZoneEpsg(-33.9, 18.4), 32734);
  EXPECT_EQ(sc::utmZoneEpsg(60.0, 5.0), 32632);  // south-west Norway
  // 33.3 N 44.4 E is 444140.54 E 3684706.36 N in zone 38 N.
  sc::Projection utm(sc::utmZoneEpsg(33.3, 44.4));
  ASSERT_TRUE(utm.valid()) << utm.error();
  double e = 0, n = 0, lat = 0, lon = 0;
  ASSERT_TRUE(utm.forward(33.3, 44.4, e, n));
  EXPECT_NEAR(e, 444140.54, 0.01);
  EXPECT_NEAR(n, 3684706.36, 0.01);
  // Round trips within a millimetre, also far from the central meridian and south.
  for (auto [la, lo] : {std::pair{46.4149, 9.7336}, {-45.0, 170.9}, {75.632, -35.987}}) {
    sc::Projection p(sc::utmZoneEpsg(la, lo));
    ASSERT_TRUE(p.forward(la, lo, e, n));
    ASSERT_TRUE(p.inverse(e, n, lat, lon));
    double e2 = 0, n2 = 0;
    ASSERT_TRUE(p.forward(lat, lon, e2, n2));
    EXPECT_LT(std::hypot(e2 - e, n2 - n), 1e-3);
    EXPECT_NEAR(lat, la, 1e-8);
    EXPECT_NEAR(lon, lo, 1e-8);
  }
  EXPECT_FALSE(sc::Projection(4326).valid());  // geographic, not projected
  EXPECT_FALSE(sc::Projection(999999).valid());
  EXPECT_TRUE(sc::Projection(2056).valid());  // Swiss LV95
}
