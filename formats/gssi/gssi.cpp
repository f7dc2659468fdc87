// GSSI DZT: signature test, header reader and writer, trace reader and
// writer. A file is a 1024-byte header (the 128-byte fixed header and an
// 896-byte block with the range gain curve, a text and a processing
// history) followed by traces of unsigned 8- or 16-bit or signed 32-bit
// samples. Newer systems write larger headers: a data offset word below
// 1024 counts 1024-byte blocks.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "convert.h"
#include "codec.h"
#include "dv/file.h"
#include "gssi_layout.h"
#include "scrivel/gssi.h"
#include "scrivel_internal.h"
#include "trace_io.h"

using namespace scrivel;

namespace {

const char* shown(const char* path) { return path ? path : ""; }

bool validBits(int bits) { return bits == 8 || bits == 16 || bits == 32; }

// The tags of the fixed header: 0x00FF and 0x0700, and the 0x0nFF and
// 0xFnFF forms other systems write (0x07FF on newer ones).
bool knownTag(uint16_t t) {
  const int high = t >> 12;
  return t == GSSI_TAG_ALT || ((t & 0xFF) == 0xFF && (high == 0 || high == 0xF));
}

bool standardSamples(int n) {
  return n == 128 || n == 256 || n == 512 || n == 1024 || n == 2048;
}

int64_t traceBytes(const GssiFHdr* h) { return (int64_t)h->NSamp * (h->Bits / 8); }

int64_t dataStart(const GssiFHdr* h) { return h->dataOffset > 0 ? h->dataOffset : GSSI_HEADER_BYTES; }

int64_t traceOffset(const GssiFHdr* h, int index) {
  return dataStart(h) + (int64_t)index * traceBytes(h);
}

// The zero level as the samples see it: 8-bit traces use its low byte.
// Older systems left the field 0 on unsigned samples, which sit around the
// mid level all the same; 32-bit samples are signed and have no level.
// Reader and writer both use this, so a rewrite stores the same values.
long zeroLevel(const GssiFHdr* h) {
  if (h->Bits == 32) return 0;
  if (h->Zero == 0) return h->Bits == 8 ? 128 : 32768;
  return h->Bits == 8 ? (h->Zero & 0xFF) : h->Zero;
}

char* duplicate(const char* s, size_t n) {
  char* out = static_cast<char*>(std::malloc(n + 1));
  if (!out) return nullptr;
  if (n) std::memcpy(out, s, n);
  out[n] = '\0';
  return out;
}

// Releases a half-filled record and clears the caller's pointer.
int fail(GssiFHdr** out, int code) {
  CleanupGssiFHdr(*out);
  *out = nullptr;
  return code;
}

// Reads single bytes at increasing offsets through a large window, so mark
// detection over a long file costs a few big reads rather than one seek and
// one refill of the file's buffer per trace.
class ByteWindow {
 public:
  // `length` (the file's) keeps the window no larger than the file.
  ByteWindow(dv::File& f, int64_t length)
      : f_(f), size_((size_t)std::clamp<int64_t>(length, 1, (int64_t)kWindow)) {}
  // 1 = byte read, 0 = end of file, -1 = seek failed.
  int get(int64_t pos, uint8_t& out) {
    if (pos < start_ || pos >= start_ + (int64_t)len_) {
      if (f_.seek(pos) != pos) return -1;
      buf_.resize(size_);
      start_ = pos;
      len_ = f_.read(buf_.data(), buf_.size());
      if (len_ == 0) return 0;
    }
    out = buf_[(size_t)(pos - start_)];
    return 1;
  }

 private:
  static constexpr size_t kWindow = 1 << 20;
  dv::File& f_;
  size_t size_;
  std::vector<uint8_t> buf_;
  int64_t start_ = 0;
  size_t len_ = 0;
};

// Offset of the byte that carries the marker: the second sample, or the
// high byte of the second 16- or 32-bit sample.
int markerByteOffset(const GssiFHdr* h) { return 2 * (h->Bits / 8) - 1; }

}  // namespace

