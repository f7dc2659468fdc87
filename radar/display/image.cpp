// Pixel maps, image filling and the frame.
#include "display/image.h"

#include <algorithm>
#include <cstring>

#include "display/colortable.h"

namespace quv {

void buildPixelMap(std::vector<int>& map, int count, int from, int to, int first, int last) {
  map.assign(size_t(std::max(count, 0)), -1);
  const int pixels = to - from;
  const int span = last - first;
  if (pixels <= 0 || span < 0) return;
  for (int i = 0; i < pixels; ++i) {
    const int at = from + i;
    if (at < 0 || at >= count) continue;
    int item;
    if (pixels == 1) item = first;
    else if (span + 1 < pixels) item = int((i + 0.5) * span / (pixels - 1) + first + 0.5);
    else item = int(double(int64_t(i) * span) / (pixels - 1) + first + 0.5);
    map[size_t(at)] = item;
  }
}

void buildPixelMaps(int columns, int rows, const dv::Rect& image, int firstTrace, int lastTrace,
                    int firstSample, int lastSample, PixelMaps& maps) {
  buildPixelMap(maps.columns, columns, image.left, image.right, firstTrace, lastTrace);
  buildPixelMap(maps.rows, rows, image.top, image.bottom, firstSample, lastSample);
}

int colourShift(int colours) {
  int shift = 5;
  for (int n = validColourCount(colours); n > 8; n /= 2) --shift;
  return shift;
}

void fillImage(dv::IndexedBitmap& bitmap, const dv::Rect& image, const PixelMaps& maps,
               int colours, const ByteTraceView& bytes) {
  bitmap.fill(kWhiteIndex);
  const int x0 = std::max(image.left, 0);
  const int x1 = std::min({image.right, bitmap.width(), int(maps.columns.size())});
  const int y0 = std::max(image.top, 0);
  const int y1 = std::min({image.bottom, bitmap.height(), int(maps.rows.size())});
  if (x0 >= x1 || y0 >= y1) return;

  const int shift = colourShift(colours);
  uint8_t lut[256];
  for (int b = 0; b < 256; ++b) lut[b] = pixelIndex(uint8_t(b), shift);

  // The trace of every column, looked up once per fill rather than per pixel.
  std::vector<const uint8_t*> column(size_t(x1 - x0));
  bool complete = true;
  for (int x = x0; x < x1; ++x) {
    const uint8_t* trace = bytes.trace(maps.columns[size_t(x)]);
    column[size_t(x - x0)] = trace;
    complete = complete && trace;
  }
  const uint8_t* const* traces = column.data();
  const int width = x1 - x0;
  for (int y = y0; y < y1; ++y) {
    const int s = maps.rows[size_t(y)];
    if (s < 0 || s >= bytes.samples()) continue;
    uint8_t* out = bitmap.row(y) + x0;
    if (complete) {
      for (int i = 0; i < width; ++i) out[i] = lut[traces[i][s]];
    } else {
      for (int i = 0; i < width; ++i)
        if (traces[i]) out[i] = lut[traces[i][s]];
    }
  }
}

void drawFrame(dv::Canvas& canvas, const dv::Rect& r) {
  canvas.setPen(dv::rgb(0, 0, 0));
  const dv::Point corners[5] = {{r.left - 1, r.top - 1},
                                {r.right, r.top - 1},
                                {r.right, r.bottom},
                                {r.left - 1, r.bottom},
                                {r.left - 1, r.top - 1}};
  canvas.polyline(corners, 5);
}

void drawFrame(dv::IndexedBitmap& bitmap, const dv::Rect& r) {
  // Only the part inside the bitmap is walked: a page zoomed deep puts the
  // frame of its traces box far beyond it.
  const int x1 = std::min(r.right, bitmap.width()), y1 = std::min(r.bottom, bitmap.height());
  for (int x = std::max(r.left - 1, 0); x <= x1; ++x) {
    bitmap.setPixel(x, r.top - 1, kBlackIndex);
    bitmap.setPixel(x, r.bottom, kBlackIndex);
  }
  for (int y = std::max(r.top - 1, 0); y <= y1; ++y) {
    bitmap.setPixel(r.left - 1, y, kBlackIndex);
    bitmap.setPixel(r.right, y, kBlackIndex);
  }
}

dv::FontDesc fontDesc(const LogFont& font) {
  dv::FontDesc fs;
  fs.height = font.height;
  fs.width = font.width;
  fs.escapement = font.escapement;
  fs.weight = font.weight;
  fs.italic = font.italic != 0;
  fs.underline = font.underline != 0;
  fs.strikeOut = font.strikeOut != 0;
  fs.face = faceName(font);
  return fs;
}

}  // namespace quv
