// SEG-Y signature test, record creation, header reader, trace count and
// trace reader.
#include <bit>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "dv/file.h"
#include "segy_common.h"

using namespace scrivel;
using namespace scrivel::segy;

namespace scrivel::segy {

void decodeImage(const uint8_t* image, bool be, SegyFHdr& h) {
  std::memcpy(h.text, image, SEGY_TEXT_HEADER_SIZE);
  h.jobId = (int32_t)rd32(image + 3200, be);
  h.lineNumber = (int32_t)rd32(image + 3204, be);
  h.reelNumber = (int32_t)rd32(image + 3208, be);
  for (int k = 0; k < 24; ++k) h.*kSegyShortFields[k] = rd16(image + 3212 + 2 * k, be);
  std::memcpy(h.rest, image + 3260, sizeof h.rest);
}

void encodeImage(const SegyFHdr& h, uint8_t* image) {
  const bool be = h.bigEndian != 0;
  std::memcpy(image, h.text, SEGY_TEXT_HEADER_SIZE);
  wr32(image + 3200, (uint32_t)h.jobId, be);
  wr32(image + 3204, (uint32_t)h.lineNumber, be);
  wr32(image + 3208, (uint32_t)h.reelNumber, be);
  for (int k = 0; k < 24; ++k) wr16(image + 3212 + 2 * k, h.*kSegyShortFields[k], be);
  std::memcpy(image + 3260, h.rest, sizeof h.rest);
  wrU32le(image + 3600, (uint32_t)h.bigEndian);
}

int extendedHeaderCount(const uint8_t* image, bool be, int64_t length) {
  const int count = (int16_t)rd16(image + 3504, be);
  if (count <= 0 || count > SEGY_MAX_EXTENDED_HEADERS) return 0;
  const int code = rd16(image + 3224, be);
  const int64_t per = SEGY_TRACE_HEADER_SIZE + (int64_t)segyBytesPerSample(code) * rd16(image + 3220, be);
  const int64_t first = SEGY_FILE_HEADER_SIZE + (int64_t)SEGY_EXTENDED_HEADER_SIZE * count;
  if (length < first + per) return 0;
  const bool revision = rd16(image + 3500, be) != 0;
  return revision || (length - first) % per == 0 ? count : 0;
}

bool soundBinaryHeader(const uint8_t* image, int64_t length) {
  const bool be = bigEndianImage(image);
  const int interval = rd16(image + 3216, be), samples = rd16(image + 3220, be);
  const int code = rd16(image + 3224, be);
  if (interval == 0 || samples == 0 || !segyKnownCode(code)) return false;
  const int64_t first =
      SEGY_FILE_HEADER_SIZE + (int64_t)SEGY_EXTENDED_HEADER_SIZE * extendedHeaderCount(image, be, length);
  const int64_t per = SEGY_TRACE_HEADER_SIZE + (int64_t)segyBytesPerSample(code) * samples;
  return length > first && (length - first) % per == 0;
}

}  // namespace scrivel::segy

namespace {

// Whole traces in a file of `length` bytes for the record's layout.
int64_t tracesThatFit(int64_t length, const SegyFHdr& h) {
  const int64_t first = segyFirstTraceOffset(h);
  if (length < first) return 0;
  int64_t per = SEGY_TRACE_HEADER_SIZE + (int64_t)segyBytesPerSample(h.formatCode) * h.samples;
  int64_t n = (length - first) / per;
  return n > INT_MAX ? INT_MAX : n;
}

// Reads the samples of the first traces (at most 256 KiB of them) until
// their words settle whether code 1 holds IBM or IEEE floats.
SegyFloatFormat floatFormatOf(dv::File& f, const SegyFHdr& h) {
  FloatEvidence evidence;
  const size_t n = h.samples;
  if (n == 0) return evidence.verdict();
  std::vector<uint8_t> raw(4 * n);
  const bool be = h.bigEndian != 0;
  size_t budget = 256 * 1024;
  for (int64_t i = 0; i < segyTraceCount(h) && budget >= raw.size() && !evidence.settled(); ++i) {
    const int64_t at = segyTraceOffset(h, i) + SEGY_TRACE_HEADER_SIZE;
    if (f.seek(at) != at || f.read(raw.data(), raw.size()) != raw.size()) break;
    budget -= raw.size();
    for (size_t k = 0; k < n; ++k) evidence.add(rd32(raw.data() + 4 * k, be));
  }
  return evidence.verdict();
}

}  // namespace

