// Profile geometry through the STATIC copy: segment values and azimuths, the
// coordinates of straight and complex lines, the ".geo" and ".cog" texts, and
// the two dialogs driven through the headless UI (their callbacks set here,
// as the module sets them).
#include <cmath>

#include "dv/headless.h"
#include "fixture.h"
#include "processing/geometry.h"

namespace {

using namespace quvtest;
using quv::GeoNode;

TEST(GeometrySegments, DistanceIncrementAndAzimuth) {
  quv::SegmentValues v = quv::segmentValues({0, 0, 0}, {10, 3, 4});
  EXPECT_DOUBLE_EQ(v.distance, 5);
  EXPECT_DOUBLE_EQ(v.increment, 0.5);
  EXPECT_NEAR(v.angle, 36.87, 0.005);
  // Due west, due south, and the two southern quadrants.
  EXPECT_DOUBLE_EQ(quv::segmentValues({0, 5, 5}, {4, 2, 5}).angle, -90);
  EXPECT_DOUBLE_EQ(quv::segmentValues({0, 5, 5}, {4, 5, 1}).angle, 180);
  EXPECT_DOUBLE_EQ(quv::segmentValues({0, 0, 0}, {4, 0, 0}).angle, 90);
  EXPECT_NEAR(quv::segmentValues({0, 0, 0}, {4, 1, -1}).angle, 135, 1e-9);
  EXPECT_NEAR(quv::segmentValues({0, 0, 0}, {4, -1, -1}).angle, -135, 1e-9);
  // Both ends on one trace: no increment.
  EXPECT_EQ(quv::segmentValues({3, 0, 0}, {3, 3, 4}).increment, 0);
}

TEST(GeometrySegments, AnglesAreKeptAboveMinus180UpTo180) {
  EXPECT_EQ(quv::normalizeAngle(270), -90);
  EXPECT_EQ(quv::normalizeAngle(-180), 180);
  EXPECT_EQ(quv::normalizeAngle(180), 180);
  EXPECT_EQ(quv::normalizeAngle(-540), 180);
  EXPECT_EQ(quv::normalizeAngle(725), 5);
  const double huge = quv::normalizeAngle(1e300);  // whole turns at once, no endless loop
  EXPECT_TRUE(huge > -180 && huge <= 180);
  EXPECT_EQ(quv::normalizeAngle(INFINITY), 0);
}

TEST(GeometryLines, StraightLinesStartBeforeTheirFirstNode) {
  std::vector<float> e, n;
  quv::straightLineXY(10, {2, 10, 1}, {6, 18, 1}, e, n);
  ASSERT_EQ(e.size(), 10u);
  for (int i = 0; i < 10; ++i) {
    EXPECT_FLOAT_EQ(e[i], 6.0f + 2 * i) << i;
    EXPECT_FLOAT_EQ(n[i], 1.0f) << i;
  }
  // Both nodes on one trace: every trace at the start point.
  quv::straightLineXY(4, {3, 7, 8}, {3, 20, 20}, e, n);
  EXPECT_EQ(e, std::vector<float>(4, 7.0f));
  EXPECT_EQ(n, std::vector<float>(4, 8.0f));
}

TEST(GeometryLines, ComplexLineGetsEndNodesAndEveryTraceCoordinate) {
  const std::vector<GeoNode> nodes = {{5, 10, 0}, {10, 20, 10}};
  std::vector<GeoNode> geo = quv::complexGeoNodes(21, nodes);
  ASSERT_EQ(geo.size(), 4u);
  const GeoNode want[] = {{0, 0, -10}, {5, 10, 0}, {10, 20, 10}, {20, 40, 30}};
  for (size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(geo[k].trace, want[k].trace) << k;
    EXPECT_FLOAT_EQ(geo[k].easting, want[k].easting) << k;
    EXPECT_FLOAT_EQ(geo[k].northing, want[k].northing) << k;
  }
  std::vector<float> e, n;
  quv::complexLineXY(21, nodes, e, n);
  ASSERT_EQ(e.size(), 21u);
  for (int i = 0; i < 21; ++i) {
    EXPECT_FLOAT_EQ(e[i], 2.0f * i) << i;
    EXPECT_FLOAT_EQ(n[i], 2.0f * i - 10) << i;
  }
  // A bend: each segment starts at its own node.
  quv::complexLineXY(9, {{0, 0, 0}, {4, 4, 0}, {8, 4, 4}}, e, n);
  EXPECT_EQ(e, (std::vector<float>{0, 1, 2, 3, 4, 4, 4, 4, 4}));
  EXPECT_EQ(n, (std::vector<float>{0, 0, 0, 0, 0, 1, 2, 3, 4}));
  // Nodes already at both ends add none.
  EXPECT_EQ(quv::complexGeoNodes(9, {{0, 0, 0}, {4, 4, 0}, {8, 4, 4}}).size(), 3u);
}

TEST(GeometryFiles, GeoTextRoundTrip) {
  std::vector<quv::GeoFileLine> lines = {{"LINE 1", 1.234, -2, 300.5, 4.006}, {"b", 0, 0, 9, 0}};
  const std::string text = quv::formatGeoFile(lines);
  EXPECT_EQ(text,
            "/ Profile,Start_Easting,Start_Northing,End_Easting,End_Northing\n"
            "\"LINE 1\",1.23,-2.00,300.50,4.01\n"
            "\"b\",0.00,0.00,9.00,0.00\n");
  std::vector<quv::GeoFileLine> back;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    quv::GeoFileLine l;
    if (quv::parseGeoLine(text.substr(at, end - at), l)) back.push_back(l);
    at = end + 1;
  }
  ASSERT_EQ(back.size(), 2u) << "the header line is not a profile";
  EXPECT_EQ(back[0].name, "LINE 1");
  EXPECT_FLOAT_EQ(back[0].endEasting, 300.5f);
  EXPECT_FLOAT_EQ(back[0].endNorthing, 4.01f);
  quv::GeoFileLine l;
  ASSERT_TRUE(quv::parseGeoLine("  North ,1,2,3,4\r", l));
  EXPECT_EQ(l.name, "North");
  EXPECT_FALSE(quv::parseGeoLine("", l));
  EXPECT_FALSE(quv::parseGeoLine("North,1,2", l));
}

