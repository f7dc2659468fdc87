// seeds: segy
// The SEG-Y header reader on arbitrary bytes (through a temporary file, as
// it opens the path itself), then every trace (bounded), then the header and
// those traces written back.
#include <cstdlib>
#include <string>

#include "dv/file.h"
#include "scrivel/segy.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::initLibrary();
  static const std::string in = fuzz::tempFile("segy.sgy"), out = fuzz::tempFile("segy_out.sgy");
  fuzz::writeFile(in, data, size);
  SegyFHdr* h = nullptr;
  if (ReadSegyFHdr(in.c_str(), &h) < 0) return 0;
  int count = 0;
  ComputeSegyNumTraces(in.c_str(), h, &count);
  dv::File f;
  if (OpenFileForRead(in.c_str(), &f) != 0) {
    std::free(h);
    return 0;
  }
  // Every counted trace (bounded), and one past the end, which closes f.
  const int traces = h->traceCount < 64 ? h->traceCount : 64;
  SegyTraceHdr* kept[65] = {};
  float* samples[65] = {};
  for (int i = 0; i <= traces; ++i) ReadSegyTrace(in.c_str(), &f, h, &kept[i], i, &samples[i], i & 1);
  f.close();

  h->traceCount = traces < 4 ? traces : 4;
  if (WriteSegyFHdr(out.c_str(), h) >= 0 && OpenFileForWrite(out.c_str(), &f) == 0) {
    for (int i = 0; i < h->traceCount; ++i)
      if (kept[i]) WriteSegyTrace(out.c_str(), &f, h, kept[i], i, samples[i]);
    f.close();
  }
  for (int i = 0; i <= traces; ++i) {
    std::free(kept[i]);
    std::free(samples[i]);
  }
  std::free(h);
  return 0;
}
