// SEG-2 signature test, record creation and release, the file header
// reader and the trace reader.
#include <bit>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <type_traits>
#include <vector>

#include "dv/file.h"
#include "seg2_common.h"
#include "trace_io.h"

using namespace scrivel;
using namespace scrivel::seg2;

namespace {

char* duplicate(const char* s) {
  size_t n = std::strlen(s);
  char* d = static_cast<char*>(std::malloc(n + 1));
  if (d) std::memcpy(d, s, n + 1);
  return d;
}

// Owns a file header record until the reader hands it out.
struct CleanupDeleter {
  void operator()(Seg2FHdr* h) const { CleanupSeg2FHdr(h); }
};

// n stored integers of type Int in the given byte order as floats.
template <bool BE, typename Int>
void decodeIntegers(const uint8_t* raw, size_t n, float* out) {
  using Word = std::make_unsigned_t<Int>;
  for (size_t i = 0; i < n; ++i) {
    Word w;
    std::memcpy(&w, raw + sizeof(Word) * i, sizeof(Word));
    out[i] = (float)(Int)inFileOrder<BE>(w);
  }
}

}  // namespace

DV_EXPORT int IsSeg2File(const char* path) {
  dv::File f;
  if (!path || !f.open(path, dv::File::ReadOnly)) return SCRIVEL_ERR_OPEN_READ;
  uint8_t b[2];
  if (f.read(b, 2) != 2) return SCRIVEL_ERR_NOT_SEG2;
  uint16_t id = rdU16le(b);
  return id == 0x3A55 || id == 0x553A ? SCRIVEL_OK : SCRIVEL_ERR_NOT_SEG2;
}

DV_EXPORT int CreateSeg2FHdr(Seg2FHdr** out) {
  if (!out) return SCRIVEL_ERR_CREATE;
  auto* h = static_cast<Seg2FHdr*>(std::calloc(1, sizeof(Seg2FHdr)));
  if (!h) return SCRIVEL_ERR_CREATE;
  h->blockId = SEG2_FILE_BLOCK_ID;
  h->revision = 1;
  h->stringTermLength = 1;
  h->lineTermLength = 1;
  h->lineTerm1 = 10;
  h->pointerBlockPos = 32;
  for (auto member : kSeg2FileStrings) h->*member = duplicate("");
  *out = h;
  return SCRIVEL_OK;
}

DV_EXPORT int CleanupSeg2FHdr(Seg2FHdr* h) {
  if (!h) return SCRIVEL_OK;
  std::free(h->tracePointers);
  for (auto member : kSeg2FileStrings) std::free(h->*member);
  std::free(h);
  return SCRIVEL_OK;
}

DV_EXPORT int ReadSeg2FHdr(const char* path, Seg2FHdr** out) {
  int rc = IsSeg2File(path);
  if (rc != SCRIVEL_OK) {
    report(rc == SCRIVEL_ERR_OPEN_READ ? 10001 : 10008, path ? path : "");
    return rc;
  }
  if (!out) return SCRIVEL_ERR_OPEN_READ;
  dv::File f;
  rc = OpenFileForRead(path, &f);
  if (rc != SCRIVEL_OK) return rc;
  int result = SCRIVEL_OK;
  *out = nullptr;
  Seg2FHdr* h = nullptr;
  CreateSeg2FHdr(&h);
  if (!h) return SCRIVEL_ERR_READ;
  std::unique_ptr<Seg2FHdr, CleanupDeleter> owned(h);

  // File descriptor block.
  uint8_t b[32];
  if (f.read(b, 32) != 32) {
    report(10022, path);
    return SCRIVEL_ERR_READ;
  }
  uint16_t id = rdU16le(b);
  if (id != 0x3A55 && id != 0x553A) {
    report(10008, path);
    return SCRIVEL_ERR_NOT_SEG2;
  }
  const bool be = id == 0x553A;
  h->bigEndian = be ? 1 : 0;
  h->blockId = rd16(b + 0, be);
  h->revision = rd16(b + 2, be);
  h->pointerBlockSize = rd16(b + 4, be);
  h->traces = rd16(b + 6, be);
  h->stringTermLength = b[8];
  h->stringTerm1 = b[9];
  h->stringTerm2 = b[10];
  h->lineTermLength = b[11];
  h->lineTerm1 = b[12];
  h->lineTerm2 = b[13];
  std::memcpy(h->reserved, b + 14, 18);
  h->pointerBlockPos = 32;

  if (h->pointerBlockSize < 4u * h->traces) {
    int reduced = h->pointerBlockSize / 4;
    report(10023, path, (int)h->traces, reduced);
    h->traces = (uint16_t)reduced;
    result = SCRIVEL_WARNINGS;
  }

  bool invalid = false;
  Terminator term = stringTerminator(*h, &invalid);
  if (invalid) {
    h->stringTermLength = 1;
    h->stringTerm1 = 0;
    h->stringTerm2 = 0;
    report(10024, path);
    result = SCRIVEL_WARNINGS;
  }
  lineTerminator(*h, &invalid);
  if (invalid) {
    h->lineTermLength = 1;
    h->lineTerm1 = 10;
    h->lineTerm2 = 0;
    report(10025, path);
    result = SCRIVEL_WARNINGS;
  }

  // Trace pointers: at most 16383 of them, so the block is small.
  const size_t nptr = h->traces;
  std::vector<uint8_t> raw(4 * nptr);
  if (nptr && f.read(raw.data(), raw.size()) != raw.size()) {
    report(10026, path);
    return SCRIVEL_ERR_READ;
  }
  h->tracePointers = static_cast<uint32_t*>(std::malloc((nptr ? nptr : 1) * sizeof(uint32_t)));
  if (!h->tracePointers) {
    report(10026, path);
    return SCRIVEL_ERR_READ;
  }
  for (size_t i = 0; i < nptr; ++i) h->tracePointers[i] = rd32(raw.data() + 4 * i, be);
  h->pointerCount = (int32_t)nptr;

  // File strings: from the end of the pointer sub-block to the first trace.
  const int64_t stringsAt = 32 + (int64_t)h->pointerBlockSize;
  if (f.seek(stringsAt) != stringsAt) {
    report(10027, path);
    return SCRIVEL_ERR_SEEK;
  }
  const int64_t length = f.length();
  const int64_t stringsEnd = nptr ? (int64_t)h->tracePointers[0] : length;
  const int64_t blockSize = stringsEnd > stringsAt ? stringsEnd - stringsAt : 0;
  if (stringsAt + blockSize > length) {
    report(10028, path);
    return SCRIVEL_ERR_READ;
  }
  std::vector<uint8_t> block((size_t)blockSize + 1, 0);
  if (f.read(block.data(), (size_t)blockSize) != (size_t)blockSize) {
    report(10028, path);
    return SCRIVEL_ERR_READ;
  }
  bool whole = parseStrings(block.data(), (size_t)blockSize, be, term, fileKeywords(),
                            [&](int k, const char* value) {
                              char*& field = h->*kSeg2FileStrings[k];
                              char* copy = duplicate(value);
                              if (!copy) return;
                              std::free(field);
                              field = copy;
                            });
  if (!whole) {
    report(10029, path);
    result = SCRIVEL_WARNINGS;
  }
  f.close();
  *out = owned.release();
  return result;
}