DV_EXPORT int IsGssiFile(const char* path) {
  dv::File f;
  if (!path || !f.open(path, dv::File::ReadOnly)) return SCRIVEL_ERR_OPEN_READ;
  uint8_t tag[2];
  if (f.read(tag, 2) != 2) return SCRIVEL_ERR_NOT_GSSI;
  return knownTag(rdU16le(tag)) ? SCRIVEL_OK : SCRIVEL_ERR_NOT_GSSI;
}

DV_EXPORT int CreateGssiFHdr(GssiFHdr** out) {
  if (!out) return SCRIVEL_ERR_READ;
  auto* h = static_cast<GssiFHdr*>(std::calloc(1, sizeof(GssiFHdr)));
  if (h) h->text = duplicate("", 0);
  if (!h || !h->text) {
    std::free(h);
    *out = nullptr;
    return SCRIVEL_ERR_READ;
  }
  *out = h;
  return SCRIVEL_OK;
}

DV_EXPORT int CleanupGssiFHdr(GssiFHdr* hdr) {
  if (!hdr) return SCRIVEL_OK;
  std::free(hdr->rangeGain);
  std::free(hdr->history);
  std::free(hdr->text);
  std::free(hdr);
  return SCRIVEL_OK;
}

DV_EXPORT int ReadGssiFHdr(const char* path, GssiFHdr** out) {
  if (!out) return SCRIVEL_ERR_READ;
  int test = IsGssiFile(path);
  if (test != SCRIVEL_OK) {
    report(test == SCRIVEL_ERR_OPEN_READ ? 10001 : 10005, shown(path));
    return test;
  }
  dv::File f;
  if (int rc = OpenFileForRead(path, &f); rc != SCRIVEL_OK) return rc;
  if (CreateGssiFHdr(out) != SCRIVEL_OK) return SCRIVEL_ERR_READ;
  GssiFHdr* h = *out;
  int result = SCRIVEL_OK;

  uint8_t fixed[GSSI_FIXED_BYTES];
  if (f.read(fixed, sizeof fixed) != sizeof fixed) {
    report(10010, shown(path));
    return fail(out, SCRIVEL_ERR_READ);
  }
  gssi::decodeFixed(fixed, h);
  if (!validBits(h->Bits)) {
    report(10011, shown(path));
    return fail(out, SCRIVEL_ERR_GSSI_BITS);
  }
  if (!standardSamples(h->NSamp)) {
    report(10012, shown(path));
    result = SCRIVEL_WARNINGS;
  }

  uint8_t block[GSSI_BLOCK_BYTES];
  if (f.read(block, sizeof block) != sizeof block) {
    report(10013, shown(path));
    return fail(out, SCRIVEL_ERR_READ);
  }
  if (gssi::checksum(fixed, block) != h->ChkSum) {
    report(10014, shown(path));
    result = SCRIVEL_WARNINGS;
  }

  // The offsets of the block's parts are file offsets; only what lies inside
  // the block is taken, so a hostile offset or count never reads past it.
  if (h->rangeGainSize != 0) {
    int off = h->rangeGainOffset - GSSI_FIXED_BYTES;
    if (off >= 0 && off + 2 <= GSSI_BLOCK_BYTES) {
      int count = rdU16le(block + off);
      int fits = (GSSI_BLOCK_BYTES - off - 2) / 4;
      count = std::min(count, fits);
      if (count > 0) {
        h->rangeGain = static_cast<float*>(std::malloc(sizeof(float) * (size_t)count));
        if (!h->rangeGain) return fail(out, SCRIVEL_ERR_READ);
        for (int i = 0; i < count; ++i) h->rangeGain[i] = rdF32le(block + off + 2 + 4 * i);
      }
      h->rangeGainCount = count;
    }
  }
  if (h->textSize != 0) {
    int off = h->textOffset - GSSI_FIXED_BYTES;
    if (off >= 0 && off < GSSI_BLOCK_BYTES) {
      const char* start = reinterpret_cast<const char*>(block + off);
      size_t n = strnlen(start, (size_t)(GSSI_BLOCK_BYTES - off));
      char* text = duplicate(start, n);
      if (!text) return fail(out, SCRIVEL_ERR_READ);
      std::free(h->text);
      h->text = text;
    }
  }
  if (h->historySize != 0) {
    // historySize bytes always (callers take the length from the field);
    // bytes beyond the block stay zero.
    h->history = static_cast<uint8_t*>(std::calloc(h->historySize, 1));
    if (!h->history) return fail(out, SCRIVEL_ERR_READ);
    int off = h->historyOffset - GSSI_FIXED_BYTES;
    if (off >= 0 && off < GSSI_BLOCK_BYTES) {
      size_t n = std::min<size_t>(h->historySize, (size_t)(GSSI_BLOCK_BYTES - off));
      std::memcpy(h->history, block + off, n);
    }
  }

  // Trace count from the file length; a file shorter than its channel
  // headers, or traces of no bytes, give no traces. A data offset below
  // 1024 counts 1024-byte blocks of a larger header, which the traces
  // follow; one that points past the end of the file is not taken.
  const int64_t length = f.length();
  const int64_t bytes = traceBytes(h);
  int64_t headers = (int64_t)h->NChan * GSSI_HEADER_BYTES;
  h->dataOffset = GSSI_HEADER_BYTES;
  const int64_t blocks = (int64_t)h->Data * GSSI_HEADER_BYTES;
  if (h->Data > 0 && h->Data < GSSI_HEADER_BYTES && blocks < length) headers = h->dataOffset = (int32_t)blocks;
  int64_t count = 0;
  if (bytes > 0 && length > headers) count = (length - headers) / bytes;
  h->traceCount = (int32_t)std::min<int64_t>(count, INT32_MAX);

  // Mark detection: a histogram of the marker byte over all traces.
  int64_t histogram[256] = {};
  ByteWindow window(f, length);
  for (int32_t i = 0; i < h->traceCount; ++i) {
    uint8_t byte = 0;
    int got = window.get(traceOffset(h, i) + markerByteOffset(h), byte);
    if (got < 0) {
      report(10038, (int)i, shown(path));
      return fail(out, SCRIVEL_ERR_SEEK);
    }
    if (got == 0) {
      // The trace is not in the file after all: keep the traces before it.
      report(10021, (int)i, shown(path));
      h->traceCount = i;
      result = SCRIVEL_WARNINGS;
      break;
    }
    ++histogram[byte];
  }
  int distinct = 0, first = -1, second = -1;
  for (int v = 0; v < 256; ++v) {
    if (!histogram[v]) continue;
    ++distinct;
    (first < 0 ? first : second) = v;
  }
  if (distinct == 2) {
    h->hasMarks = 1;
    // The less frequent value marks; on equal counts the smaller one.
    h->markValue = (uint8_t)(histogram[second] < histogram[first] ? second : first);
  }
  f.close();
  return result;
}