TEST(GeometryFiles, CogTextRoundTripAndChosenColumns) {
  const std::vector<GeoNode> nodes = {{0, 1.5, 2}, {9, -3.25, 4}};
  const std::string text = quv::formatCogFile(nodes);
  EXPECT_EQ(text, "/ Trace# Easting Northing\n1 1.50 2.00\n10 -3.25 4.00\n");
  std::vector<GeoNode> back = quv::parseCogText(text, 1, 2, 3);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[1].trace, 9);
  EXPECT_DOUBLE_EQ(back[1].easting, -3.25);

  // Another file's column order, comments, blank lines and lines of words.
  const std::string other =
      "  / easting northing trace\n\nE N T\n  100.5\t200 3 extra\n7 8\n1 2 3 4 5 6 7 8 9 10 11\n";
  back = quv::parseCogText(other, 3, 1, 2);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].trace, 2);
  EXPECT_DOUBLE_EQ(back[0].easting, 100.5);
  EXPECT_DOUBLE_EQ(back[0].northing, 200);
  EXPECT_EQ(back[1].trace, 2);
  EXPECT_EQ(quv::tableTokens("1 2 3 4 5 6 7 8 9 10 11").size(), 10u);
  EXPECT_EQ(quv::tableTokens(std::string(40, '7'))[0].size(), 31u);
}

// --- the dialogs, driven through the headless UI ------------------------------------

