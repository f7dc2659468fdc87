// The colour image of a display: the pixel maps that tie pixel columns to
// traces and pixel rows to samples, the filling of the indexed bitmap from
// the byte traces through them, and the frame around the image rectangle.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "project/display_settings.h"
#include "dv/bitmap.h"
#include "dv/canvas.h"

namespace quv {

// A byte-trace table as drawing reads it: one pointer per trace (null for
// a trace not built), each `samples` bytes long.
class ByteTraceView {
 public:
  ByteTraceView() = default;
  ByteTraceView(const std::vector<std::unique_ptr<uint8_t[]>>& table, int samples)
      : table_(table.data()), count_(int(table.size())), samples_(samples) {}
  int count() const { return count_; }
  int samples() const { return samples_; }
  // Null outside the table or for a trace not built.
  const uint8_t* trace(int i) const { return i >= 0 && i < count_ ? table_[i].get() : nullptr; }

 private:
  const std::unique_ptr<uint8_t[]>* table_ = nullptr;
  int count_ = 0, samples_ = 0;
};

// One axis of the pixel maps: `count` entries, all -1 except pixels from..to-1
// (P = to - from), which show the items first..last (K = last - first):
//  fewer items than pixels (K + 1 < P): map[from + i] = trunc((i + 0.5) * K / (P - 1) + first + 0.5);
//  otherwise:                          map[from + i] = trunc(i * K / (P - 1) + first + 0.5), i * K an integer.
// A single pixel shows `first`. Pixels outside 0..count-1 are left out.
void buildPixelMap(std::vector<int>& map, int count, int from, int to, int first, int last);

struct PixelMaps {
  std::vector<int> columns;  // trace per pixel column
  std::vector<int> rows;     // sample per pixel row
};
// Both maps for a client of `columns` x `rows` pixels and the image
// rectangle `image`, showing traces firstTrace..lastTrace and samples
// firstSample..lastSample.
void buildPixelMaps(int columns, int rows, const dv::Rect& image, int firstTrace, int lastTrace,
                    int firstSample, int lastSample, PixelMaps& maps);

// The right shift of a byte for a number of colours: 8 -> 5, 16 -> 4,
// 32 -> 3, 64 -> 2, 128 -> 1, 256 -> 0 (other counts as validColourCount).
int colourShift(int colours);
// The colour index of a byte: (byte >> shift) + 2, kept to 255 (with 256
// colours the bytes 254 and 255 would fall beyond the table).
inline uint8_t pixelIndex(uint8_t byte, int shift) {
  const int index = (byte >> shift) + 2;
  return uint8_t(index > 255 ? 255 : index);
}

// Sets the whole bitmap to white (index 1), then every pixel of the image
// rectangle (within the bitmap) to the index of byte trace columns[x] at
// sample rows[y]. Pixels with no trace, no sample or a trace not built stay white.
void fillImage(dv::IndexedBitmap& bitmap, const dv::Rect& image, const PixelMaps& maps,
               int colours, const ByteTraceView& bytes);

// The one-pixel black frame just outside the image rectangle, through
// (left-1, top-1), (right, top-1), (right, bottom), (left-1, bottom).
void drawFrame(dv::Canvas& canvas, const dv::Rect& image);
void drawFrame(dv::IndexedBitmap& bitmap, const dv::Rect& image);

// A stored logical font as the canvas takes it.
dv::FontDesc fontDesc(const LogFont& font);

}  // namespace quv
