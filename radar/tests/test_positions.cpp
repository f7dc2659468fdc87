// Positions from GPS: thinning, placing traces between fixes, the profile's
// map reference file and the map files (pure, through the static copy); a
// recording added with its sidecar and a profile placed on its fixes, its
// elevations and its exported line (through the LOADED module).
#include <nlohmann/json.hpp>

#include <cmath>
#include <filesystem>
#include <cstdio>
#include <sstream>

#include "dv/headless.h"
#include "fixture.h"
#include "processing/elevation_convert.h"
#include "processing/positions.h"
#include "project/profile.h"
#include "scrivel/projection.h"
#include "scrivel/sidecar.h"
#include "synth.h"

namespace {

using namespace quvtest;
namespace sc = scrivel::sidecar;

sc::PlacedFix fixAt(int trace, double e, double n, double z) {
  sc::PlacedFix f;
  f.trace = trace, f.easting = e, f.northing = n, f.hasElevation = true, f.elevation = z;
  return f;
}

TEST(Positions, DouglasPeuckerKeepsCornersAndDropsWhatLiesOnTheLine) {
  const std::vector<double> x = {0, 1, 2, 3, 3, 3}, y = {0, 0.004, 0, 0, 1, 2};
  EXPECT_EQ(quv::douglasPeucker(x, y, 0.01), (std::vector<size_t>{0, 3, 5}));
  EXPECT_EQ(quv::douglasPeucker(x, y, 0.001), (std::vector<size_t>{0, 1, 2, 3, 5}));
  EXPECT_EQ(quv::douglasPeucker({1}, {1}, 1), (std::vector<size_t>{0}));
}

// Markers for rubber sheeting keep where the pace changes on a straight run,
// which thinning by the path alone drops.
TEST(Positions, ThinningByTraceKeepsChangesOfPace) {
  const std::vector<quv::GeoNode> fixes = {{0, 0, 0}, {10, 10, 0}, {20, 20, 0}, {30, 40, 0}, {40, 60, 0.01}};
  std::vector<int> kept;
  for (const quv::GeoNode& f : quv::thinFixesByTrace(fixes, 0.1)) kept.push_back(f.trace);
  EXPECT_EQ(kept, (std::vector<int>{0, 20, 40}));
  EXPECT_EQ(quv::douglasPeucker({0, 10, 20, 40, 60}, {0, 0, 0, 0, 0.01}, 0.1), (std::vector<size_t>{0, 4}));
}

TEST(Positions, TracesLieBetweenTheFixesAroundThem) {
  // Fixes at traces 3, 5 and 9 (from 1) of 10 traces, in feet (3.28 per metre).
  const double upm = 1 / 0.3048;
  std::vector<sc::PlacedFix> fixes = {fixAt(3, 1000, 2000, 10), fixAt(5, 1002, 2000, 12), fixAt(9, 1002, 2004, 8)};
  quv::GpsLine l;
  ASSERT_TRUE(quv::gpsLine(fixes, 10, 1000, 2000, upm, 0, l));
  ASSERT_EQ(l.easting.size(), 10u);
  EXPECT_DOUBLE_EQ(l.easting[0], 0);  // before the first fix: on it
  EXPECT_DOUBLE_EQ(l.easting[3], 1 * upm);
  EXPECT_DOUBLE_EQ(l.northing[6], 2 * upm);
  EXPECT_DOUBLE_EQ(l.northing[9], 4 * upm);  // after the last: on it
  EXPECT_FLOAT_EQ(l.elevation[3], 11);
  EXPECT_NEAR(l.fixPath, 6 * upm, 1e-9);
  // Nodes: trace 0, the fixes (a corner each), the last trace.
  ASSERT_EQ(l.nodes.size(), 5u);
  EXPECT_EQ(l.nodes[0].trace, 0);
  EXPECT_EQ(l.nodes[1].trace, 2);
  EXPECT_EQ(l.nodes[3].trace, 8);
  EXPECT_EQ(l.nodes[4].trace, 9);
  // One fix: every trace on it, two nodes over the whole line.
  ASSERT_TRUE(quv::gpsLine({fixAt(1, 5, 5, 0)}, 4, 0, 0, 1, 0, l));
  ASSERT_EQ(l.nodes.size(), 2u);
  EXPECT_EQ(l.nodes[1].trace, 3);
  EXPECT_FALSE(quv::gpsLine({}, 4, 0, 0, 1, 0, l));
}

TEST(Positions, PositionFileRoundTripsAndRefusesWhatDoesNotFit) {
  quv::PositionRecord r;
  r.epsg = 32632, r.originEasting = 556000, r.originNorthing = 5140000, r.elevation = {1800.72f, 1799.5f};
  quv::PositionRecord back;
  ASSERT_TRUE(quv::parsePositionFile(quv::formatPositionFile(r), 2, back));
  EXPECT_EQ(back.epsg, 32632);
  EXPECT_EQ(back.originNorthing, 5140000);
  EXPECT_EQ(back.elevation, r.elevation);
  EXPECT_FALSE(quv::parsePositionFile(quv::formatPositionFile(r), 3, back));  // another trace count
  EXPECT_FALSE(quv::parsePositionFile("DELVAR positions 1\nepsg 0\n", 2, back));
  EXPECT_FALSE(quv::parsePositionFile("DELVAR positions 1\nepsg 32632\norigin 1 2\nelevations 99999999999\n", 2, back));
  EXPECT_EQ(quv::smoothValues({1, 2, 6, 3}, 3), (std::vector<float>{1.5f, 3, 11.0f / 3, 4.5f}));
}

// --- through the module ------------------------------------------------------------------

class GpsProfiles : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    QUV_NEED_FORMAT_LIBRARY();
  }
  void copyIn(const std::string& relative, const std::string& as) {
    writeFile(join(field, as), readFile(testdataPath(relative)));
  }
  void createOnGps(const std::string& raw) {
    answer("answer dialog \"Specify Name for Profiles\" check \"Geometry from GPS\" 1 press OK");
    answer("answer dialog \"Edit Geometry\" press OK");
    popup(item(rawPath(raw)), 33120);
  }
  // XY_ of a profile with its map reference added back, in metres.
  void positions(const std::string& name, int traces, std::vector<double>& e, std::vector<double>& n) {
    quv::ProfileHeader h;
    h.traceCount = traces;
    ASSERT_TRUE(quv::decodeXYFile(readFile(inProject("XY_" + name + ".QUV")), h));
    quv::PositionRecord r;
    ASSERT_TRUE(quv::parsePositionFile(readFile(inProject("MAP_" + name + ".QUV")), traces, r));
    e.clear(), n.clear();
    for (int i = 0; i < traces; ++i) {
      e.push_back(h.easting[size_t(i)] + r.originEasting);
      n.push_back(h.northing[size_t(i)] + r.originNorthing);
    }
  }
};