DV_EXPORT int IsSegyFile(const char* path) {
  dv::File f;
  if (!path || !f.open(path, dv::File::ReadOnly)) return SCRIVEL_ERR_OPEN_READ;
  uint8_t b[4];
  if (f.read(b, 4) != 4) return SCRIVEL_ERR_NOT_SEGY;
  if (std::memcmp(b, "C 1 ", 4) == 0) return SCRIVEL_OK;
  if (b[0] == 0xC3 && b[1] == 0x40 && b[2] == 0xF1) return SCRIVEL_OK;
  // The text header is free text ("C01", blanks, NULs): a file whose binary
  // header is sound is SEG-Y whatever its first card says.
  uint8_t image[SEGY_FILE_HEADER_SIZE];
  std::memcpy(image, b, 4);
  if (f.read(image + 4, sizeof image - 4) != sizeof image - 4) return SCRIVEL_ERR_NOT_SEGY;
  return soundBinaryHeader(image, f.length()) ? SCRIVEL_OK : SCRIVEL_ERR_NOT_SEGY;
}

DV_EXPORT int CreateSegyFHdr(SegyFHdr** out) {
  if (!out) return SCRIVEL_ERR_CREATE;
  *out = static_cast<SegyFHdr*>(std::calloc(1, sizeof(SegyFHdr)));
  return *out ? SCRIVEL_OK : SCRIVEL_ERR_CREATE;
}

DV_EXPORT int ReadSegyFHdr(const char* path, SegyFHdr** out) {
  int rc = IsSegyFile(path);
  if (rc != SCRIVEL_OK) {
    report(rc == SCRIVEL_ERR_OPEN_READ ? 10001 : 10009, path ? path : "");
    return rc;
  }
  if (!out) return SCRIVEL_ERR_OPEN_READ;
  dv::File f;
  rc = OpenFileForRead(path, &f);
  if (rc != SCRIVEL_OK) return rc;
  CreateSegyFHdr(out);
  SegyFHdr* h = *out;
  if (!h) return SCRIVEL_ERR_READ;
  uint8_t image[SEGY_RECORD_IMAGE_SIZE];
  if (f.read(image, sizeof image) != sizeof image) {
    f.close();
    std::free(h);
    *out = nullptr;
    report(10042, path);
    return SCRIVEL_ERR_READ;
  }
  // Native order is little-endian; a format code of 256 or more only makes
  // sense byte-swapped.
  const bool be = bigEndianImage(image);
  decodeImage(image, be, *h);
  h->bigEndian = be ? 1 : 0;
  h->extendedHeaders = extendedHeaderCount(image, be, f.length());
  int64_t count = tracesThatFit(f.length(), *h);
  h->traceCount = (int32_t)count;
  h->traces = (uint16_t)(count > SEGY_MAX_FIELD_TRACES ? SEGY_MAX_FIELD_TRACES : count);
  if (h->formatCode == SEGY_FLOAT32) h->floatFormat = floatFormatOf(f, *h);
  f.close();
  return SCRIVEL_OK;
}

DV_EXPORT int ComputeSegyNumTraces(const char* path, SegyFHdr* hdr, int* count) {
  int rc = IsSegyFile(path);
  if (rc == SCRIVEL_ERR_NOT_SEGY) {
    report(10009, path);
    return rc;
  }
  dv::File f;
  rc = OpenFileForRead(path, &f);
  if (rc != SCRIVEL_OK) return rc;
  if (count) *count = hdr ? (int)tracesThatFit(f.length(), *hdr) : 0;
  f.close();
  return SCRIVEL_OK;
}