DV_EXPORT int WriteGssiFHdr(const char* path, GssiFHdr* hdr) {
  dv::File f;
  if (int rc = CreateFileForWrite(path, &f); rc != SCRIVEL_OK) return rc;
  if (!hdr || !validBits(hdr->Bits)) {
    f.close();
    report(10011, shown(path));
    return SCRIVEL_ERR_GSSI_BITS;
  }
  int result = SCRIVEL_OK;
  // A record read from a file (or written before) keeps its zero level, so
  // traces read from a file whose level is not the usual one are written
  // back unchanged; a new record gets the usual mid-range level.
  // A field of 0 (left unfilled by older systems) stays 0: reader and
  // writer both take the mid level for it. 32-bit samples have no level;
  // their field is carried as it is (newer systems keep a time-zero sample
  // there).
  const bool fromFile = knownTag(hdr->Tag);
  const long maxStored = hdr->Bits == 8 ? 0xFF : 0xFFFF;
  if (hdr->Bits == 32) {
    if (!fromFile) hdr->Zero = 0;
  } else if (!fromFile || hdr->Zero > maxStored) {
    hdr->Zero = hdr->Bits == 8 ? 128 : 32768;
  }
  hdr->Tag = GSSI_TAG;
  hdr->Data = GSSI_HEADER_BYTES;
  hdr->dataOffset = GSSI_HEADER_BYTES;
  if (!standardSamples(hdr->NSamp)) {
    report(10012, shown(path));
    result = SCRIVEL_WARNINGS;
  }

  // The block: range gain at its start, then the text, then the history.
  // What does not fit in the 896 bytes is cut off (gain points, then text,
  // then history), and the offsets and sizes say what was written.
  uint8_t block[GSSI_BLOCK_BYTES] = {};
  int used = 0;
  hdr->rangeGainOffset = hdr->rangeGainSize = 0;
  if (hdr->rangeGainCount >= 2 && hdr->rangeGain) {
    int count = std::min(hdr->rangeGainCount, (GSSI_BLOCK_BYTES - 2) / 4);
    wrU16le(block, (uint16_t)(int16_t)count);
    for (int i = 0; i < count; ++i) wrF32le(block + 2 + 4 * i, hdr->rangeGain[i]);
    hdr->rangeGainOffset = GSSI_FIXED_BYTES;
    hdr->rangeGainSize = (uint16_t)(4 * count + 2);
    used = hdr->rangeGainSize;
  }
  hdr->textOffset = hdr->textSize = 0;
  size_t textLen = hdr->text ? std::strlen(hdr->text) : 0;
  if (textLen > 0 && used < GSSI_BLOCK_BYTES) {
    textLen = std::min<size_t>(textLen, (size_t)(GSSI_BLOCK_BYTES - used - 1));
    std::memcpy(block + used, hdr->text, textLen);
    hdr->textOffset = (uint16_t)(GSSI_FIXED_BYTES + used);
    hdr->textSize = (uint16_t)(textLen + 1);
    used += hdr->textSize;
  }
  if (hdr->history && hdr->historySize > 0 && used < GSSI_BLOCK_BYTES) {
    size_t n = std::min<size_t>(hdr->historySize, (size_t)(GSSI_BLOCK_BYTES - used));
    std::memcpy(block + used, hdr->history, n);
    hdr->historyOffset = (uint16_t)(GSSI_FIXED_BYTES + used);
    hdr->historySize = (uint16_t)n;
  } else {
    hdr->historyOffset = 0;
    hdr->historySize = 0;
  }

  uint8_t fixed[GSSI_FIXED_BYTES];
  gssi::encodeFixed(hdr, fixed);
  hdr->ChkSum = gssi::checksum(fixed, block);
  wrU16le(fixed + 126, hdr->ChkSum);
  if (f.write(fixed, sizeof fixed) != sizeof fixed || f.write(block, sizeof block) != sizeof block ||
      !f.flush()) {
    f.close();
    report(10004, shown(path));
    return SCRIVEL_ERR_CREATE;
  }
  f.close();
  return result;
}