TEST_F(GpsProfiles, IsolaLineLiesOnItsFixesAndGoesOutToMaps) {
  QUV_NEED_TESTDATA("pekko/isola/YLINEA0.GPS");
  for (const char* ext : {"HD", "DT1", "GPS"}) copyIn(std::string("pekko/isola/YLINEA0.") + ext, std::string("YLINEA0.") + ext);
  addRecordings({join(field, "YLINEA0.HD")});
  EXPECT_EQ(countOf(messages(), "Positions stored with YLINEA0.HD: YLINEA0.GPS (GPS: 56 fixes; skipped: 139 repeated block)"), 1)
      << messages();
  ASSERT_TRUE(exists(inProject("GPS_HD_YLINEA0.QUV")));
  createOnGps("YLINEA0.HD");
  ASSERT_NE(item("Site/QUV/Profiles/YLINEA0"), nullptr) << messages() << uiLogText();
  EXPECT_EQ(countOf(messages(), "Geometry from GPS: YLINEA0 - "), 1) << messages();

  sc::Summary s = sc::readSidecarFile(testdataPath("pekko/isola/YLINEA0.GPS"), 195);
  std::vector<sc::PlacedFix> fixes;
  std::string why;
  int epsg = 0;
  ASSERT_TRUE(sc::placeFixes(s, 0, fixes, &epsg, why)) << why;
  EXPECT_EQ(epsg, 32632);
  double path = 0;
  for (size_t i = 1; i < fixes.size(); ++i)
    path += std::hypot(fixes[i].easting - fixes[i - 1].easting, fixes[i].northing - fixes[i - 1].northing);
  std::vector<double> e, n;
  positions("YLINEA0", 195, e, n);
  double length = 0;
  for (size_t i = 1; i < e.size(); ++i) length += std::hypot(e[i] - e[i - 1], n[i] - n[i - 1]);
  EXPECT_LT(std::hypot(e.front() - fixes.front().easting, n.front() - fixes.front().northing), 0.05);
  EXPECT_LT(std::hypot(e.back() - fixes.back().easting, n.back() - fixes.back().northing), 0.05);
  EXPECT_NEAR(length, path, path * 0.01);

  // The elevation table from the fixes, smoothed over 5 traces (the
  // dialog of the static copy on the shared headless UI).
  quv::PositionRecord r;
  ASSERT_TRUE(quv::parsePositionFile(readFile(inProject("MAP_YLINEA0.QUV")), 195, r));
  ASSERT_EQ(r.elevation.size(), 195u);
  EXPECT_NEAR(r.elevation[0], 1800.72, 1e-3);
  quv::ElevationTarget t;
  t.zPath = join(work, "Z_unused");
  t.line.easting.assign(195, 0.0f);
  t.line.northing.assign(195, 0.0f);
  t.line.distance.assign(195, 0.0);
  t.gpsElevations = r.elevation;
  char shown[32];
  std::snprintf(shown, sizeof shown, "%.2f", (r.elevation[0] + r.elevation[1] + r.elevation[2]) / 3);
  answer(std::string("answer dialog \"Edit Elevation Values\" set Smooth 5 press \"Elevations from GPS\" "
                     "expect value grid 1 4 ") + shown + " press Cancel");
  quv::CElevationDlg table(t);
  table.doModal();
  EXPECT_EQ(pendingAnswers(), 0);
  EXPECT_TRUE(dv::headless().takeProblems().empty()) << uiLogText();
  EXPECT_EQ(table.elevations(), quv::smoothValues(r.elevation, 5)) << uiLogText();
  resetUi();

  // Out to maps: one LineString in WGS 84 whose ends are the first and last fix.
  popup(item("Site/QUV/Profiles"), 33200);
  const std::string out = join(work, "lines.geojson");
  answer("answer file \"" + out + "\"");
  popup(item("Site/QUV/Profiles"), 33300);
  EXPECT_EQ(countOf(messages(), "Export Lines: " + out + " - Completed"), 1) << messages();
  nlohmann::json j = nlohmann::json::parse(readFile(out));
  ASSERT_EQ(j["features"].size(), 1u);
  const auto& f = j["features"][0];
  EXPECT_EQ(f["properties"]["name"], "YLINEA0");
  EXPECT_EQ(f["properties"]["traces"], 195);
  EXPECT_EQ(f["properties"]["versions"], nlohmann::json::array({"T01"}));
  EXPECT_NEAR(f["properties"]["length"].get<double>(), path, path * 0.01);
  const auto& c = f["geometry"]["coordinates"];
  ASSERT_EQ(c.size(), 195u);
  EXPECT_NEAR(c[0][0].get<double>(), fixes.front().lon, 1e-6);
  EXPECT_NEAR(c[0][1].get<double>(), fixes.front().lat, 1e-6);
  EXPECT_NEAR(c[0][2].get<double>(), 1800.72, 0.01);
  EXPECT_NEAR(c[194][1].get<double>(), fixes.back().lat, 1e-6);
}