DV_EXPORT int ReadSegyTrace(const char* path, dv::File* file, SegyFHdr* hdr, SegyTraceHdr** thdr,
                            int index, float** samples, int quiet) {
  if (!path) path = "";
  // Code 0 and the codes not listed name no sample type this reader decodes.
  if (!hdr || !segyKnownCode(hdr->formatCode)) {
    reportUnlessQuiet(quiet, 10011, path);
    return SCRIVEL_ERR_SEGY_FORMAT;
  }
  const bool be = hdr->bigEndian != 0;
  const int64_t at = segyTraceOffset(*hdr, index);
  if (!file || index < 0 || file->seek(at) != at) {
    reportUnlessQuiet(quiet, 10043, index + 1, path);
    return SCRIVEL_ERR_SEEK;
  }
  auto* th = static_cast<SegyTraceHdr*>(std::malloc(sizeof(SegyTraceHdr)));
  if (thdr) *thdr = th;
  if (!th || file->read(th, SEGY_TRACE_HEADER_SIZE) != SEGY_TRACE_HEADER_SIZE) {
    file->close();
    std::free(th);
    if (thdr) *thdr = nullptr;
    reportUnlessQuiet(quiet, 10044, index + 1, path);
    return SCRIVEL_ERR_READ;
  }

  // The samples are read as one block into the float array and decoded in
  // place (back to front for the 1- and 2-byte codes).
  const size_t n = hdr->samples;
  const int code = hdr->formatCode;
  const size_t bytes = n * (size_t)segyBytesPerSample(code);
  float* out = allocSamples(n);
  auto* raw = reinterpret_cast<uint8_t*>(out);
  if (!out || file->read(raw, bytes) != bytes) {
    std::free(out);
    if (!thdr) std::free(th);
    reportUnlessQuiet(quiet, 10021, index + 1, path);
    return SCRIVEL_ERR_READ;
  }
  int result = SCRIVEL_OK;
  const int g = (code == SEGY_INT32 || code == SEGY_INT16) ? gainExponent(*th, be) : 0;
  switch (code) {
    case SEGY_FLOAT32:
      if (hdr->floatFormat == SEGY_FLOAT_IBM) {
        decodeIbm(raw, be, out, n);
        break;
      }
      [[fallthrough]];
    case SEGY_IEEE32:
      // Stored little-endian on a little-endian host, the bytes already are the floats.
      if (be)
        for (size_t i = 0; i < n; ++i) out[i] = bitsToFloat(rdU32be(raw + 4 * i));
      else if constexpr (std::endian::native != std::endian::little)
        for (size_t i = 0; i < n; ++i) out[i] = bitsToFloat(rdU32le(raw + 4 * i));
      break;
    case SEGY_INT32:
      for (size_t i = 0; i < n; ++i) out[i] = (float)(int32_t)rd32(raw + 4 * i, be);
      break;
    case SEGY_INT16:
      for (size_t i = n; i-- > 0;) out[i] = (float)(int16_t)rd16(raw + 2 * i, be);
      break;
    case SEGY_INT8:
      for (size_t i = n; i-- > 0;) out[i] = (float)(int8_t)raw[i];
      break;
    case SEGY_FIXED_GAIN:
      for (size_t i = 0; i < n; ++i) {
        uint32_t v = rd32(raw + 4 * i, be);
        if ((v >> 24) != 0) {
          reportUnlessQuiet(quiet, 10045, (int)i + 1, index + 1, path);
          result = SCRIVEL_WARNINGS;
        }
        out[i] = (float)std::ldexp((double)(int16_t)(v & 0xFFFF), (int)((v >> 16) & 0xFF));
      }
      break;
  }
  if (g != 0)
    for (size_t i = 0; i < n; ++i) out[i] = (float)std::ldexp((double)out[i], -g);
  if (samples) {
    *samples = out;
  } else {
    std::free(out);
  }
  if (!thdr) std::free(th);
  return result;
}
