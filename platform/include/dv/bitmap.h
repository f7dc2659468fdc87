// The 8-bit indexed bitmap that images and wiggles are drawn into: width and
// height in pixels, rows of `stride` bytes (the width rounded up to a
// multiple of 4), a 256-entry colour table of colour references and one
// colour index per pixel. Rows are kept top-down in memory: row 0 is the
// top row of the picture, as the displays address it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "dv/grid.h"

namespace dv {

using ColorTable = std::array<ColorRef, 256>;

// 0x00BBGGRR -> 0xFFRRGGBB (the 32-bit RGB layout of screen images).
inline constexpr uint32_t toRgb32(ColorRef c) {
  return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

class IndexedBitmap {
 public:
  IndexedBitmap() { colors_.fill(0); }
  IndexedBitmap(int width, int height) : IndexedBitmap() { resize(width, height); }

  // New size; every pixel becomes index 0, the colour table is kept.
  // Negative sizes count as 0.
  void resize(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  int stride() const { return stride_; }
  bool empty() const { return width_ == 0 || height_ == 0; }

  uint8_t* bits() { return pixels_.data(); }
  const uint8_t* bits() const { return pixels_.data(); }
  uint8_t* row(int y) { return pixels_.data() + size_t(y) * size_t(stride_); }
  const uint8_t* row(int y) const { return pixels_.data() + size_t(y) * size_t(stride_); }

  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  // Index at (x, y); 0 outside the bitmap.
  uint8_t pixel(int x, int y) const { return contains(x, y) ? row(y)[x] : 0; }
  // Writes inside the bitmap only.
  void setPixel(int x, int y, uint8_t index) {
    if (contains(x, y)) row(y)[x] = index;
  }
  // Every pixel, including the padding at the end of each row.
  void fill(uint8_t index);

  ColorTable& colors() { return colors_; }
  const ColorTable& colors() const { return colors_; }
  ColorRef color(int index) const { return colors_[size_t(index & 255)]; }

  // The colour-table index closest to `c` (smallest squared distance in
  // red, green and blue; the lowest index among equals), as drawing with an
  // arbitrary colour into an indexed picture takes it.
  uint8_t nearestIndex(ColorRef c) const;

  // The picture as 32-bit RGB (0xFFRRGGBB), `outStride` pixels per row.
  void toRgb32(uint32_t* out, int outStride) const;
  std::vector<uint32_t> toRgb32() const;

 private:
  int width_ = 0, height_ = 0, stride_ = 0;
  std::vector<uint8_t> pixels_;
  ColorTable colors_;
};

}  // namespace dv