class GeometryDialogs : public ::testing::Test {
 protected:
  void SetUp() override { resetUi(); }
  void TearDown() override { resetUi(); }
  static quv::GeometryLine line(std::string name, int traces, std::vector<GeoNode> nodes,
                                float units = 0.3048f) {
    quv::GeometryLine l;
    l.name = std::move(name);
    l.traces = traces;
    l.unitsPerFoot = units;
    l.nodes = std::move(nodes);
    return l;
  }
  // Runs the geometry dialog with the scripted actions; returns what OK saved.
  std::vector<quv::GeometryLine> run(std::vector<quv::GeometryLine> lines,
                                     const std::string& actions) {
    dlg_ = std::make_unique<quv::CGeometryDlg>(std::move(lines), sandbox());
    std::vector<quv::GeometryLine> saved;
    dlg_->save = [&](const quv::GeometryLine& l) { saved.push_back(l); };
    dlg_->editComplex = editComplex;
    answer("answer dialog \"Edit Geometry\" " + actions);
    dlg_->doModal();
    return saved;
  }
  dv::GridModel& grid() { return *dlg_->grid(quv::CGeometryDlg::IDC_GRID); }
  std::unique_ptr<quv::CGeometryDlg> dlg_;
  std::function<bool(quv::GeometryLine&)> editComplex;
};

TEST_F(GeometryDialogs, RowsShowTheLineItsSegmentAndItsUnits) {
  run({line("L", 11, {{0, 0, 0}, {10, 3, 4}}),
       line("C", 30, {{0, 0, 0}, {10, 1, 1}, {29, 2, 2}}, 1.0f)},
      "press Cancel");
  dv::GridModel& g = grid();
  ASSERT_EQ(g.rows(), 5);
  EXPECT_EQ(g.text(0, 2), "Fix Coord.");
  EXPECT_EQ(g.text(1, 0), "L");
  EXPECT_EQ(g.text(1, 1), "1");
  EXPECT_EQ(g.text(2, 1), "11");
  EXPECT_EQ(g.text(2, 3), "3.00");
  EXPECT_EQ(g.text(2, 5), "5.00");
  EXPECT_EQ(g.text(2, 6), "0.500");
  EXPECT_EQ(g.text(2, 7), "36.87");
  EXPECT_EQ(g.text(1, 8), "m");
  EXPECT_TRUE(g.checked(1, 2)) << "the start row is fixed at first";
  EXPECT_NE(g.backColor(1, 3), g.backColor(2, 3)) << "fixed and free rows are told apart";
  // A complex line: its first and last node, not edited here.
  EXPECT_EQ(g.text(3, 2), "COMPLEX");
  EXPECT_EQ(g.text(4, 2), "COMPLEX");
  EXPECT_EQ(g.text(4, 1), "30");
  EXPECT_EQ(g.text(3, 8), "ft");
  EXPECT_FALSE(g.editable(4, 3));
}

TEST_F(GeometryDialogs, DistanceIncrementAndAngleMoveTheFreeRow) {
  auto saved = run({line("L", 11, {{0, 0, 0}, {10, 3, 4}})}, "cell 23200 2 5 10 press OK");
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_NEAR(saved[0].nodes[1].easting, 6, 1e-9);
  EXPECT_NEAR(saved[0].nodes[1].northing, 8, 1e-9);

  saved = run({line("L", 11, {{0, 0, 0}, {10, 3, 4}})}, "cell 23200 2 6 2 press OK");
  EXPECT_NEAR(saved[0].nodes[1].easting, 12, 1e-9) << "10 traces at 2 per trace";
  EXPECT_NEAR(saved[0].nodes[1].northing, 16, 1e-9);

  // 270 is kept as -90: the free end moves due west of the start.
  saved = run({line("L", 11, {{0, 1, 1}, {10, 4, 5}})}, "cell 23200 2 7 270 press OK");
  EXPECT_EQ(grid().text(2, 7), "-90.00");
  EXPECT_NEAR(saved[0].nodes[1].easting, -4, 1e-9);
  EXPECT_NEAR(saved[0].nodes[1].northing, 1, 1e-9);
  run({line("L", 11, {{0, 1, 1}, {10, 4, 5}})}, "cell 23200 2 7 -180 press OK");
  EXPECT_EQ(grid().text(2, 7), "180.00");

  // With the end row fixed the start row moves instead.
  saved = run({line("L", 11, {{0, 0, 0}, {10, 3, 4}})},
              "cell 23200 2 2 1 cell 23200 2 5 10 press OK");
  EXPECT_FALSE(grid().checked(1, 2));
  EXPECT_TRUE(grid().checked(2, 2));
  EXPECT_NEAR(saved[0].nodes[0].easting, -3, 1e-9);
  EXPECT_NEAR(saved[0].nodes[0].northing, -4, 1e-9);
  EXPECT_EQ(saved[0].nodes[1].easting, 3);
}

