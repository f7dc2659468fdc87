// seeds: ramac
// RAD header reader and RD3 trace reader on fuzz input: the bytes before
// the first NUL are the .RAD text, the bytes after it the .RD3 file.
// Whatever the readers accept is written back and read again.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "dv/file.h"
#include "scrivel/ramac.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::initLibrary();
  static const std::string rad = fuzz::tempFile("in.rad"), rd3 = fuzz::tempFile("in.rd3");
  static const std::string rad2 = fuzz::tempFile("out.rad"), rd32 = fuzz::tempFile("out.rd3");
  const uint8_t* nul = static_cast<const uint8_t*>(std::memchr(data, 0, size));
  const size_t radSize = nul ? (size_t)(nul - data) : size;
  fuzz::writeFile(rad, data, radSize);
  fuzz::writeFile(rd3, data + std::min(size, radSize + 1), size - std::min(size, radSize + 1));

  RamacFHdr* h = nullptr;
  if (ReadRamacFHdr(rad.c_str(), &h) < 0) {
    if (h) std::abort();
    return 0;
  }
  std::vector<std::vector<float>> traces;
  dv::File f;
  if (OpenFileForRead(rd3.c_str(), &f) == 0) {
    const int n = std::min(h->lastTrace, 2048);
    for (int i = -1; i <= n; ++i) {
      float* s = nullptr;
      if (ReadRamacTrace(rd3.c_str(), &f, h, i, &s, i > 8) >= 0) {
        if (traces.size() < 8) traces.emplace_back(s, s + h->samples);
        std::free(s);
      }
    }
    f.close();
  }
  if (WriteRamacFHdr(rad2.c_str(), h) == 0 && CreateFileForWrite(rd32.c_str(), &f) == 0) {
    for (size_t i = 0; i < traces.size(); ++i)
      WriteRamacTrace(rd32.c_str(), &f, h, (int)i, traces[i].data());
    f.close();
    RamacFHdr* back = nullptr;
    if (ReadRamacFHdr(rad2.c_str(), &back) < 0 && back) std::abort();
    delete back;
  }
  delete h;
  return 0;
}
