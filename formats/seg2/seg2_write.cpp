// SEG-2 header writer and trace writer. The header writer leaves room for
// one pointer per trace; each trace writer appends its descriptor block and
// data block at the end of the file and fills in its own pointer.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "convert.h"
#include "dv/file.h"
#include "seg2_common.h"

using namespace scrivel;
using namespace scrivel::seg2;

namespace {

// A keyword list as stored: per entry the offset to the next, the keyword
// and its value, the terminator; then two zero bytes and zero padding up to
// a multiple of 4 counted from `base`. Entries that would push the list past
// `limit` bytes are left out (a descriptor's size is a 16-bit count).
void appendStrings(std::vector<uint8_t>& out, size_t base, const KeywordIndex& index,
                   const char* const* values, int count, Terminator term, bool be,
                   size_t limit) {
  const char* const* keywords = index.keywords;
  for (int k = 0; k < count; ++k) {
    const char* value = values[k] ? values[k] : "";
    size_t kl = index.length[k], vl = std::strlen(value);
    size_t entry = 2 + kl + vl + term.length;
    if (entry > 0xFFFF || out.size() + entry + 2 + 3 > limit) continue;
    size_t at = out.size();
    out.resize(at + entry);
    uint8_t* p = out.data() + at;
    wr16(p, (uint16_t)entry, be);
    std::memcpy(p + 2, keywords[k], kl);
    std::memcpy(p + 2 + kl, value, vl);
    p[2 + kl + vl] = (uint8_t)term.first;
    if (term.length == 2) p[3 + kl + vl] = (uint8_t)term.second;
  }
  out.push_back(0);
  out.push_back(0);
  while ((base + out.size()) % 4) out.push_back(0);
}

// One group of four samples in the 20-bit floating point code.
void encodeFloat20(const float* v, uint8_t* out, bool be, int firstSample, int trace,
                   const char* path, int* result) {
  uint16_t exps = 0;
  for (int j = 0; j < 4; ++j) {
    double x = std::isnan(v[j]) ? 0.0 : (double)v[j];
    int e = 0;
    while (e <= 15 && std::trunc(std::fabs(x)) > 32767.0) {
      x /= 2.0;
      ++e;
    }
    int16_t m;
    if (e > 15) {
      e = 15;
      m = v[j] > 0 ? 32767 : -32768;
      report(10040, firstSample + j + 1, trace + 1, path);
      *result = SCRIVEL_WARNINGS;
    } else {
      // The magnitude is below 32768 here, but rounding can still go one
      // past the mantissa's top.
      double r = std::floor(x + 0.5);
      m = (int16_t)(r > 32767.0 ? 32767.0 : r);
    }
    exps = (uint16_t)(exps | (e << (4 * j)));
    wr16(out + 2 + 2 * j, (uint16_t)m, be);
  }
  wr16(out, exps, be);
}

// A 16- or 32-bit word in the file's byte order.
template <bool BE, typename Word>
void put(uint8_t* p, Word v) {
  v = inFileOrder<BE>(v);
  std::memcpy(p, &v, sizeof v);
}

// The data block of n samples `s` in code `code` into d, in the file's byte
// order; clipped samples are reported and make *result a warning. The byte
// order is fixed per instance, so that the per-sample loops vectorise.
template <bool BE>
void encodeData(int code, const float* s, uint32_t n, uint8_t* d, int index, const char* path,
                int* result) {
  switch (code) {
    // The integer codes by the shared whole-trace conversion: traces inside
    // the range (the usual case) skip the per-sample clipping checks.
    case SEG2_INT16:
      *result = std::max(*result, convertSamples(s, (int)n, -32768, 32767, 0, index, path,
                                                 [d](int i, long v) {
                                                   put<BE, uint16_t>(d + 2 * i, (uint16_t)(int16_t)v);
                                                 }));
      break;
    case SEG2_INT32:
      *result = std::max(*result, convertSamples(s, (int)n, -2147483648L, 2147483647L, 0, index,
                                                 path, [d](int i, long v) {
                                                   put<BE, uint32_t>(d + 4 * i, (uint32_t)(int32_t)v);
                                                 }));
      break;
    case SEG2_FLOAT20:
      for (uint32_t g = 0; g < n / 4; ++g)
        encodeFloat20(s + 4 * g, d + 10 * g, BE, (int)(4 * g), index, path, result);
      break;
    case SEG2_FLOAT32: {
      // One branch-free pass tells whether any sample needs clipping.
      int inside = 1;
      for (uint32_t i = 0; i < n; ++i) {
        inside &= !(s[i] > 3.4e38f);
        inside &= !(s[i] < -3.4e38f);
      }
      if (inside && !BE && std::endian::native == std::endian::little) {
        std::memcpy(d, s, 4 * (size_t)n);  // the floats' bytes are the stored ones
        break;
      }
      if (inside) {
        for (uint32_t i = 0; i < n; ++i) put<BE, uint32_t>(d + 4 * i, floatToBits(s[i]));
        break;
      }
      for (uint32_t i = 0; i < n; ++i) {
        float v = s[i];
        if (v > 3.4e38f || v < -3.4e38f) {
          v = v > 0 ? 3.4e38f : -3.4e38f;
          report(10040, (int)i + 1, index + 1, path);
          *result = SCRIVEL_WARNINGS;
        }
        put<BE, uint32_t>(d + 4 * i, floatToBits(v));
      }
      break;
    }
    case SEG2_FLOAT64:
      for (uint32_t i = 0; i < n; ++i) {
        double v = s[i];
        uint64_t u;
        std::memcpy(&u, &v, 8);
        put<BE, uint32_t>(d + 8 * i + (BE ? 0 : 4), (uint32_t)(u >> 32));
        put<BE, uint32_t>(d + 8 * i + (BE ? 4 : 0), (uint32_t)u);
      }
      break;
  }
}

}  // namespace

