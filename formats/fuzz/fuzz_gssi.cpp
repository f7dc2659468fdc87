// seeds: gssi
// DZT header reader and trace reader on fuzz input, then the writers on
// whatever record the reader accepted. Messages are formatted for real so a
// wrong argument for a message's format shows up under the sanitizers.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "dv/file.h"
#include "scrivel/gssi.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::initLibrary();
  static const std::string in = fuzz::tempFile("in.DZT"), out = fuzz::tempFile("out.DZT");
  fuzz::writeFile(in, data, size);
  GssiFHdr* h = nullptr;
  if (ReadGssiFHdr(in.c_str(), &h) < 0) {
    if (h) std::abort();  // a refused header leaves no record
    return 0;
  }
  std::vector<std::vector<float>> traces;
  std::vector<int> marks;
  dv::File f;
  if (OpenFileForRead(in.c_str(), &f) == 0) {
    const int n = std::min(h->traceCount, 4096);
    for (int i = -1; i <= n; ++i) {
      float* s = nullptr;
      int mark = 0;
      if (ReadGssiTrace(in.c_str(), &f, h, i, &mark, &s, i > 8) >= 0) {
        if (traces.size() < 8) {
          traces.emplace_back(s, s + h->NSamp);
          marks.push_back(mark);
        }
        std::free(s);
      }
    }
    f.close();
  }
  if (WriteGssiFHdr(out.c_str(), h) >= 0 && OpenFileForWrite(out.c_str(), &f) == 0) {
    for (size_t i = 0; i < traces.size(); ++i)
      WriteGssiTrace(out.c_str(), &f, h, (int)i, marks[i], traces[i].data());
    f.close();
    GssiFHdr* back = nullptr;
    if (ReadGssiFHdr(out.c_str(), &back) >= 0) CleanupGssiFHdr(back);
  }
  CleanupGssiFHdr(h);
  return 0;
}