DV_EXPORT int ReadGssiTrace(const char* path, dv::File* file, GssiFHdr* hdr, int index, int* mark,
                            float** samples, int quiet) {
  if (!hdr || !validBits(hdr->Bits)) {
    reportUnlessQuiet(quiet, 10011, shown(path));
    return SCRIVEL_ERR_GSSI_BITS;
  }
  const int64_t offset = traceOffset(hdr, index);
  if (!file || index < 0 || !seekTo(*file, offset)) {
    reportUnlessQuiet(quiet, 10038, index + 1, shown(path));
    return SCRIVEL_ERR_SEEK;
  }
  const int n = hdr->NSamp;
  const size_t bytes = (size_t)traceBytes(hdr);
  static thread_local std::vector<uint8_t> raw;
  raw.resize(bytes);
  if (file->read(raw.data(), bytes) != bytes) {
    reportUnlessQuiet(quiet, 10021, index + 1, shown(path));
    return SCRIVEL_ERR_READ;
  }
  float* out = allocSamples((size_t)n);
  if (!out) {
    reportUnlessQuiet(quiet, 10021, index + 1, shown(path));
    return SCRIVEL_ERR_READ;
  }
  const long zero = zeroLevel(hdr);
  const int bits = hdr->Bits;
  int isMarked = 0;
  if (hdr->hasMarks && n >= 2) {
    isMarked = raw[(size_t)markerByteOffset(hdr)] == hdr->markValue;
    // The marker samples carry no signal: they read as the zero level.
    if (bits == 8) {
      raw[0] = raw[1] = (uint8_t)zero;
    } else if (bits == 16) {
      wrU16le(&raw[0], (uint16_t)zero);
      wrU16le(&raw[2], (uint16_t)zero);
    } else {
      std::memset(raw.data(), 0, 8);
    }
  }
  const uint8_t* p = raw.data();
  if (bits == 8) {
    for (int i = 0; i < n; ++i) out[i] = (float)((long)p[i] - zero);
  } else if (bits == 16) {
    for (int i = 0; i < n; ++i) out[i] = (float)((long)rdU16le(p + 2 * i) - zero);
  } else {
    for (int i = 0; i < n; ++i) out[i] = (float)(int32_t)rdU32le(p + 4 * i);
  }
  const std::vector<float>& gain = gssi::gainFactors(hdr, n);
  if (!gain.empty())
    for (int i = 0; i < n; ++i) out[i] *= gain[(size_t)i];
  if (mark) *mark = isMarked;
  *samples = out;
  return SCRIVEL_OK;
}

