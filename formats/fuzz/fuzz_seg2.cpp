// seeds: seg2
// The SEG-2 header reader on arbitrary bytes (through a temporary file, as
// it opens the path itself), then every trace it points at (bounded), then
// the header and those traces written back and read again.
#include <cstdlib>
#include <string>

#include "dv/file.h"
#include "scrivel/seg2.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::initLibrary();
  static const std::string in = fuzz::tempFile("seg2.sg2"), out = fuzz::tempFile("seg2_out.sg2");
  fuzz::writeFile(in, data, size);
  Seg2FHdr* h = nullptr;
  if (ReadSeg2FHdr(in.c_str(), &h) < 0) return 0;
  dv::File f;
  if (OpenFileForRead(in.c_str(), &f) != 0) {
    CleanupSeg2FHdr(h);
    return 0;
  }
  const int traces = h->traces < 64 ? h->traces : 64;
  Seg2TraceHdr* kept[64] = {};
  float* samples[64] = {};
  for (int i = 0; i < traces; ++i) ReadSeg2Trace(in.c_str(), &f, h, &kept[i], i, &samples[i], i & 1);
  f.close();

  // Written back: the first few traces that read.
  h->traces = (uint16_t)(traces < 4 ? traces : 4);
  if (WriteSeg2FHdr(out.c_str(), h) >= 0 && OpenFileForWrite(out.c_str(), &f) == 0) {
    for (int i = 0; i < h->traces; ++i)
      if (kept[i] && kept[i]->samples <= (1u << 16)) WriteSeg2Trace(out.c_str(), &f, h, kept[i], i, samples[i]);
    f.close();
  }
  for (int i = 0; i < traces; ++i) {
    std::free(kept[i]);
    std::free(samples[i]);
  }
  CleanupSeg2FHdr(h);
  return 0;
}
