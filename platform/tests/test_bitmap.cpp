// The indexed bitmap (rows top-down, stride rounded up to 4, colour table,
// nearest colour, conversion to RGB) and the recording canvas.
#include <gtest/gtest.h>

#include "dv/bitmap.h"
#include "dv/canvas.h"

namespace {

TEST(IndexedBitmap, RowsAreTopDownWithTheStrideRoundedUpToFour) {
  const int widths[] = {1, 3, 4, 5, 8, 9, 1023};
  const int strides[] = {4, 4, 4, 8, 8, 12, 1024};
  for (int i = 0; i < 7; ++i) {
    dv::IndexedBitmap b(widths[i], 3);
    EXPECT_EQ(b.stride(), strides[i]) << widths[i];
    EXPECT_EQ(b.row(2) - b.bits(), 2 * strides[i]);
  }
  dv::IndexedBitmap b(5, 2);
  b.setPixel(4, 0, 7);
  b.setPixel(0, 1, 9);
  EXPECT_EQ(b.bits()[4], 7);       // row 0 (the top) comes first in memory
  EXPECT_EQ(b.bits()[8], 9);       // row 1 begins one stride later
  // Outside the picture nothing is written and 0 is read.
  b.setPixel(5, 0, 1);
  b.setPixel(-1, 0, 1);
  b.setPixel(0, 2, 1);
  EXPECT_EQ(b.bits()[5], 0);
  EXPECT_EQ(b.pixel(5, 0), 0);
  EXPECT_EQ(b.pixel(0, -1), 0);

  b.fill(1);
  for (int i = 0; i < 2 * b.stride(); ++i) ASSERT_EQ(b.bits()[i], 1) << i;
  b.colors()[3] = 0x123456;
  b.resize(6, 4);  // a new size clears the pixels and keeps the table
  EXPECT_EQ(b.pixel(0, 0), 0);
  EXPECT_EQ(b.color(3), 0x123456u);
  b.resize(-3, 2);
  EXPECT_TRUE(b.empty());
  EXPECT_EQ(b.stride(), 0);
}

TEST(IndexedBitmap, ConvertsToRgbThroughItsTableAndFindsTheNearestColour) {
  EXPECT_EQ(dv::toRgb32(dv::rgb(0x12, 0x34, 0x56)), 0xFF123456u);
  dv::IndexedBitmap b(3, 2);
  b.colors()[1] = dv::rgb(255, 255, 255);
  b.colors()[2] = dv::rgb(200, 10, 10);
  b.colors()[5] = dv::rgb(10, 10, 200);
  b.colors()[6] = dv::rgb(10, 10, 200);  // same colour again
  b.setPixel(0, 0, 1);
  b.setPixel(1, 0, 2);
  b.setPixel(2, 1, 5);
  const std::vector<uint32_t> rgb = b.toRgb32();
  ASSERT_EQ(rgb.size(), 6u);
  EXPECT_EQ(rgb[0], 0xFFFFFFFFu);
  EXPECT_EQ(rgb[1], 0xFFC80A0Au);
  EXPECT_EQ(rgb[2], 0xFF000000u);
  EXPECT_EQ(rgb[5], 0xFF0A0AC8u);

  EXPECT_EQ(b.nearestIndex(dv::rgb(255, 255, 255)), 1);
  EXPECT_EQ(b.nearestIndex(dv::rgb(250, 0, 0)), 2);
  EXPECT_EQ(b.nearestIndex(dv::rgb(0, 0, 255)), 5);  // the lowest of two equal entries
  EXPECT_EQ(b.nearestIndex(dv::rgb(0, 0, 0)), 0);    // the zeroed entries: the first of them
}

TEST(RecordingCanvas, KeepsEveryCallWithTheStateItWasMadeIn) {
  dv::RecordingCanvas c;
  c.setPen(dv::rgb(1, 2, 3), 2, dv::PenStyle::Dot);
  c.setClip({10, 20, 30, 40});
  c.line(1, 2, 3, 4);
  c.clearClip();
  dv::FontDesc font;
  font.height = -12;
  font.escapement = 900;
  c.setFont(font);
  c.setTextColor(dv::rgb(0, 0, 255));
  c.setTextAlign(dv::kTextRight | dv::kTextBottom);
  c.text(50, 60, "Time (ns)");

  const auto lines = c.calls(dv::CanvasCall::Line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].points, (std::vector<dv::Point>{{1, 2}, {3, 4}}));
  EXPECT_EQ(lines[0].penColour, dv::rgb(1, 2, 3));
  EXPECT_EQ(lines[0].penStyle, dv::PenStyle::Dot);
  EXPECT_TRUE(lines[0].clipped);
  EXPECT_EQ(lines[0].clip.right, 30);
  const auto texts = c.calls(dv::CanvasCall::Text);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].points[0], (dv::Point{50, 60}));
  EXPECT_EQ(texts[0].align, unsigned(dv::kTextRight | dv::kTextBottom));
  EXPECT_EQ(texts[0].font.escapement, 900);
  EXPECT_EQ(texts[0].colour, dv::rgb(0, 0, 255));
  EXPECT_FALSE(texts[0].clipped);
  // Extents are deterministic: half the height per character unless a width is given.
  EXPECT_EQ(c.textExtent("abcd").cx, 24);
  EXPECT_EQ(c.textExtent("abcd").cy, 12);
}

}  // namespace