DV_EXPORT int WriteSeg2FHdr(const char* path, Seg2FHdr* h) {
  if (!h) return SCRIVEL_ERR_CREATE;
  bool invalid = false;
  Terminator term = stringTerminator(*h);
  if (term.length == 2 && term.second == 0) term.length = 1;
  h->stringTermLength = term.length;
  h->stringTerm1 = (uint8_t)term.first;
  h->stringTerm2 = (uint8_t)term.second;
  Terminator line = lineTerminator(*h, &invalid);
  h->lineTermLength = line.length;
  h->lineTerm1 = (uint8_t)line.first;
  h->lineTerm2 = (uint8_t)line.second;

  dv::File f;
  int rc = CreateFileForWrite(path, &f);
  if (rc != SCRIVEL_OK) return rc;
  int result = SCRIVEL_OK;
  const bool be = h->bigEndian != 0;

  // The pointer sub-block's size is a 16-bit byte count: more traces than
  // it can point at are cut, with the message the reader gives for the same.
  if (h->traces > SEG2_MAX_TRACES) {
    report(10023, path, (int)h->traces, (int)SEG2_MAX_TRACES);
    h->traces = SEG2_MAX_TRACES;
    result = SCRIVEL_WARNINGS;
  }
  h->pointerBlockSize = (uint16_t)(4 * h->traces);
  h->blockId = SEG2_FILE_BLOCK_ID;

  std::vector<uint8_t> out(32, 0);
  wr16(out.data() + 0, h->blockId, be);
  wr16(out.data() + 2, h->revision, be);
  wr16(out.data() + 4, h->pointerBlockSize, be);
  wr16(out.data() + 6, h->traces, be);
  out[8] = h->stringTermLength;
  out[9] = h->stringTerm1;
  out[10] = h->stringTerm2;
  out[11] = h->lineTermLength;
  out[12] = h->lineTerm1;
  out[13] = h->lineTerm2;
  std::memcpy(out.data() + 14, h->reserved, 18);
  h->pointerBlockPos = 32;
  out.resize(32 + h->pointerBlockSize, 0);
  const char* values[SEG2_FILE_STRING_COUNT];
  for (int k = 0; k < SEG2_FILE_STRING_COUNT; ++k) values[k] = seg2FileString(*h, k);
  std::vector<uint8_t> strings;
  appendStrings(strings, out.size(), fileKeywords(), values, SEG2_FILE_STRING_COUNT, term, be,
                std::numeric_limits<uint32_t>::max());
  out.insert(out.end(), strings.begin(), strings.end());
  f.write(out.data(), out.size());
  f.close();
  return result;
}

