#include "processing/trace_bytes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

#include "dv/file.h"
#include "project/raw_traces.h"
#include "scrivel/gssi.h"
#include "scrivel/segy.h"

namespace quv {

namespace {

uint16_t get16(const uint8_t* p, bool be) {
  return be ? uint16_t(p[0] << 8 | p[1]) : uint16_t(p[1] << 8 | p[0]);
}
uint32_t get32(const uint8_t* p, bool be) {
  return be ? uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]
            : uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}
void put16le(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
void put32le(uint8_t* p, uint32_t v) {
  for (int b = 0; b < 4; ++b) p[b] = uint8_t(v >> (8 * b));
}

// Every stored integer of `width` bytes (signed) from sample `from` on lies
// within +-limit: such values pass through a float unchanged.
bool integersWithin(const uint8_t* p, size_t from, size_t n, int width, bool be, int64_t limit) {
  for (size_t i = from; i < n; ++i) {
    const int64_t v = width == 4 ? int64_t(int32_t(get32(p + 4 * i, be)))
                                 : int64_t(int16_t(get16(p + 2 * i, be)));
    if (v > limit || v < -limit) return false;
  }
  return true;
}

// What is put right in a trace's copied bytes, per format.
class TraceFixer {
 public:
  virtual ~TraceFixer() = default;
  // The trace's bytes as the library would write them at place `index` of
  // the new recording (`blank`: with every sample zero); false when they
  // would not be the bytes copied.
  virtual bool fix(uint8_t* trace, int index, bool blank) const = 0;
};

// GSSI. The reader takes the range gain off each sample as a float and
// the writer puts it back; for 8- and 16-bit samples (at most 65,535 from
// the zero level) and factors between 1e-30 and 1e30 (curves within +-600
// dB) the two roundings stay far below half a step, so every stored value
// comes back. 32-bit samples pass through a float exactly up to 2^24, or
// 2^20 with the gain's roundings on top; larger ones make the copy give
// way to the library. The first two samples carry the marker words the
// writer puts there.
class GssiFixer final : public TraceFixer {
 public:
  GssiFixer(const GssiFHdr& h, long zero)
      : n_(h.NSamp),
        bits_(h.Bits),
        zero_(zero),
        marks_(h.hasMarks != 0 && h.NSamp >= 2),
        markValue_(h.markValue),
        markerByte_(2 * (h.Bits / 8) - 1),
        limit_(h.rangeGainCount >= 2 && h.rangeGain ? int64_t(1) << 20 : int64_t(1) << 24) {}
  bool fix(uint8_t* t, int index, bool blank) const override {
    const bool marked = marks_ && t[markerByte_] == markValue_;
    if (blank) {
      for (int i = 0; i < n_; ++i) {
        if (bits_ == 8) t[i] = uint8_t(zero_);
        else if (bits_ == 16) put16le(t + 2 * i, uint16_t(zero_));
        else put32le(t + 4 * i, 0);
      }
    } else if (bits_ == 32 && !integersWithin(t, 2, size_t(n_), 4, false, limit_)) {
      return false;
    }
    if (bits_ == 32) {
      if (n_ >= 1) put32le(t, uint32_t(index));
      if (n_ >= 2) put32le(t + 4, marked ? 0xE8000000u : 0u);
    } else if (bits_ == 16) {
      if (n_ >= 1) put16le(t, 0xFFFF);
      if (n_ >= 2) put16le(t + 2, marked ? 0xE800 : 0xF000);
    } else {
      if (n_ >= 1) t[0] = 0xFF;
      if (n_ >= 2) t[1] = marked ? 0xE8 : 0xF0;
    }
    return true;
  }

 private:
  int n_, bits_;
  long zero_;
  bool marks_;
  uint8_t markValue_;
  int markerByte_;
  int64_t limit_;
};

// The zero level GSSI samples are stored around (the reader's and writer's
// rule): 8-bit samples use the field's low byte, an unfilled field is the
// mid level, 32-bit samples have none.
long gssiZeroLevel(const GssiFHdr& h) {
  if (h.Bits == 32) return 0;
  if (h.Zero == 0) return h.Bits == 8 ? 128 : 32768;
  return h.Bits == 8 ? (h.Zero & 0xFF) : h.Zero;
}

bool gssiGainKeepsValues(const GssiFHdr& h) {
  if (h.rangeGainCount < 2 || !h.rangeGain) return true;
  for (int i = 0; i < h.rangeGainCount; ++i)
    if (!std::isfinite(h.rangeGain[i]) || std::fabs(h.rangeGain[i]) > 600.0f) return false;
  return true;
}

bool sameGain(const GssiFHdr& a, const GssiFHdr& b) {
  const bool none = a.rangeGainCount < 2 || !a.rangeGain;
  if (none || b.rangeGainCount < 2 || !b.rangeGain) return none == (b.rangeGainCount < 2 || !b.rangeGain);
  return a.rangeGainCount == b.rangeGainCount &&
         std::memcmp(a.rangeGain, b.rangeGain, sizeof(float) * size_t(a.rangeGainCount)) == 0;
}

// SEG-Y: the 240-byte trace header is written as it was read. The reader
// takes a trace's binary gain off integer samples and the writer puts it
// back, exactly for exponents up to 100; 16- and 8-bit integers pass
// through a float exactly, 32-bit ones up to 2^24; IEEE floats come back
// as they were unless they are no finite number or beyond the writer's
// limit of 3.4e38.
class SegyFixer final : public TraceFixer {
 public:
  explicit SegyFixer(const SegyFHdr& h)
      : n_(h.samples), code_(h.formatCode), be_(h.bigEndian != 0),
        bps_(scrivel::segyBytesPerSample(h.formatCode)) {}
  bool fix(uint8_t* t, int, bool blank) const override {
    uint8_t* s = t + SEGY_TRACE_HEADER_SIZE;
    if (blank) {
      std::memset(s, 0, n_ * size_t(bps_));
      return true;
    }
    const bool integer = code_ == SEGY_INT32 || code_ == SEGY_INT16;
    if (integer && get16(t + 168, be_) > 100) return false;
    if (code_ == SEGY_INT32) return integersWithin(s, 0, n_, 4, be_, int64_t(1) << 24);
    if (code_ == SEGY_FLOAT32 || code_ == SEGY_IEEE32)
      for (size_t i = 0; i < n_; ++i) {
        const uint32_t w = get32(s + 4 * i, be_);
        float v;
        std::memcpy(&v, &w, 4);
        if (!std::isfinite(v) || std::fabs(v) > 3.4e38f) return false;
      }
    return true;
  }

 private:
  size_t n_;
  int code_;
  bool be_;
  int bps_;
};

// Where the traces of a recording lie and how each is put right.
struct Layout {
  int64_t first = 0;  // file offset of trace 0
  int64_t bytes = 0;  // per trace
  int64_t to = 0;     // file offset of trace 0 in the new recording
  std::unique_ptr<TraceFixer> fixer;
};

// The layout of `d`'s traces when they can be copied into a recording with
// header `nh`; no fixer otherwise.
Layout layoutOf(const RawData& d, const void* nh) {
  Layout l;
  if (!d.header || !nh || d.headerFormat != d.format) return l;
  if (d.format == kRawGssi) {
    const auto& h = *static_cast<const GssiFHdr*>(d.header);
    const auto& n = *static_cast<const GssiFHdr*>(nh);
    if ((h.Bits != 8 && h.Bits != 16 && h.Bits != 32) || n.Bits != h.Bits || n.NSamp != h.NSamp ||
        gssiZeroLevel(h) != gssiZeroLevel(n) || !gssiGainKeepsValues(h) || !sameGain(h, n))
      return l;
    l.first = h.dataOffset > 0 ? h.dataOffset : GSSI_HEADER_BYTES;
    l.to = n.dataOffset > 0 ? n.dataOffset : GSSI_HEADER_BYTES;
    l.bytes = int64_t(h.NSamp) * (h.Bits / 8);
    l.fixer = std::make_unique<GssiFixer>(h, gssiZeroLevel(n));
  } else if (d.format == kRawSegy) {
    const auto& h = *static_cast<const SegyFHdr*>(d.header);
    const auto& n = *static_cast<const SegyFHdr*>(nh);
    const int code = h.formatCode;
    const bool copyable = code == SEGY_INT16 || code == SEGY_INT8 || code == SEGY_INT32 ||
                          code == SEGY_IEEE32 || (code == SEGY_FLOAT32 && !scrivel::segyIbm(h));
    if (!copyable || n.formatCode != h.formatCode || n.samples != h.samples ||
        n.bigEndian != h.bigEndian || n.floatFormat != h.floatFormat)
      return l;
    l.first = scrivel::segyFirstTraceOffset(h);
    l.to = scrivel::segyFirstTraceOffset(n);
    l.bytes = scrivel::segyTraceOffset(h, 1) - l.first;
    l.fixer = std::make_unique<SegyFixer>(h);
  }
  if (l.bytes <= 0) l.fixer.reset();
  return l;
}

// The stored traces of a recording, read a few megabytes at a time in the
// direction the order walks them (backwards for a reversal).
class StoredTraces {
 public:
  StoredTraces(const std::string& path, const Layout& l, int traces)
      : layout_(l), traces_(traces),
        perWindow_(int(std::clamp<int64_t>(kWindowBytes / l.bytes, 1, std::max(traces, 1)))) {
    open_ = file_.open(path, dv::File::ReadOnly);
  }
  // Trace `index` (from 0), null when it cannot be read.
  const uint8_t* trace(int index) {
    if (index < 0 || index >= traces_) return nullptr;
    if (index < lo_ || index >= lo_ + count_) {
      if (!open_) return nullptr;
      // Walking down: the window ends at this trace; else it starts there.
      const int lo = index == last_ - 1 ? std::max(0, index - perWindow_ + 1) : index;
      const int want = std::min(perWindow_, traces_ - lo);
      buf_.resize(size_t(want) * size_t(layout_.bytes));
      const int64_t at = layout_.first + int64_t(lo) * layout_.bytes;
      const size_t got = file_.seek(at) == at ? file_.read(buf_.data(), buf_.size()) : 0;
      lo_ = lo;
      count_ = int(got / size_t(layout_.bytes));
      if (index >= lo_ + count_) return nullptr;
    }
    last_ = index;
    return buf_.data() + size_t(index - lo_) * size_t(layout_.bytes);
  }

 private:
  static constexpr int64_t kWindowBytes = int64_t(4) << 20;
  const Layout& layout_;
  int traces_;
  int perWindow_;
  dv::File file_;
  bool open_ = false;
  std::vector<uint8_t> buf_;
  int lo_ = 0, count_ = 0, last_ = -2;
};

}  // namespace

TraceCopy copyTraceBytes(const RawData& d, const void* newHeader, const std::vector<int>& order,
                         const std::string& path, const std::function<void(int, int)>& progress,
                         std::string& why) {
  const Layout layout = layoutOf(d, newHeader);
  if (!layout.fixer) return TraceCopy::NotExact;
  StoredTraces stored(rawSamplesPath(d), layout, d.traces);
  dv::File out;
  if (!out.open(path, dv::File::WriteExisting) || out.seek(layout.to) != layout.to) {
    why = "the new file could not be opened for writing";
    return TraceCopy::Failed;
  }
  // The new traces gather in a buffer of a few megabytes, written whole.
  const size_t bytes = size_t(layout.bytes);
  const size_t perBuffer = std::max<size_t>(1, (size_t(4) << 20) / bytes);
  std::vector<uint8_t> buffer(perBuffer * bytes);
  size_t filled = 0;
  const int traces = int(order.size());
  for (int i = 0; i < traces; ++i) {
    if (progress) progress(i, traces);
    const int entry = order[size_t(i)];
    const int source = (entry < 0 ? -entry : entry) - 1;
    const uint8_t* t = stored.trace(source);
    if (!t) {
      why = "trace " + std::to_string(source + 1) + " could not be read";
      return TraceCopy::Failed;
    }
    uint8_t* to = buffer.data() + filled * bytes;
    std::memcpy(to, t, bytes);
    if (!layout.fixer->fix(to, i, entry < 0)) return TraceCopy::NotExact;
    if (++filled == perBuffer || i + 1 == traces) {
      if (out.write(buffer.data(), filled * bytes) != filled * bytes) {
        why = "the new file could not be written whole";
        return TraceCopy::Failed;
      }
      filled = 0;
    }
  }
  if (!out.flush()) {
    why = "the new file could not be written whole";
    return TraceCopy::Failed;
  }
  return TraceCopy::Done;
}

}  // namespace quv