DV_EXPORT int ReadSeg2Trace(const char* path, dv::File* file, Seg2FHdr* hdr, Seg2TraceHdr** thdr,
                            int index, float** samples, int quiet) {
  if (!path) path = "";
  int result = SCRIVEL_OK;
  if (!file || !hdr || !hdr->tracePointers || index < 0 || index >= hdr->pointerCount) {
    reportUnlessQuiet(quiet, 10030, index + 1, path);
    return SCRIVEL_ERR_SEEK;
  }
  const bool be = hdr->bigEndian != 0;
  const Terminator term = stringTerminator(*hdr);
  const int64_t at = hdr->tracePointers[index];
  if (file->seek(at) != at) {
    reportUnlessQuiet(quiet, 10030, index + 1, path);
    return SCRIVEL_ERR_SEEK;
  }
  uint8_t b[32];
  if (file->read(b, 32) != 32) {
    reportUnlessQuiet(quiet, 10031, index + 1, path);
    return SCRIVEL_ERR_READ;
  }
  Seg2TraceHdr d{};
  d.blockId = rd16(b + 0, be);
  d.descriptorSize = rd16(b + 2, be);
  d.dataSize = rd32(b + 4, be);
  d.samples = rd32(b + 8, be);
  d.formatCode = b[12];
  std::memcpy(d.reserved, b + 13, 19);
  if (d.blockId != SEG2_TRACE_BLOCK_ID) {
    reportUnlessQuiet(quiet, 10032, index + 1, path);
    return SCRIVEL_ERR_SEG2_TDB;
  }
  const uint32_t bytes2 = doubleBytesPerSample(d.formatCode);
  if (!bytes2) {
    reportUnlessQuiet(quiet, 10033, path, index + 1);
    return SCRIVEL_ERR_SEG2_TDB;
  }
  if ((uint64_t)d.samples * bytes2 > 2 * (uint64_t)d.dataSize) {
    uint32_t fit = (uint32_t)(2 * (uint64_t)d.dataSize / bytes2);
    reportUnlessQuiet(quiet, 10034, path, index + 1, (int)d.samples, (int)fit);
    d.samples = fit;
    result = SCRIVEL_WARNINGS;
  }
  if (d.formatCode == SEG2_FLOAT20 && d.samples % 4 != 0) {
    uint32_t whole = d.samples & ~3u;
    reportUnlessQuiet(quiet, 10035, path, index + 1, (int)d.samples, (int)whole);
    d.samples = whole;
    result = SCRIVEL_WARNINGS;
  }

  // The record and its strings are one block: the string list is read into
  // the block's tail and terminated in place, and the fields point into it.
  const size_t stringBytes = d.descriptorSize > 32 ? d.descriptorSize - 32u : 0;
  MallocPtr<Seg2TraceHdr> rec(
      static_cast<Seg2TraceHdr*>(std::malloc(sizeof(Seg2TraceHdr) + stringBytes + 1)));
  if (!rec) {
    reportUnlessQuiet(quiet, 10036, index + 1, path);
    return SCRIVEL_ERR_READ;
  }
  *rec = d;
  auto* strings = reinterpret_cast<uint8_t*>(rec.get() + 1);
  strings[stringBytes] = 0;
  char* empty = reinterpret_cast<char*>(strings + stringBytes);
  for (auto member : kSeg2TraceStrings) (*rec).*member = empty;
  if (file->read(strings, stringBytes) != stringBytes) {
    reportUnlessQuiet(quiet, 10036, index + 1, path);
    return SCRIVEL_ERR_READ;
  }
  bool whole = parseStrings(
      strings, stringBytes, be, term, traceKeywords(),
      [&](int k, const char* value) { (*rec).*kSeg2TraceStrings[k] = const_cast<char*>(value); });
  if (!whole) {
    reportUnlessQuiet(quiet, 10037, index + 1, path);
    result = SCRIVEL_WARNINGS;
  }

  const int64_t dataAt = at + d.descriptorSize;
  if (file->seek(dataAt) != dataAt) {
    reportUnlessQuiet(quiet, 10038, index + 1, path);
    return SCRIVEL_ERR_SEEK;
  }

  // The samples must lie inside the file before their array is sized: a
  // header may claim billions of them (small blocks are simply read, and a
  // short read is the failure).
  const uint64_t n = d.samples;
  const bool packed = d.formatCode == SEG2_FLOAT20;
  const uint64_t need = packed ? n / 4 * 10 : n * bytes2 / 2;
  if (!bytesAvailable(*file, dataAt, need)) {
    const int64_t length = file->length();
    const uint64_t avail = length > dataAt ? (uint64_t)(length - dataAt) : 0;
    uint64_t first = packed ? avail / 10 * 4 : avail / (bytes2 / 2);
    reportUnlessQuiet(quiet, 10039, (int)(first + 1), index + 1, path);
    return SCRIVEL_ERR_READ;
  }
  MallocPtr<float> owned(allocSamples((size_t)n));
  float* out = owned.get();
  if (!out) {
    reportUnlessQuiet(quiet, 10039, 1, index + 1, path);
    return SCRIVEL_ERR_READ;
  }

  // One read for the whole data block. Integers go through a buffer of
  // their own (kept from trace to trace) and are decoded front to back in
  // the file's byte order, which vectorises; 64-bit samples too; the other
  // codes are decoded in place (back to front, so nothing unread is
  // overwritten).
  static thread_local std::vector<uint8_t> separate;
  uint8_t* raw = reinterpret_cast<uint8_t*>(out);
  if (d.formatCode == SEG2_INT16 || d.formatCode == SEG2_INT32 || d.formatCode == SEG2_FLOAT64) {
    if (separate.size() < need) separate.resize((size_t)need);
    raw = separate.data();
  }
  size_t got = file->read(raw, (size_t)need);
  if (got != need) {
    uint64_t first = packed ? got / 10 * 4 : got / (bytes2 / 2);
    reportUnlessQuiet(quiet, 10039, (int)(first + 1), index + 1, path);
    return SCRIVEL_ERR_READ;
  }
  switch (d.formatCode) {
    case SEG2_INT16:
      if (be) decodeIntegers<true, int16_t>(raw, n, out);
      else decodeIntegers<false, int16_t>(raw, n, out);
      break;
    case SEG2_INT32:
      if (be) decodeIntegers<true, int32_t>(raw, n, out);
      else decodeIntegers<false, int32_t>(raw, n, out);
      break;
    case SEG2_FLOAT20:
      for (size_t g = n / 4; g-- > 0;) {
        const uint8_t* p = raw + 10 * g;
        uint16_t exps = rd16(p, be);
        int32_t m[4];
        for (int j = 0; j < 4; ++j) m[j] = (int16_t)rd16(p + 2 + 2 * j, be);
        for (int j = 0; j < 4; ++j) out[4 * g + j] = (float)(m[j] * (1 << ((exps >> (4 * j)) & 15)));
      }
      break;
    case SEG2_FLOAT32:
      // Stored little-endian on a little-endian host, the bytes already are the floats.
      if (be || std::endian::native != std::endian::little)
        for (size_t i = 0; i < n; ++i) out[i] = bitsToFloat(rd32(raw + 4 * i, be));
      break;
    case SEG2_FLOAT64:
      for (size_t i = 0; i < n; ++i) {
        uint64_t u = be ? ((uint64_t)rdU32be(raw + 8 * i) << 32) | rdU32be(raw + 8 * i + 4)
                        : ((uint64_t)rdU32le(raw + 8 * i + 4) << 32) | rdU32le(raw + 8 * i);
        double v;
        std::memcpy(&v, &u, 8);
        out[i] = (float)v;
      }
      break;
  }
  if (thdr) *thdr = rec.release();
  if (samples) *samples = owned.release();
  return result;
}
