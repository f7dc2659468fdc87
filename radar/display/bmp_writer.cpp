// The 8-bit bitmap file and the packed bitmap.
#include "display/bmp_writer.h"

#include <cstdio>

#include "dv/file.h"

namespace quv {

namespace {

void put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int k = 0; k < 4; ++k) out.push_back(uint8_t(v >> (8 * k)));
}
void put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

uint32_t pixelBytes(const dv::IndexedBitmap& b) { return uint32_t(b.stride()) * uint32_t(b.height()); }

}  // namespace

std::vector<uint8_t> bmpFileHeader(const dv::IndexedBitmap& b) {
  std::vector<uint8_t> h{'B', 'M'};
  put32(h, pixelBytes(b) + kBmpPixelOffset);
  put32(h, 0);
  put32(h, kBmpPixelOffset);
  return h;
}

std::vector<uint8_t> bmpInfoAndColours(const dv::IndexedBitmap& b) {
  std::vector<uint8_t> h;
  h.reserve(40 + 1024);
  put32(h, 40);
  put32(h, uint32_t(b.stride()));
  put32(h, uint32_t(b.height()));
  put16(h, 1);
  put16(h, 8);
  for (int k = 0; k < 6; ++k) put32(h, 0);  // compression, image size, resolutions, colours
  for (dv::ColorRef c : b.colors()) {
    h.push_back(uint8_t(c >> 16));  // blue
    h.push_back(uint8_t(c >> 8));   // green
    h.push_back(uint8_t(c));        // red
    h.push_back(0);
  }
  return h;
}

std::vector<uint8_t> packedDib(const dv::IndexedBitmap& b) {
  std::vector<uint8_t> out = bmpInfoAndColours(b);
  out.reserve(out.size() + pixelBytes(b));
  for (int y = b.height() - 1; y >= 0; --y) out.insert(out.end(), b.row(y), b.row(y) + b.stride());
  return out;
}

bool writeBmpFile(const dv::IndexedBitmap& b, const std::string& path) {
  if (b.empty()) return false;
  const std::string part = path + ".part";
  std::FILE* f = std::fopen(part.c_str(), "wb");
  if (!f) return false;
  // Rows go out in large blocks rather than one small write each.
  std::vector<char> buffer(size_t(1) << 20);
  std::setvbuf(f, buffer.data(), _IOFBF, buffer.size());
  const std::vector<uint8_t> head = bmpFileHeader(b), info = bmpInfoAndColours(b);
  bool ok = std::fwrite(head.data(), 1, head.size(), f) == head.size() &&
            std::fwrite(info.data(), 1, info.size(), f) == info.size();
  const size_t stride = size_t(b.stride());
  for (int y = b.height() - 1; ok && y >= 0; --y) ok = std::fwrite(b.row(y), 1, stride, f) == stride;
  ok = std::fclose(f) == 0 && ok;
  if (ok && dv::renameFile(part, path)) return true;
  dv::removeFile(part);
  return false;
}

}  // namespace quv
