// seeds: pekko
// HD header reader and DT1 trace reader on fuzz input: the bytes before the
// first NUL are the .HD text, the bytes after it the .DT1 file. Whatever the
// readers accept is written back and read again.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "dv/file.h"
#include "scrivel/pekko.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::initLibrary();
  static const std::string hd = fuzz::tempFile("in.HD"), dt1 = fuzz::tempFile("in.DT1");
  static const std::string hd2 = fuzz::tempFile("out.HD"), dt2 = fuzz::tempFile("out.DT1");
  const uint8_t* nul = static_cast<const uint8_t*>(std::memchr(data, 0, size));
  const size_t hdSize = nul ? (size_t)(nul - data) : size;
  fuzz::writeFile(hd, data, hdSize);
  fuzz::writeFile(dt1, data + std::min(size, hdSize + 1), size - std::min(size, hdSize + 1));

  PekkoFHdr* h = nullptr;
  int rc = ReadPekkoFHdr(hd.c_str(), &h);
  if (rc < 0) {
    delete h;  // refusals after the record was made leave it with the caller
    return 0;
  }
  std::vector<PekkoTraceHdr*> kept;
  std::vector<std::vector<float>> traces;
  dv::File f;
  if (OpenFileForRead(dt1.c_str(), &f) == 0) {
    const int n = std::min(h->traces, 2048);
    for (int i = -1; i <= n; ++i) {
      PekkoTraceHdr* th = nullptr;
      float* s = nullptr;
      if (ReadPekkoTrace(dt1.c_str(), &f, h, &th, i, &s, i > 8) >= 0) {
        if (std::strlen(th->comment) > 28) std::abort();
        if (kept.size() < 8) {
          kept.push_back(th);
          traces.emplace_back(s, s + std::max(h->points, 0));
        } else {
          delete th;
        }
        std::free(s);
      }
    }
    f.close();
  }
  if (WritePekkoFHdr(hd2.c_str(), h) == 0 && CreateFileForWrite(dt2.c_str(), &f) == 0) {
    for (size_t i = 0; i < kept.size(); ++i)
      WritePekkoTrace(dt2.c_str(), &f, kept[i], (int)i, traces[i].data());
    f.close();
    PekkoFHdr* back = nullptr;
    ReadPekkoFHdr(hd2.c_str(), &back);
    delete back;
  }
  for (PekkoTraceHdr* th : kept) delete th;
  delete h;
  return 0;
}