TEST_F(GpsProfiles, DzgScanNumbersPlaceTheTracesOfTheirScans) {
  QUV_NEED_TESTDATA("gssi/test_gssi.DZG");
  QUV_NEED_TESTDATA("gssi/test_gssi.DZT");
  copyIn("gssi/test_gssi.DZT", "test_gssi.DZT");
  // The instrument's scan numbers with fixes that move 1e-5 degrees east per
  // scan (the real file's fixes all have quality 0 and one position).
  std::istringstream in(readFile(testdataPath("gssi/test_gssi.DZG")));
  std::string dzg;
  std::vector<int> scans;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("$GSSIS,", 0) != 0) continue;
    scans.push_back(std::stoi(line.substr(7)));
    char body[128];
    std::snprintf(body, sizeof body, "GPGGA,000320,4739.2552,N,%010.5f,W,1,07,1.0,100.0,M,,M,,",
                  12218.5815 - scans.back() * 6e-4);
    unsigned sum = 0;
    for (const char* p = body; *p; ++p) sum ^= static_cast<unsigned char>(*p);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X", sum);
    dzg += line + "\n$" + body + tail + "\r\n\n";
  }
  ASSERT_EQ(scans.size(), 14u);
  writeFile(join(field, "test_gssi.DZG"), dzg);
  addRecordings({join(field, "test_gssi.DZT")});
  createOnGps("test_gssi.DZT");
  ASSERT_NE(item("Site/QUV/Profiles/test_gssi"), nullptr) << messages() << uiLogText();
  std::vector<double> e, n;
  positions("test_gssi", 345, e, n);
  sc::Projection utm(sc::utmZoneEpsg(47.65, -122.3));
  for (int scan : {scans.front(), scans[5], scans.back()}) {
    double fe = 0, fn = 0;
    ASSERT_TRUE(utm.forward(47 + 39.2552 / 60, -(122 + (18.5815 - scan * 6e-4) / 60), fe, fn));
    EXPECT_LT(std::hypot(e[size_t(scan)] - fe, n[size_t(scan)] - fn), 0.05) << "scan " << scan;
  }
}

