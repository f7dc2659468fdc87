// seeds: ramac
// RAD header reader and RD3 trace reader on fuzz input: the bytes before
// the first NUL are the .RAD text, the bytes after it the .RD3 file.
// Whatever the readers accept is written back and read again.
#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "dv/file.h"
#include "scrivel/ramac.h"
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
  static const std::string rad = tempFile("in.rad"), rd3 = tempFile("in.rd3");
  static const std::string rad2 = tempFile("out.rad"), rd32 = tempFile("out.rd3");
  const uint8_t* nul = static_cast<const uint8_t*>(std::memchr(data, 0, size));
  const size_t radSize = nul ? (size_t)(nul - data) : size;
  writeInput(rad, data, radSize);
  writeInput(rd3, data + std::min(size, radSize + 1), size - std::min(size, radSize + 1));

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