DV_EXPORT int WriteSeg2Trace(const char* path, dv::File* file, Seg2FHdr* hdr, Seg2TraceHdr* thdr,
                             int index, float* samples) {
  if (!path) path = "";
  if (!file || !hdr || !thdr) {
    report(10041, path);
    return SCRIVEL_ERR_SEEK;
  }
  const bool be = hdr->bigEndian != 0;
  const Terminator term = stringTerminator(*hdr);
  int result = SCRIVEL_OK;

  // This trace's pointer, inside the pointer sub-block only: a pointer past
  // it would overwrite the file strings.
  const int64_t P = file->position();
  if (index < 0 || 4 * (int64_t)index + 4 > hdr->pointerBlockSize) {
    report(10041, path);
    return SCRIVEL_ERR_SEEK;
  }
  const int64_t slotAt = hdr->pointerBlockPos + 4 * (int64_t)index;
  if (file->seek(slotAt) != slotAt) {
    report(10041, path);
    return SCRIVEL_ERR_SEEK;
  }
  uint8_t w[4];
  wr32(w, (uint32_t)P, be);
  file->write(w, 4);
  if (P < 0 || P > (int64_t)0xFFFFFFFF || file->seek(P) != P) {
    report(10030, index + 1, path);
    return SCRIVEL_ERR_SEEK;
  }

  thdr->blockId = SEG2_TRACE_BLOCK_ID;
  const uint32_t bytes2 = doubleBytesPerSample(thdr->formatCode);
  if (!bytes2) {
    report(10033, path, index + 1);
    return SCRIVEL_ERR_SEG2_TDB;
  }
  const uint32_t entrySamples = thdr->samples;
  uint32_t n = thdr->samples;
  if (thdr->formatCode == SEG2_FLOAT20 && n % 4 != 0) {
    report(10035, path, index + 1, (int)n, (int)(n & ~3u));
    n &= ~3u;
    result = SCRIVEL_WARNINGS;
  }
  thdr->samples = n;
  uint64_t dataBytes = (uint64_t)n * bytes2 / 2;
  thdr->dataSize = (uint32_t)((dataBytes + 3) & ~(uint64_t)3);

  // Descriptor block and strings, built whole so the descriptor size is
  // known before anything is written (in a buffer kept from trace to trace).
  static thread_local std::vector<uint8_t> out;
  out.assign(32, 0);
  const char* values[SEG2_TRACE_STRING_COUNT];
  for (int k = 0; k < SEG2_TRACE_STRING_COUNT; ++k) values[k] = seg2TraceString(*thdr, k);
  appendStrings(out, (size_t)P, traceKeywords(), values, SEG2_TRACE_STRING_COUNT, term, be,
                0xFFFF - 3);
  thdr->descriptorSize = (uint16_t)out.size();
  wr16(out.data() + 0, thdr->blockId, be);
  wr16(out.data() + 2, thdr->descriptorSize, be);
  wr32(out.data() + 4, thdr->dataSize, be);
  wr32(out.data() + 8, n, be);
  out[12] = thdr->formatCode;
  std::memcpy(out.data() + 13, thdr->reserved, 19);

  // Data block, padded to a multiple of 4.
  const size_t head = out.size();
  out.resize(head + thdr->dataSize, 0);
  uint8_t* d = out.data() + head;
  std::vector<float> zeros;
  const float* s = samples;
  if (!s) {
    zeros.assign(n, 0.0f);
    s = zeros.data();
  }
  if (be) encodeData<true>(thdr->formatCode, s, n, d, index, path, &result);
  else encodeData<false>(thdr->formatCode, s, n, d, index, path, &result);
  file->write(out.data(), out.size());
  thdr->samples = entrySamples;
  return result;
}
