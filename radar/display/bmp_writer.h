// The 8-bit bitmap file of an export and the packed bitmap of the
// clipboard (all integers little-endian):
//   file header (14 bytes): "BM", file size = stride * height + 1078, 0,
//     1078 (where the pixels begin);
//   bitmap header (40 bytes): size 40, width = the row stride (the width
//     rounded up to a multiple of 4), height positive (rows bottom-up),
//     1 plane, 8 bits per pixel, no compression, image size 0,
//     resolutions 0, colours used 0, colours important 0;
//   256 colour entries (blue, green, red, 0) of the bitmap's colour table;
//   the pixel rows, the bottom row first.
// The packed bitmap is the same without the file header.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dv/bitmap.h"

namespace quv {

constexpr int kBmpPixelOffset = 1078;

// The 14-byte file header and the 40-byte bitmap header with the colour table.
std::vector<uint8_t> bmpFileHeader(const dv::IndexedBitmap& bitmap);
std::vector<uint8_t> bmpInfoAndColours(const dv::IndexedBitmap& bitmap);
// Bitmap header, colours and rows: what the clipboard takes.
std::vector<uint8_t> packedDib(const dv::IndexedBitmap& bitmap);
// The file written as "<path>.part" and renamed over `path` when whole;
// false (and nothing left behind) when it could not be written.
bool writeBmpFile(const dv::IndexedBitmap& bitmap, const std::string& path);

}  // namespace quv
