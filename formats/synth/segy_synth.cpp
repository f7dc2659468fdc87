// Synthetic SEG-Y recording: the shared section written through the
// library's own SEG-Y writers, little-endian (the native order), with an
// ASCII text header and sensible trace headers.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "dv/file.h"
#include "scrivel/segy.h"
#include "synth.h"

namespace synth {

namespace {

void put16(SegyTraceHdr& t, int offset, int v) {
  auto* p = reinterpret_cast<uint8_t*>(&t) + offset;
  p[0] = (uint8_t)v;
  p[1] = (uint8_t)(v >> 8);
}

void put32(SegyTraceHdr& t, int offset, int32_t v) {
  auto* p = reinterpret_cast<uint8_t*>(&t) + offset;
  for (int i = 0; i < 4; ++i) p[i] = (uint8_t)((uint32_t)v >> (8 * i));
}

}  // namespace

int writeSegy(const std::string& path, const LineRecipe& recipe) {
  // The code: 1..4 as given, 16 and 32 for the integer codes, else IEEE floats.
  uint16_t code = recipe.bits >= 1 && recipe.bits <= 4 ? (uint16_t)recipe.bits
                  : recipe.bits == 16                ? (uint16_t)SEGY_INT16
                  : recipe.bits == 32                ? (uint16_t)SEGY_INT32
                                                   : (uint16_t)SEGY_FLOAT32;
  SegyFHdr* h = nullptr;
  int rc = CreateSegyFHdr(&h);
  if (rc != 0) return rc;
  std::memset(h->text, ' ', sizeof h->text);
  for (int line = 0; line < 40; ++line) {
    char buf[81];
    std::snprintf(buf, sizeof buf, "C%2d %s", line + 1,
                  line == 0   ? "DELVAR synthetic radar line"
                  : line == 1 ? "direct wave, dipping reflectors, diffraction hyperbolas"
                              : "");
    std::memcpy(h->text + 80 * line, buf, std::strlen(buf));
  }
  const int n = recipe.samples < 0 ? 0 : recipe.samples > 65535 ? 65535 : recipe.samples;
  const double window = recipe.timeWindowNs > 0 ? recipe.timeWindowNs : 100.0;
  const double dtNs = n > 1 ? window / (n - 1) : window;
  const long dtField = std::lround(dtNs * 1000.0);  // the field counts 0.001 ns
  h->jobId = 1;
  h->lineNumber = 1;
  h->reelNumber = 1;
  h->sampleInterval = h->origSampleInterval = (uint16_t)(dtField > 65535 ? 65535 : dtField);
  h->samples = h->origSamples = (uint16_t)n;
  h->formatCode = code;
  h->cdpFold = 1;
  h->traceSorting = 1;
  h->measurementSystem = 1;
  h->traceCount = recipe.traces < 0 ? 0 : recipe.traces;
  int worst = WriteSegyFHdr(path.c_str(), h);
  if (worst < 0) {
    std::free(h);
    return worst;
  }
  dv::File f;
  rc = OpenFileForWrite(path.c_str(), &f);
  if (rc != 0) {
    std::free(h);
    return rc;
  }
  std::vector<float> s((size_t)n);
  for (int i = 0; i < h->traceCount; ++i) {
    SegyTraceHdr t{};
    put32(t, 0, i + 1);   // trace sequence number within line
    put32(t, 4, i + 1);   // within file
    put32(t, 8, 1);       // field record
    put32(t, 12, i + 1);  // trace number within the field record
    put16(t, 28, 1);      // trace identification: seismic data
    put16(t, 70, -100);   // coordinates in centimetres
    const int32_t x = (int32_t)std::lround(i * (double)recipe.traceSpacingM * 100.0);
    put32(t, 72, x);  // source X
    put32(t, 80, x);  // group X
    put16(t, 108, (int)std::lround(recipe.firstTimeNs));  // delay recording time
    put16(t, 114, n);
    put16(t, 116, (int)h->sampleInterval);
    for (int k = 0; k < n; ++k) s[(size_t)k] = amplitude(recipe, i, k);
    rc = WriteSegyTrace(path.c_str(), &f, h, &t, i, s.data());
    if (rc < 0) {
      worst = rc;
      break;
    }
    if (rc > worst) worst = rc;
  }
  f.close();
  std::free(h);
  return worst;
}

}  // namespace synth