TEST_F(GpsProfiles, SidecarsThatCannotPlaceALineKeepTheHeadersLine) {
  QUV_NEED_TESTDATA("pekko/flagogna/XLINE000.GPS");
  for (const char* ext : {"HD", "DT1", "GPS"})
    copyIn(std::string("pekko/flagogna/XLINE000.") + ext, std::string("XLINE000.") + ext);
  addRecordings({join(field, "XLINE000.HD")});
  createOnGps("XLINE000.HD");
  ASSERT_NE(item("Site/QUV/Profiles/XLINE000"), nullptr) << messages();
  EXPECT_EQ(countOf(messages(), "Warning: Geometry from GPS: XLINE000 - its sidecar holds no usable fix "
                                "(0 fixes; skipped: 135 empty GGA, 63 repeated block); its line from the header is kept"),
            1)
      << messages();
  EXPECT_FALSE(exists(inProject("MAP_XLINE000.QUV")));

  // The RAMAC recording was cut to 10 traces: two of its three fixes lie beyond.
  QUV_NEED_TESTDATA("ramac/ten_col.cor");
  for (const char* ext : {"rad", "rd3", "cor"}) copyIn(std::string("ramac/ten_col.") + ext, std::string("ten_col.") + ext);
  addRecordings({join(field, "ten_col.rad")});
  EXPECT_EQ(countOf(messages(), "Positions stored with ten_col.rad: ten_col.cor (COR: 1 fix; skipped: 2 past the end of the recording)"), 1)
      << messages();
  createOnGps("ten_col.rad");
  EXPECT_EQ(countOf(messages(), "Warning: Geometry from GPS: ten_col - its sidecar holds one usable fix only"), 1)
      << messages();
  EXPECT_FALSE(exists(inProject("MAP_ten_col.QUV")));
}