DV_EXPORT int WriteGssiTrace(const char* path, dv::File* file, GssiFHdr* hdr, int index, int mark,
                             float* samples) {
  if (!hdr || !validBits(hdr->Bits)) {
    report(10011, shown(path));
    return SCRIVEL_ERR_GSSI_BITS;
  }
  const int64_t offset = traceOffset(hdr, index);
  if (!file || index < 0 || !seekTo(*file, offset)) {
    report(10038, index + 1, shown(path));
    return SCRIVEL_ERR_SEEK;
  }
  const int n = hdr->NSamp;
  const int bits = hdr->Bits;
  const long zero = zeroLevel(hdr);
  const long maxStored = bits == 8 ? 0xFF : 0xFFFF;
  // The values the stored unsigned range can hold around the zero level;
  // with the usual level these are -128..127 and -32768..32767. 32-bit
  // samples are signed.
  const long lo = bits == 32 ? (long)INT32_MIN : -zero;
  const long hi = bits == 32 ? (long)INT32_MAX : maxStored - zero;
  const std::vector<float>& gain = gssi::gainFactors(hdr, n);
  static thread_local std::vector<uint8_t> raw;
  raw.resize((size_t)traceBytes(hdr));
  // Restore the recorded gain, then convert.
  const float* values = samples;
  static thread_local std::vector<float> gained;
  if (!gain.empty()) {
    gained.resize((size_t)n);
    for (int i = 0; i < n; ++i) gained[(size_t)i] = samples[i] / gain[(size_t)i];
    values = gained.data();
  }
  uint8_t* p = raw.data();
  int result =
      bits == 8    ? convertSamples(values, n, lo, hi, zero, index, path, [p](int i, long v) { p[i] = (uint8_t)v; })
      : bits == 16 ? convertSamples(values, n, lo, hi, zero, index, path,
                                    [p](int i, long v) { wrU16le(p + 2 * i, (uint16_t)v); })
                   : convertSamples(values, n, lo, hi, zero, index, path,
                                    [p](int i, long v) { wrU32le(p + 4 * i, (uint32_t)(int32_t)v); });
  // Trace marker: all ones, then the ordinary or user-mark word (0xF0 or
  // 0xE8). 32-bit traces carry the marker of the newer systems instead:
  // the trace number, then a word whose top byte is 0xE8 on a marked trace
  // and 0 elsewhere, so a line without marks reads back as it was written.
  if (bits == 32) {
    if (n >= 1) wrU32le(p, (uint32_t)index);
    if (n >= 2) wrU32le(p + 4, mark ? 0xE8000000u : 0u);
  } else if (bits == 16) {
    if (n >= 1) wrU16le(p, 0xFFFF);
    if (n >= 2) wrU16le(p + 2, mark ? 0xE800 : 0xF000);
  } else {
    if (n >= 1) p[0] = 0xFF;
    if (n >= 2) p[1] = mark ? 0xE8 : 0xF0;
  }
  if (file->write(raw.data(), raw.size()) != raw.size()) {
    report(10038, index + 1, shown(path));
    return SCRIVEL_ERR_SEEK;
  }
  return result;
}
