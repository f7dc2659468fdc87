// Wiggles: baselines and deflection, points per row or per sample, the
// left and right fills worked out by hand for one trace, drawing into the
// bitmap in the nearest colour entry, and the same through a canvas.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "display/colortable.h"
#include "display/image_wiggles.h"
#include "project/profile.h"

namespace {

struct Table {
  std::vector<quv::ByteTrace> traces;
  int samples = 0;
  quv::ByteTraceView view() const { return quv::ByteTraceView(traces, samples); }
  void add(const std::vector<uint8_t>& bytes) {
    samples = int(bytes.size());
    traces.emplace_back(new uint8_t[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), traces.back().get());
  }
};

// One trace of five samples, up to full positive then full negative, drawn
// on 21 rows (one point every 5 rows) over 41 columns with a deflection of
// a quarter: D = 10, baseline 20. Points (20,0) (30,5) (20,10) (10,15) (20,20).
struct Lobes {
  Table table;
  dv::Rect image{0, 0, 41, 21};
  std::vector<int> rows = std::vector<int>(21, -1);  // per-sample mode reads no row map
  quv::WiggleWindow window{0, 0, 0, 4};
  Lobes() { table.add({128, 255, 128, 0, 128}); }
  quv::WiggleStyle style(bool lines, bool left, bool right) const {
    quv::WiggleStyle s;
    s.lines = lines;
    s.fillLeft = left;
    s.fillRight = right;
    s.every = 1;
    s.deflection = 0.25f;
    return s;
  }
};

std::set<std::pair<int, int>> setPixels(const dv::IndexedBitmap& b, uint8_t background) {
  std::set<std::pair<int, int>> out;
  for (int y = 0; y < b.height(); ++y)
    for (int x = 0; x < b.width(); ++x)
      if (b.pixel(x, y) != background) out.insert({x, y});
  return out;
}

TEST(WiggleCurves, PointsPerSampleWhenTheRowsOutnumberTheSamples) {
  Lobes l;
  const auto curves = quv::wiggleCurves(l.image, l.rows, l.table.view(), l.window, l.style(true, false, false));
  ASSERT_EQ(curves.size(), 1u);
  EXPECT_EQ(curves[0].baseline, 20);  // one trace: Wp / 2 + left
  EXPECT_EQ(curves[0].points,
            (std::vector<dv::Point>{{20, 0}, {30, 5}, {20, 10}, {10, 15}, {20, 20}}));
  EXPECT_TRUE(curves[0].spans.empty());
}

TEST(WiggleCurves, BaselinesDeflectionAndPointsPerRow) {
  Table table;
  for (int t = 0; t < 11; ++t) {
    std::vector<uint8_t> bytes(300, 128);
    bytes[150] = 255;
    table.add(bytes);
  }
  // 300 samples shown on 100 rows: one point per row, the sample of its row.
  const dv::Rect image{80, 50, 581, 150};
  std::vector<int> rows(200, -1);
  for (int y = 50; y < 150; ++y) rows[y] = (y - 50) * 3;
  quv::WiggleStyle style;
  style.lines = true;
  style.every = 5;
  style.deflection = 2.0f;
  const auto curves = quv::wiggleCurves(image, rows, table.view(), {0, 10, 0, 299}, style);
  ASSERT_EQ(curves.size(), 3u);  // traces 0, 5, 10
  EXPECT_EQ(curves[0].baseline, 80);
  EXPECT_EQ(curves[1].baseline, 330);  // 5 * 500 / 10 + 80
  EXPECT_EQ(curves[2].baseline, 580);
  EXPECT_EQ(curves[1].trace, 5);
  ASSERT_EQ(curves[1].points.size(), 100u);
  EXPECT_EQ(curves[1].points[0], (dv::Point{330, 50}));
  // Row 100 shows sample 150: D = 500 * 2 / 10 = 100, so 127 * 100 / 128 + 330.5.
  EXPECT_EQ(curves[1].points[50], (dv::Point{429, 100}));

  // The first sample equal to the last: nothing to draw.
  EXPECT_TRUE(quv::wiggleCurves(image, rows, table.view(), {0, 10, 7, 7}, style).empty());
  // A step below 1 is one.
  style.every = 0;
  EXPECT_EQ(quv::wiggleCurves(image, rows, table.view(), {0, 10, 0, 299}, style).size(), 11u);
}

TEST(WiggleFills, RightFillCoversThePositiveLobeRowByRow) {
  Lobes l;
  dv::IndexedBitmap bitmap(41, 21);
  bitmap.fill(1);
  quv::drawWiggles(bitmap, l.image, l.rows, l.table.view(), l.window, l.style(false, false, true));
  std::set<std::pair<int, int>> expected;
  // Rows 0-4 rise from 20 to 28 (xc = 20 + 10 * y / 5), rows 5-9 fall from 30 to 22.
  const int rising[] = {20, 22, 24, 26, 28}, falling[] = {30, 28, 26, 24, 22};
  for (int y = 0; y < 5; ++y) {
    for (int x = 20; x <= rising[y]; ++x) expected.insert({x, y});
    for (int x = 20; x <= falling[y]; ++x) expected.insert({x, 5 + y});
  }
  // Where the curve meets the baseline the fill is the baseline pixel.
  expected.insert({20, 10});
  expected.insert({20, 20});
  EXPECT_EQ(setPixels(bitmap, 1), expected);
}

TEST(WiggleFills, LeftFillCoversTheNegativeLobeAndLinesEndOnTheirLastPoint) {
  Lobes l;
  dv::IndexedBitmap bitmap(41, 21);
  bitmap.fill(1);
  quv::drawWiggles(bitmap, l.image, l.rows, l.table.view(), l.window, l.style(false, true, false));
  std::set<std::pair<int, int>> expected = {{20, 0}};
  const int falling[] = {20, 18, 16, 14, 12}, rising[] = {10, 12, 14, 16, 18, 20};
  for (int y = 0; y < 5; ++y)
    for (int x = falling[y]; x <= 20; ++x) expected.insert({x, 10 + y});
  for (int y = 0; y < 6; ++y)  // the last pair takes its last row too
    for (int x = rising[y]; x <= 20; ++x) expected.insert({x, 15 + y});
  EXPECT_EQ(setPixels(bitmap, 1), expected);

  // The curve alone: every point, the last one included.
  bitmap.fill(1);
  quv::drawWiggles(bitmap, l.image, l.rows, l.table.view(), l.window, l.style(true, false, false));
  const auto line = setPixels(bitmap, 1);
  for (dv::Point p : {dv::Point{20, 0}, {30, 5}, {20, 10}, {10, 15}, {20, 20}})
    EXPECT_TRUE(line.count({p.x, p.y})) << p.x << "," << p.y;
  EXPECT_EQ(line.size(), 4u * 10u + 1u);  // four segments of 10 pixels without their ends, and the last point
}

TEST(WiggleFills, DrawnInTheNearestColourEntryAndClippedToTheImage) {
  Lobes l;
  dv::IndexedBitmap bitmap(60, 21);  // wider than the image rectangle
  quv::buildColorTable(quv::kGrayScale, 64, bitmap.colors());
  bitmap.fill(1);
  quv::WiggleStyle style = l.style(true, true, true);
  style.colour = dv::rgb(250, 0, 0);
  style.deflection = 1.0f;  // D = 40: the positive lobe reaches x = 60, the negative -19
  quv::drawWiggles(bitmap, l.image, l.rows, l.table.view(), l.window, style);
  const uint8_t red = 2 + 64 + 13;  // the system palette's pure red
  EXPECT_EQ(bitmap.nearestIndex(style.colour), red);
  const auto drawn = setPixels(bitmap, 1);
  for (auto [x, y] : drawn) {
    ASSERT_EQ(bitmap.pixel(x, y), red);
    ASSERT_LT(x, 41) << y;
  }
  EXPECT_TRUE(drawn.count({40, 5}));  // the fill of the peak row, cut at the image's edge
  EXPECT_TRUE(drawn.count({0, 15}));
}

TEST(WiggleFills, TheCanvasGetsTheClipThePenThePolylineItsLastPixelAndTheFillLines) {
  Lobes l;
  dv::RecordingCanvas canvas;
  quv::WiggleStyle style = l.style(true, false, true);
  style.colour = dv::rgb(0, 0, 255);
  quv::drawWiggles(canvas, l.image, l.rows, l.table.view(), l.window, style);
  const auto& calls = canvas.calls();
  ASSERT_GE(calls.size(), 4u);
  EXPECT_EQ(calls[0].kind, dv::CanvasCall::Clip);
  EXPECT_EQ(calls[0].rect.right, 41);
  EXPECT_EQ(calls.back().kind, dv::CanvasCall::ClipOff);
  const auto poly = canvas.calls(dv::CanvasCall::Polyline);
  ASSERT_EQ(poly.size(), 1u);
  EXPECT_EQ(poly[0].penColour, dv::rgb(0, 0, 255));
  EXPECT_EQ(poly[0].points.size(), 5u);
  const auto pixels = canvas.calls(dv::CanvasCall::Pixel);
  ASSERT_EQ(pixels.size(), 1u);
  EXPECT_EQ(pixels[0].points[0], (dv::Point{20, 20}));
  // Twelve fill rows: ten of the lobe and the two baseline meetings.
  const auto lines = canvas.calls(dv::CanvasCall::Line);
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[2].points, (std::vector<dv::Point>{{20, 2}, {25, 2}}));  // xc 24, drawn to xc + 1
  for (const auto& c : lines) EXPECT_TRUE(c.clipped);
}

}  // namespace