// The stored sidecar follows its raw item: renamed with it, deleted with
// it; a profile's map reference goes with the profile.
TEST_F(GpsProfiles, StoredFilesFollowTheirItems) {
  makeRecording(field, "L.HD", "HD", 12, 32);
  synth::LineRecipe recipe;
  recipe.traces = 12;
  ASSERT_EQ(synth::writePekkoGps(join(field, "l.gps"), recipe), 0);  // any letter case
  addRecordings({join(field, "L.HD")});
  ASSERT_TRUE(exists(inProject("GPS_HD_L.QUV"))) << messages();
  createOnGps("L.HD");
  ASSERT_TRUE(exists(inProject("MAP_L.QUV"))) << messages();
  ASSERT_TRUE(rename(item(rawPath("L.HD")), "M.HD"));
  EXPECT_FALSE(exists(inProject("GPS_HD_L.QUV")));
  EXPECT_TRUE(exists(inProject("GPS_HD_M.HD.QUV")));
  ASSERT_TRUE(rename(item("Site/QUV/Profiles/L"), "P"));
  EXPECT_TRUE(exists(inProject("MAP_P.QUV")));
  answer("answer message \"Delete Item?\" Yes");
  deleteKey(item(rawPath("M.HD")));
  EXPECT_FALSE(exists(inProject("GPS_HD_M.HD.QUV")));
  answer("answer message \"Delete Item?\" Yes");
  deleteKey(item("Site/QUV/Profiles/P"));
  EXPECT_FALSE(exists(inProject("MAP_P.QUV"))) << uiLogText();
}

