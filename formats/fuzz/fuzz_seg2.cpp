// seeds: seg2
// The SEG-2 header reader on arbitrary bytes (through a temporary file, as
// it opens the path itself), then every trace it points at (bounded), then
// the header and those traces written back and read again.
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "dv/file.h"
#include "scrivel/seg2.h"
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
  return "/tmp/fuzz_seg2_" + std::to_string(getpid()) + tag;
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
  static const std::string in = tempPath(".sg2"), out = tempPath("_out.sg2");
  if (!writeAll(in, data, size)) return 0;
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