TEST_F(GeometryDialogs, UnitsTypedNumbersAndWhatIsNotEdited) {
  auto saved = run({line("L", 11, {{0, 0, 0}, {10, 3, 4}}), line("M", 5, {{0, 0, 0}, {4, 1, 0}})},
                   "cell 23200 1 8 yards cell 23200 1 3 abc cell 23200 1 0 X cell 23200 2 1 99 "
                   "cell 23200 3 8 ft press OK");
  EXPECT_EQ(grid().text(1, 8), "m") << "only cm, ft, in and m are units";
  EXPECT_EQ(grid().text(1, 3), "0.00") << "a text that is no number changes nothing";
  EXPECT_EQ(grid().text(1, 0), "L");
  EXPECT_EQ(grid().text(2, 1), "11");
  ASSERT_EQ(saved.size(), 1u) << "only changed lines are saved";
  EXPECT_EQ(saved[0].name, "M");
  EXPECT_EQ(saved[0].unitsPerFoot, 1.0f);
  EXPECT_TRUE(run({line("L", 11, {{0, 0, 0}, {10, 3, 4}})}, "cell 23200 2 5 7 press Cancel").empty());
}

TEST_F(GeometryDialogs, GeoExportAndImportCarryTheStraightLines) {
  const std::string file = join(freshDir("geo"), "lines.geo");
  answer("answer file \"" + file + "\"");
  run({line("North", 11, {{0, 1, 2}, {10, 3, 4}}), line("C", 30, {{0, 0, 0}, {9, 1, 1}, {29, 2, 2}})},
      "press 23203 press Cancel");
  EXPECT_EQ(readFile(file),
            "/ Profile,Start_Easting,Start_Northing,End_Easting,End_Northing\n"
            "\"North\",1.00,2.00,3.00,4.00\n");
  // Names match in any letter case; a line for no profile is ignored.
  writeFile(file, readFile(file) + "\"nobody\",5,5,5,5\n\"NORTH\",10,20,30,40\n");
  answer("answer file \"" + file + "\"");
  auto saved = run({line("north", 11, {{0, 0, 0}, {10, 0, 0}})}, "press 23202 press OK");
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_EQ(saved[0].nodes[0].easting, 10);
  EXPECT_EQ(saved[0].nodes[1].northing, 40);
  EXPECT_EQ(grid().text(2, 4), "40.00");
  answer("answer file \"" + file + ".missing\"");
  run({line("north", 11, {{0, 0, 0}, {10, 0, 0}})}, "press 23202 press Cancel");
  EXPECT_NE(uiLogText().find("\"Could not open file for reading\""), std::string::npos) << uiLogText();
}

TEST_F(GeometryDialogs, ComplexLineButtonEditsTheCurrentRowsLine) {
  std::string edited;
  editComplex = [&](quv::GeometryLine& l) {
    edited = l.name;
    l.nodes = {{0, 0, 0}, {5, 1, 1}, {10, 2, 0}};
    return true;
  };
  auto saved = run({line("A", 11, {{0, 0, 0}, {10, 1, 0}}), line("B", 11, {{0, 0, 0}, {10, 1, 0}})},
                   "cell 23200 4 0 x press 23201 press OK");
  EXPECT_EQ(edited, "B");
  EXPECT_EQ(grid().text(3, 2), "COMPLEX");
  EXPECT_TRUE(saved.empty()) << "the complex dialog saved the line already";
}

// --- the complex dialog --------------------------------------------------------------

