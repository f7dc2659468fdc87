// The indexed bitmap: storage, nearest colour and conversion to RGB.
#include "dv/bitmap.h"

#include <algorithm>
#include <cstring>

namespace dv {

void IndexedBitmap::resize(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  stride_ = (width_ + 3) & ~3;
  pixels_.assign(size_t(stride_) * size_t(height_), 0);
}

void IndexedBitmap::fill(uint8_t index) {
  if (!pixels_.empty()) std::memset(pixels_.data(), index, pixels_.size());
}

uint8_t IndexedBitmap::nearestIndex(ColorRef c) const {
  const int r = int(c & 0xFF), g = int((c >> 8) & 0xFF), b = int((c >> 16) & 0xFF);
  int best = 0;
  int bestDistance = 1 << 30;
  for (int i = 0; i < 256; ++i) {
    const ColorRef e = colors_[size_t(i)];
    const int dr = int(e & 0xFF) - r, dg = int((e >> 8) & 0xFF) - g, db = int((e >> 16) & 0xFF) - b;
    const int d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
      if (d == 0) break;
    }
  }
  return uint8_t(best);
}

void IndexedBitmap::toRgb32(uint32_t* out, int outStride) const {
  uint32_t lut[256];
  for (int i = 0; i < 256; ++i) lut[i] = dv::toRgb32(colors_[size_t(i)]);
  for (int y = 0; y < height_; ++y) {
    const uint8_t* src = row(y);
    uint32_t* dst = out + size_t(y) * size_t(outStride);
    for (int x = 0; x < width_; ++x) dst[x] = lut[src[x]];
  }
}

std::vector<uint32_t> IndexedBitmap::toRgb32() const {
  std::vector<uint32_t> out(size_t(width_) * size_t(height_));
  toRgb32(out.data(), width_);
  return out;
}

}  // namespace dv
