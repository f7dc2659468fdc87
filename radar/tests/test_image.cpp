// Pixel maps, the fill of the image bitmap compared index for index with an
// image computed here from the mapping and shift rules, and the frame.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "display/image.h"
#include "project/profile.h"

namespace {

// --- pixel maps ----------------------------------------------------------------

TEST(PixelMaps, TenTracesOnFiveHundredColumnsSpreadEachTraceOverManyColumns) {
  std::vector<int> map;
  quv::buildPixelMap(map, 600, 80, 580, 0, 9);
  ASSERT_EQ(map.size(), 600u);
  for (int x = 0; x < 80; ++x) ASSERT_EQ(map[x], -1) << x;
  for (int x = 580; x < 600; ++x) ASSERT_EQ(map[x], -1) << x;
  EXPECT_EQ(map[80], 0);
  EXPECT_EQ(map[579], 9);
  std::vector<int> columns(10, 0);
  for (int i = 0; i < 500; ++i) {
    ASSERT_EQ(map[80 + i], int((i + 0.5) * 9 / 499 + 0.5)) << i;
    if (i) {
      ASSERT_GE(map[80 + i], map[79 + i]);
    }
    ++columns[map[80 + i]];
  }
  // Interior traces about 55 columns, the two end traces half of that.
  for (int t = 1; t < 9; ++t) EXPECT_NEAR(columns[t], 55.4, 1.0) << t;
  EXPECT_NEAR(columns[0], 27.7, 2.0);
  EXPECT_NEAR(columns[9], 27.7, 2.0);
}

TEST(PixelMaps, FiveThousandTracesOnFiveHundredColumnsSkipTraces) {
  std::vector<int> map;
  quv::buildPixelMap(map, 500, 0, 500, 0, 4999);
  EXPECT_EQ(map[0], 0);
  EXPECT_EQ(map[1], 10);   // 10.018 + 0.5
  EXPECT_EQ(map[250], 2505);
  EXPECT_EQ(map[499], 4999);
  for (int i = 0; i < 500; ++i) ASSERT_EQ(map[i], int(i * 4999 / 499.0 + 0.5)) << i;

  // A zoom window starting further in is offset by its first trace.
  quv::buildPixelMap(map, 500, 0, 500, 1000, 5999);
  EXPECT_EQ(map[1], 1010);
  EXPECT_EQ(map[499], 5999);
}

TEST(PixelMaps, EdgeCasesOfTheAxis) {
  std::vector<int> map;
  // As many traces as pixels: one each.
  quv::buildPixelMap(map, 10, 0, 10, 5, 14);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(map[i], 5 + i);
  // One pixel shows the first trace (no division by P - 1 = 0).
  quv::buildPixelMap(map, 3, 1, 2, 7, 20);
  EXPECT_EQ(map, (std::vector<int>{-1, 7, -1}));
  // Nothing shown, or a rectangle beyond the map: no entry outside it is touched.
  quv::buildPixelMap(map, 4, 0, 4, 9, 3);
  EXPECT_EQ(map, (std::vector<int>{-1, -1, -1, -1}));
  quv::buildPixelMap(map, 4, -2, 6, 0, 7);
  EXPECT_EQ(map, (std::vector<int>{2, 3, 4, 5}));  // pixels -2..5 show traces 0..7

  quv::PixelMaps maps;
  quv::buildPixelMaps(300, 200, {80, 50, 280, 150}, 0, 9, 100, 199, maps);
  EXPECT_EQ(maps.columns.size(), 300u);
  EXPECT_EQ(maps.rows.size(), 200u);
  EXPECT_EQ(maps.rows[49], -1);
  EXPECT_EQ(maps.rows[50], 100);
  EXPECT_EQ(maps.rows[149], 199);
  EXPECT_EQ(maps.rows[150], -1);
}

// --- fill image ------------------------------------------------------------------

struct Table {
  std::vector<quv::ByteTrace> traces;
  int samples = 0;
  quv::ByteTraceView view() const { return quv::ByteTraceView(traces, samples); }
};

Table randomTable(int traces, int samples, unsigned seed) {
  std::mt19937 random(seed);
  Table t;
  t.samples = samples;
  for (int i = 0; i < traces; ++i) {
    t.traces.emplace_back(new uint8_t[size_t(samples)]);
    for (int j = 0; j < samples; ++j) t.traces.back()[j] = uint8_t(random());
  }
  // The extremes are always there.
  t.traces[0][0] = 0;
  t.traces[1][1] = 255;
  t.traces[2][2] = 254;
  return t;
}

// Which item pixel i of P shows, from the rule, written out here.
int shown(int i, int pixels, int first, int last) {
  const int k = last - first;
  if (k + 1 < pixels) return int(std::trunc((i + 0.5) * k / (pixels - 1) + first + 0.5));
  return int(std::trunc(double(i * k) / (pixels - 1) + first + 0.5));
}

TEST(FillImage, EveryPixelIsItsBytesShiftedIndexForEveryColourCount) {
  const Table table = randomTable(37, 90, 3);
  const dv::Rect image{20, 10, 190, 140};
  const int first = 4, last = 30, firstSample = 10, lastSample = 80;
  quv::PixelMaps maps;
  dv::IndexedBitmap bitmap(203, 150);
  quv::buildPixelMaps(203, 150, image, first, last, firstSample, lastSample, maps);
  const int counts[] = {8, 16, 32, 64, 128, 256};
  const int shifts[] = {5, 4, 3, 2, 1, 0};
  for (int c = 0; c < 6; ++c) {
    EXPECT_EQ(quv::colourShift(counts[c]), shifts[c]);
    bitmap.fill(77);
    quv::fillImage(bitmap, image, maps, counts[c], table.view());
    for (int y = 0; y < 150; ++y)
      for (int x = 0; x < 203; ++x) {
        int expected = 1;  // white outside the image rectangle
        if (x >= image.left && x < image.right && y >= image.top && y < image.bottom) {
          const int t = shown(x - image.left, image.right - image.left, first, last);
          const int s = shown(y - image.top, image.bottom - image.top, firstSample, lastSample);
          expected = std::min((table.traces[t][s] >> shifts[c]) + 2, 255);
        }
        ASSERT_EQ(bitmap.pixel(x, y), expected) << counts[c] << " colours, pixel " << x << "," << y;
      }
  }
}

TEST(FillImage, ByteExtremesAndTheClampFor256Colours) {
  EXPECT_EQ(quv::pixelIndex(255, 2), 65);  // 64 colours: 63 + 2
  EXPECT_EQ(quv::pixelIndex(0, 2), 2);
  EXPECT_EQ(quv::pixelIndex(128, 2), 34);
  EXPECT_EQ(quv::pixelIndex(253, 0), 255);
  EXPECT_EQ(quv::pixelIndex(254, 0), 255);  // 256 would be beyond the table
  EXPECT_EQ(quv::pixelIndex(255, 0), 255);
  EXPECT_EQ(quv::pixelIndex(255, 5), 9);

  // Traces shown one to one: the pixel of (0, 0), (1, 1) and (2, 2) carry the extremes.
  const Table table = randomTable(3, 3, 5);
  quv::PixelMaps maps;
  dv::IndexedBitmap bitmap(3, 3);
  quv::buildPixelMaps(3, 3, {0, 0, 3, 3}, 0, 2, 0, 2, maps);
  quv::fillImage(bitmap, {0, 0, 3, 3}, maps, 256, table.view());
  EXPECT_EQ(bitmap.pixel(0, 0), 2);
  EXPECT_EQ(bitmap.pixel(1, 1), 255);
  EXPECT_EQ(bitmap.pixel(2, 2), 255);
  quv::fillImage(bitmap, {0, 0, 3, 3}, maps, 64, table.view());
  EXPECT_EQ(bitmap.pixel(1, 1), 65);
  EXPECT_EQ(bitmap.pixel(2, 2), 65);
}

TEST(FillImage, TracesNotBuiltStayWhiteAndTheRectangleIsKeptToTheBitmap) {
  Table table = randomTable(6, 8, 9);
  table.traces[3].reset();
  dv::IndexedBitmap bitmap(10, 6);
  quv::PixelMaps maps;
  // A rectangle larger than the bitmap: the maps and the bitmap bound the fill.
  const dv::Rect image{-4, -2, 16, 12};
  quv::buildPixelMaps(10, 6, image, 0, 5, 0, 7, maps);
  quv::fillImage(bitmap, image, maps, 64, table.view());
  for (int x = 0; x < 10; ++x) {
    const int t = maps.columns[x];
    for (int y = 0; y < 6; ++y) {
      const int s = maps.rows[y];
      const int expected = t == 3 ? 1 : (table.traces[t][s] >> 2) + 2;
      ASSERT_EQ(bitmap.pixel(x, y), expected) << x << "," << y;
    }
  }
  // An empty table leaves all white.
  quv::fillImage(bitmap, image, maps, 64, quv::ByteTraceView());
  for (int i = 0; i < bitmap.stride() * bitmap.height(); ++i) ASSERT_EQ(bitmap.bits()[i], 1);
}

// --- frame --------------------------------------------------------------------------

TEST(Frame, OnePixelBlackJustOutsideTheImage) {
  dv::IndexedBitmap bitmap(12, 9);
  bitmap.fill(1);
  quv::drawFrame(bitmap, {3, 2, 9, 7});
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 12; ++x) {
      const bool edge = (x >= 2 && x <= 9 && (y == 1 || y == 7)) || (y >= 1 && y <= 7 && (x == 2 || x == 9));
      ASSERT_EQ(bitmap.pixel(x, y), edge ? 0 : 1) << x << "," << y;
    }

  dv::RecordingCanvas canvas;
  quv::drawFrame(canvas, {80, 50, 500, 400});
  const auto lines = canvas.calls(dv::CanvasCall::Polyline);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].penColour, dv::rgb(0, 0, 0));
  EXPECT_EQ(lines[0].points,
            (std::vector<dv::Point>{{79, 49}, {500, 49}, {500, 400}, {79, 400}, {79, 49}}));
}

}  // namespace