class ComplexDialog : public GeometryDialogs {
 protected:
  // Runs it; returns the nodes OK saved (none when OK refused or was not pressed).
  std::vector<GeoNode> runComplex(quv::GeometryLine l, const std::string& actions) {
    complex_ = std::make_unique<quv::CComplexGeometryDlg>(std::move(l), sandbox());
    std::vector<GeoNode> saved;
    complex_->save = [&](const quv::GeometryLine& out) { saved = out.nodes; };
    answer("answer dialog \"Edit Complex Line Geometry\" " + actions);
    complex_->doModal();
    return saved;
  }
  dv::GridModel& cgrid() { return *complex_->grid(quv::CComplexGeometryDlg::IDC_GRID); }
  std::unique_ptr<quv::CComplexGeometryDlg> complex_;
};

TEST_F(ComplexDialog, TraceNumbersAreLimitedAndTheNodesSorted) {
  auto saved = runComplex(line("L", 21, {{0, 0, 0}, {20, 20, 0}}),
                          "press 23211 cell 23210 3 1 0 cell 23210 1 1 30 cell 23210 2 1 11 press OK");
  // Insert after the current (none: at the end) gives a node on trace 20; the
  // typed 0 becomes index 0, 30 becomes index 20, then 11 (index 10).
  ASSERT_EQ(saved.size(), 3u) << uiLogText();
  EXPECT_EQ(saved[0].trace, 0);
  EXPECT_EQ(saved[1].trace, 10);
  EXPECT_EQ(saved[2].trace, 20);
  EXPECT_EQ(cgrid().text(1, 1), "1");
  EXPECT_EQ(cgrid().text(3, 1), "21");
  EXPECT_EQ(cgrid().text(1, 4), "") << "segment values sit on the end node's row";
  EXPECT_EQ(cgrid().text(3, 0), "");
  EXPECT_EQ(cgrid().text(1, 0), "L");
}

TEST_F(ComplexDialog, InsertGoesHalfwayAfterTheCurrentNodeAndDeleteRemovesIt) {
  auto saved = runComplex(line("L", 21, {{0, 0, 0}, {20, 20, 40}}),
                          "cell 23210 1 0 x press 23211 press OK");
  ASSERT_EQ(saved.size(), 3u);
  EXPECT_EQ(saved[1].trace, 10);
  EXPECT_DOUBLE_EQ(saved[1].easting, 10);
  EXPECT_DOUBLE_EQ(saved[1].northing, 20);
  EXPECT_EQ(cgrid().text(2, 5), "2.236") << "segment increment of the new node";
  saved = runComplex(line("L", 21, {{0, 0, 0}, {10, 5, 5}, {20, 20, 40}}),
                     "cell 23210 2 0 x press 23212 press OK");
  ASSERT_EQ(saved.size(), 2u);
  EXPECT_EQ(saved[1].trace, 20);
}

TEST_F(ComplexDialog, OkRefusesTooFewNodesAndNodesOnOneTrace) {
  auto saved = runComplex(line("L", 21, {{0, 0, 0}, {20, 1, 1}}),
                          "cell 23210 1 0 x press 23212 press OK "
                          "press 23211 press OK cell 23210 1 1 1 press OK");
  const std::string log = uiLogText();
  EXPECT_EQ(countOf(log, "message box \"Warning\": \"Must have at least 2 items for complex geometry\""), 1)
      << log;
  EXPECT_EQ(countOf(log, "message box \"Warning\": \"Nodes with same trace value are not allowed\""), 1)
      << log;
  ASSERT_EQ(saved.size(), 2u) << "the dialog stayed open until the nodes were right";
  EXPECT_EQ(saved[1].trace, 20);
}

TEST_F(ComplexDialog, CogExportWritesEveryNodeCountedFromOne) {
  const std::string file = join(freshDir("cog"), "nodes.cog");
  answer("answer file \"" + file + "\"");
  runComplex(line("L", 21, {{0, 0, 0}, {4, 1.5, 2}, {20, 3, -4}}), "press 23214 press Cancel");
  EXPECT_EQ(readFile(file), "/ Trace# Easting Northing\n1 0.00 0.00\n5 1.50 2.00\n21 3.00 -4.00\n");
}

}  // namespace
