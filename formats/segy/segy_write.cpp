// SEG-Y header writer and trace writer.
#include <cmath>
#include <cstring>
#include <vector>

#include "convert.h"
#include "dv/file.h"
#include "segy_common.h"
#include "trace_io.h"

using namespace scrivel;
using namespace scrivel::segy;

namespace {

// The exponent and mantissa of a code 4 sample: the value is halved until
// its magnitude, truncated, fits the 16-bit mantissa (m × 2^e).
void fixedGain(float value, int sample, int trace, const char* path, int* result, int* e,
               long* m) {
  double v = std::isnan(value) ? 0.0 : (double)value;
  int exp = 0;
  while (exp < 255 && std::trunc(std::fabs(v)) > 32767.0) {
    v /= 2.0;
    ++exp;
  }
  *e = exp;
  *m = roundClip(v, -32768, 32767, sample, trace, path, result);
}

}  // namespace

DV_EXPORT int WriteSegyFHdr(const char* path, SegyFHdr* hdr) {
  if (!hdr) return SCRIVEL_ERR_CREATE;
  dv::File f;
  int rc = CreateFileForWrite(path, &f);
  if (rc != SCRIVEL_OK) return rc;
  // The stored trace count is 16 bits; the full count stays in the record.
  if (hdr->traceCount > 0)
    hdr->traces = (uint16_t)(hdr->traceCount > SEGY_MAX_FIELD_TRACES ? SEGY_MAX_FIELD_TRACES
                                                                     : hdr->traceCount);
  uint8_t image[SEGY_RECORD_IMAGE_SIZE];
  encodeImage(*hdr, image);
  if (hdr->extendedHeaders <= 0) {
    f.write(image, sizeof image);
  } else {
    // The extended text headers the record counts keep their place as
    // blank cards in the text header's own code (EBCDIC or ASCII), so the
    // traces stay where the binary header's count puts them.
    f.write(image, SEGY_FILE_HEADER_SIZE);
    const bool ebcdic = (uint8_t)hdr->text[0] == 0xC3;
    std::vector<uint8_t> blank(SEGY_EXTENDED_HEADER_SIZE, ebcdic ? 0x40 : ' ');
    for (int k = 0; k < hdr->extendedHeaders; ++k) f.write(blank.data(), blank.size());
  }
  f.close();
  return SCRIVEL_OK;
}

DV_EXPORT int WriteSegyTrace(const char* path, dv::File* file, SegyFHdr* hdr, SegyTraceHdr* thdr,
                             int index, float* samples) {
  if (!path) path = "";
  if (!hdr || !segyKnownCode(hdr->formatCode)) {
    report(10011, path);
    return SCRIVEL_ERR_SEGY_FORMAT;
  }
  const int64_t at = segyTraceOffset(*hdr, index);
  if (!file || !thdr || index < 0 || !seekTo(*file, at)) {
    report(10043, index + 1, path);
    return SCRIVEL_ERR_SEEK;
  }
  const bool be = hdr->bigEndian != 0;
  const int code = hdr->formatCode;
  // As many samples as the file's trace layout holds: the trace header's
  // own count may disagree with the file header, and writing that many
  // would overlap the next trace and run past the caller's array.
  const size_t n = hdr->samples;
  const int bps = segyBytesPerSample(code);
  std::vector<uint8_t> out(SEGY_TRACE_HEADER_SIZE + n * bps, 0);
  std::memcpy(out.data(), thdr, SEGY_TRACE_HEADER_SIZE);
  uint8_t* d = out.data() + SEGY_TRACE_HEADER_SIZE;
  // The reader takes the binary gain off integer samples; put it back so a
  // trace read and written again keeps its values.
  const int g = (code == SEGY_INT32 || code == SEGY_INT16) ? gainExponent(*thdr, be) : 0;
  // A file read as IBM floats is written back as IBM floats.
  const bool ibm = segyIbm(*hdr);
  int result = SCRIVEL_OK;
  if (code == SEGY_INT32 || code == SEGY_INT16 || code == SEGY_INT8) {
    // The integer codes by the shared whole-trace conversion (the values
    // of the per-sample clipping rule, without its checks for traces
    // inside the range), the gain put back first.
    static thread_local std::vector<float> gained;
    const float* v = samples;
    if (g || !samples) {
      gained.resize(n);
      for (size_t i = 0; i < n; ++i)
        gained[i] = !samples ? 0.0f : g ? (float)std::ldexp((double)samples[i], g) : samples[i];
      v = gained.data();
    }
    const int m = (int)n;
    if (code == SEGY_INT32)
      result = convertSamples(v, m, -2147483648L, 2147483647L, 0, index, path,
                              [d, be](int i, long x) { wr32(d + 4 * i, (uint32_t)(int32_t)x, be); });
    else if (code == SEGY_INT16)
      result = convertSamples(v, m, -32768, 32767, 0, index, path,
                              [d, be](int i, long x) { wr16(d + 2 * i, (uint16_t)(int16_t)x, be); });
    else
      result = convertSamples(v, m, -128, 127, 0, index, path,
                              [d](int i, long x) { d[i] = (uint8_t)(int8_t)x; });
    file->write(out.data(), out.size());
    return result;
  }
  for (size_t i = 0; i < n; ++i) {
    float v = samples ? samples[i] : 0.0f;
    if (g) v = (float)std::ldexp((double)v, g);
    switch (code) {
      case SEGY_FLOAT32:
      case SEGY_IEEE32:
        if (v > 3.4e38f || v < -3.4e38f) {
          v = v > 0 ? 3.4e38f : -3.4e38f;
          report(10040, (int)i + 1, index + 1, path);
          result = SCRIVEL_WARNINGS;
        }
        wr32(d + 4 * i, ibm ? floatToIbm(v) : floatToBits(v), be);
        break;
      case SEGY_FIXED_GAIN: {
        int e;
        long m;
        fixedGain(v, (int)i, index, path, &result, &e, &m);
        wr32(d + 4 * i, ((uint32_t)e << 16) | (uint16_t)(int16_t)m, be);
        break;
      }
    }
  }
  file->write(out.data(), out.size());
  return result;
}
