// seeds: segy
// The SEG-Y header reader on arbitrary bytes (through a temporary file, as
// it opens the path itself), then every trace (bounded), then the header and
// those traces written back.
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "dv/file.h"
#include "scrivel/segy.h"
#include "scrivel_internal.h"

extern "C" int InitModule(DV_STARTUP_PARAMS);

namespace {

// Formats every message as the framework would, so a wrong argument list
// shows up under the sanitizers.
int formatMessage(int, int, int number, ...) {
  const char* format = scrivel::messageText(number);
  if (!format) std::abort();
  char buf[4096];
  va_list ap;
  va_start(ap, number);
  std::vsnprintf(buf, sizeof buf, format, ap);
  va_end(ap);
  return 0;
}

DvFunc g_framework[PONTRA_SLOT_COUNT];
DvFunc* g_tables[DV_MODULE_SLOTS];

std::string tempPath(const char* tag) {
  return "/tmp/fuzz_segy_" + std::to_string(getpid()) + tag;
}

bool writeAll(const std::string& path, const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  g_framework[PONTRA_IDMsgOut] = reinterpret_cast<DvFunc>(&formatMessage);
  g_tables[0] = g_framework;
  InitModule(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, g_tables, nullptr, nullptr, 0, 0);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string in = tempPath(".sgy"), out = tempPath("_out.sgy");
  if (!writeAll(in, data, size)) return 0;
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