// "From GPS" in the Markers dialog places the table's traces on the line
// through the fixes, in the system it names in the marker file; an item
// without a sidecar says why there are none.
TEST_F(GpsProfiles, MarkersFromGpsPlaceTheTablesTraces) {
  makeRecording(field, "L.HD", "HD", 12, 32);
  makeRecording(field, "N.HD", "HD", 12, 32);
  synth::LineRecipe recipe;
  recipe.traces = 12;
  ASSERT_EQ(synth::writePekkoGps(join(field, "L.GPS"), recipe), 0);  // fixes on traces 1, 5, 9
  addRecordings({join(field, "L.HD"), join(field, "N.HD")});
  answer("answer dialog \"Markers from GPS\" radio \"At the table's traces\" press OK");
  answer("answer dialog Markers press Insert press Insert press Insert cell grid 3 0 9 press \"From GPS\" press OK");
  answer("answer dialog \"Rubber Sheet\" press \"Edit Markers\" press Cancel");
  popup(item(rawPath("L.HD")), 33130);
  const std::string text = readFile(inProject("MRK_HD_L.QUV"));
  quv::MarkerReference ref;
  ASSERT_TRUE(quv::parseMarkerReference(text, ref)) << text << uiLogText();
  const std::vector<quv::Marker> m = quv::parseMarkerFile(text);
  ASSERT_EQ(m.size(), 3u);
  sc::Projection utm(ref.epsg);
  double e = 0, n = 0;
  ASSERT_TRUE(utm.forward(46.4149, 9.7336, e, n));  // the first fix, in metres (the line's units)
  EXPECT_NEAR(m[0].easting + ref.originEasting, e, 0.01);
  EXPECT_NEAR(m[0].northing + ref.originNorthing, n, 0.01);
  // Trace 2 is a quarter of the way to the fix on trace 5; trace 9 is on its fix, 0.4 m on.
  EXPECT_NEAR(std::hypot(m[1].easting - m[0].easting, m[1].northing - m[0].northing), 0.05, 0.01);
  EXPECT_NEAR(std::hypot(m[2].easting - m[0].easting, m[2].northing - m[0].northing), 0.4, 0.01);

  answer("answer dialog \"Markers from GPS\" press OK");
  answer("answer dialog Markers press \"From GPS\" press Cancel");
  answer("answer message Warning OK");
  answer("answer dialog \"Rubber Sheet\" press \"Edit Markers\" press Cancel");
  popup(item(rawPath("N.HD")), 33130);
  EXPECT_EQ(countOf(uiLogText(), "No markers from GPS: no GPS sidecar was stored with it"), 1) << uiLogText();

  // The batch: markers at the fixes for every item that has them, then the
  // rubber sheet on the map.
  popup(item("Site/QUV/Raw Data"), 33102);  // Select All
  clearMessages();
  answer("answer dialog \"Rubber Sheet\" press \"Markers from GPS\" press Convert");
  answer("answer message \"Markers from GPS\" Yes");
  popup(item("Site/QUV/Raw Data"), 33111);
  const std::string bar = messages();
  EXPECT_EQ(countOf(bar, "Markers from GPS: L.HD - 3 markers in EPSG:32632"), 1) << bar;
  EXPECT_EQ(countOf(bar, "Warning: Markers from GPS: N.HD - no GPS sidecar was stored with it; its markers are kept"),
            1) << bar;
  EXPECT_EQ(countOf(bar, "Rubber Sheet: L - Completed"), 1) << bar;
  quv::PositionRecord r;
  ASSERT_TRUE(quv::parsePositionFile(readFile(inProject("MAP_L.QUV")), 12, r)) << readFile(inProject("MAP_L.QUV"));
  EXPECT_EQ(r.epsg, 32632);
  EXPECT_NEAR(r.elevation.front(), 1800.0, 1e-3);
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

// Reverse and Crop take the fixes along with their traces; a rewrite that
// fails leaves the stored sidecar as it was.
TEST_F(GpsProfiles, FixesFollowTheirTracesThroughReverseAndCrop) {
  makeRecording(field, "L.HD", "HD", 12, 32);
  synth::LineRecipe recipe;
  recipe.traces = 12;
  ASSERT_EQ(synth::writePekkoGps(join(field, "L.GPS"), recipe), 0);  // fixes on traces 1, 5, 9
  addRecordings({join(field, "L.HD")});
  const std::string stored = inProject("GPS_HD_L.QUV");
  auto tracesOfFixes = [&](int traces) {
    std::vector<int> t;
    for (const sc::Fix& f : sc::readSidecarFile(stored, traces).fixes) t.push_back(f.trace);
    return t;
  };
  ASSERT_EQ(tracesOfFixes(12), (std::vector<int>{1, 5, 9}));
  const std::string order = "answer dialog \"Define Trace Order/Crop Parameters\" ";
  // A rewrite that cannot be made changes nothing.
  std::filesystem::create_directory(inProject("DT1_L.QUV.part"));
  answer(order + "press OK");
  popup(item(rawPath("L.HD")), 33127);
  EXPECT_EQ(countOf(messages(), "Reorder: L.HD 12-1 - Failed, "), 1) << messages();
  EXPECT_EQ(readFile(stored), readFile(join(field, "L.GPS")));
  std::filesystem::remove(inProject("DT1_L.QUV.part"));

  answer(order + "press OK");
  popup(item(rawPath("L.HD")), 33127);
  EXPECT_EQ(tracesOfFixes(12), (std::vector<int>{4, 8, 12}));
  answer(order + "cell grid 1 2 2-9 press OK");
  popup(item(rawPath("L.HD")), 33128);
  // Old traces 11-4 stay: the fixes of old 9 and 5 (now 4 and 8) are at 3 and 7; old 1 is gone.
  EXPECT_EQ(tracesOfFixes(8), (std::vector<int>{3, 7}));
  EXPECT_EQ(countOf(messages(), "Warning: Reorder: HD_L.QUV - 1 GPS fixes on traces left out were dropped"), 1)
      << messages();
  const sc::Summary s = sc::readSidecarFile(stored, 8);
  EXPECT_EQ(s.kind, sc::Kind::PekkoGps);
  EXPECT_EQ(s.skipped().at(sc::kLeftOut), 1);
  EXPECT_EQ(s.skipped().at(sc::kRepeated), 9);
  EXPECT_NEAR(s.fixes[0].elevation, 1800.08, 1e-9);  // old trace 9
}

}  // namespace
