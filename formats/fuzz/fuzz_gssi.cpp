// seeds: gssi
// DZT header reader and trace reader on fuzz input, then the writers on
// whatever record the reader accepted. Messages are formatted for real so a
// wrong argument for a message's format shows up under the sanitizers.
#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "dv/file.h"
#include "scrivel/gssi.h"
#include "scrivel_internal.h"

extern "C" int InitModule(DV_STARTUP_PARAMS);

namespace {

int formatMessage(int kind, int moduleId, int number, ...) {
  char buf[1024];
  const char* format = scrivel::messageText(number);
  if (!format) std::abort();
  va_list ap;
  va_start(ap, number);
  std::vsnprintf(buf, sizeof buf, format, ap);
  va_end(ap);
  return 0;
}

void installMessages() {
  static DvFunc framework[PONTRA_SLOT_COUNT] = {};
  static DvFunc* tables[DV_MODULE_SLOTS] = {};
  framework[PONTRA_IDMsgOut] = reinterpret_cast<DvFunc>(&formatMessage);
  tables[DV_MODULE_FRAMEWORK] = framework;
  InitModule(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, tables, nullptr, nullptr, 0, 0);
}

std::string tempFile(const char* name) {
  return "/tmp/delvar_fuzz_" + std::to_string(::getpid()) + "_" + name;
}

void writeInput(const std::string& path, const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = (installMessages(), true);
  (void)ready;
  static const std::string in = tempFile("in.DZT"), out = tempFile("out.DZT");
  writeInput(in, data, size);
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
