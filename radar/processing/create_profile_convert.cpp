// Copying a raw item's traces into a profile sample file: every trace is
// read through the format library (or taken from memory when the raw window
// holds it), RAMAC traces lose their DC level, and the trace is written with
// WriteProfileTrace. The file is written beside its final name and renamed
// over it only when every trace is in, so a failed conversion never leaves a
// partial sample file under the profile's name.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <future>
#include <vector>

#include "dv/file.h"
#include "processing/create_profile.h"
#include "project/quv.h"
#include "scrivel/gssi.h"
#include "scrivel/pekko.h"
#include "scrivel/ramac.h"
#include "scrivel/seg2.h"
#include "scrivel/segy.h"
#include "project/messages.h"
#include "project/parallel.h"
#include "project/trace_progress.h"

namespace quv {

namespace {

// Reads trace `index` of the source into `out` (n floats): the samples the
// library returns, cut to n or filled up with zeros. Returns the library's
// status; a failed read leaves zeros.
int readTrace(const RawTraceSource& s, dv::File& file, int index, int quiet, float* out) {
  const int n = s.samples;
  std::fill(out, out + n, 0.0f);
  const char* path = s.samplesPath.c_str();
  float* samples = nullptr;
  int count = 0;
  int rc = SCRIVEL_ERR_READ;
  switch (s.format) {
    case 0: {
      auto read = scrivel<PfnReadGssiTrace>(SCRIVEL_ReadGssiTrace);
      auto* h = static_cast<GssiFHdr*>(s.header);
      int mark = 0;
      if (read) rc = read(path, &file, h, index, &mark, &samples, quiet);
      count = h->NSamp;
      break;
    }
    case 1: {
      auto read = scrivel<PfnReadPekkoTrace>(SCRIVEL_ReadPekkoTrace);
      auto* h = static_cast<PekkoFHdr*>(s.header);
      PekkoTraceHdr* th = nullptr;
      if (read) rc = read(path, &file, h, &th, index, &samples, quiet);
      delete th;
      count = h->points;
      break;
    }
    case 2: {
      auto read = scrivel<PfnReadRamacTrace>(SCRIVEL_ReadRamacTrace);
      auto* h = static_cast<RamacFHdr*>(s.header);
      if (read) rc = read(path, &file, h, index, &samples, quiet);
      count = h->samples;
      break;
    }
    case 3: {
      auto read = scrivel<PfnReadSeg2Trace>(SCRIVEL_ReadSeg2Trace);
      Seg2TraceHdr* th = nullptr;
      if (read) rc = read(path, &file, static_cast<Seg2FHdr*>(s.header), &th, index, &samples, quiet);
      // SEG-2 traces may each hold their own number of samples.
      count = th ? static_cast<int>(std::min<uint32_t>(th->samples, INT32_MAX)) : 0;
      std::free(th);
      break;
    }
    case 4: {
      auto read = scrivel<PfnReadSegyTrace>(SCRIVEL_ReadSegyTrace);
      auto* h = static_cast<SegyFHdr*>(s.header);
      SegyTraceHdr* th = nullptr;
      if (read) rc = read(path, &file, h, &th, index, &samples, quiet);
      std::free(th);
      count = h->samples;
      break;
    }
  }
  if (rc >= 0 && samples) std::memcpy(out, samples, sizeof(float) * (size_t)std::clamp(count, 0, n));
  std::free(samples);
  return rc;
}

bool inMemory(const RawTraceSource& s, int index) {
  return s.loaded && index < (int)s.loaded->size() && (*s.loaded)[(size_t)index];
}

// Traces read ahead a block at a time on a second thread, through its own
// handle on the recording and quietly, while this thread writes the block
// before. A trace whose read failed there is not given: the caller reads it
// again itself, so the format library reports it just as without reading ahead.
class ReadAhead {
 public:
  ReadAhead(const RawTraceSource& s, bool wanted) : s_(s) {
    auto open = scrivel<PfnOpenFile>(SCRIVEL_OpenFileForRead);
    on_ = wanted && workerThreads() > 1 && s.samples > 0 && s.traces > 1 && open &&
          open(s.samplesPath.c_str(), &file_) == SCRIVEL_OK;
    if (on_) start(0, Block());
  }
  ~ReadAhead() {
    if (next_.valid()) next_.wait();
    file_.close();
  }
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // The samples of trace i (asked in ascending order) when read ahead whole.
  const float* trace(int i) {
    if (!on_) return nullptr;
    while (i >= block_.first + block_.count) {
      if (!next_.valid()) return nullptr;
      Block used = std::move(block_);
      block_ = next_.get();
      const int end = block_.first + block_.count;
      // The block just used is filled again: its memory is not given back
      // and asked for anew (page faults and zeroing) for every block.
      if (end < s_.traces) start(end, std::move(used));
    }
    const int k = i - block_.first;
    if (k < 0 || block_.rc[size_t(k)] != SCRIVEL_OK) return nullptr;
    return block_.samples.data() + size_t(k) * size_t(s_.samples);
  }

 private:
  static constexpr int kBlock = 512;
  struct Block {
    int first = 0, count = 0;
    std::vector<float> samples;
    std::vector<int> rc;
  };
  void start(int first, Block reuse) {
    next_ = std::async(std::launch::async, [this, first, b = std::move(reuse)]() mutable {
      b.first = first;
      b.count = std::min(kBlock, s_.traces - first);
      b.samples.resize(size_t(b.count) * size_t(s_.samples));
      b.rc.assign(size_t(b.count), SCRIVEL_ERR_READ);
      for (int k = 0; k < b.count; ++k)
        if (!inMemory(s_, first + k))
          b.rc[size_t(k)] = readTrace(s_, file_, first + k, 1, b.samples.data() + size_t(k) * size_t(s_.samples));
      return b;
    });
  }
  const RawTraceSource& s_;
  dv::File file_;
  bool on_ = false;
  Block block_;
  std::future<Block> next_;
};

}  // namespace

ProfileTraceFile::~ProfileTraceFile() { drop(); }

void ProfileTraceFile::drop() {
  if (!open_) return;
  file_.close();
  dv::removeFile(path_ + ".part");
  open_ = false;
}

bool ProfileTraceFile::create(const std::string& path) {
  drop();
  auto create = scrivel<PfnOpenFile>(SCRIVEL_CreateFileForWrite);
  if (!create || !scrivel<PfnWriteProfileTrace>(SCRIVEL_WriteProfileTrace)) return false;
  path_ = path;
  next_ = 0;
  range_ = AmplitudeRange{};
  open_ = create((path + ".part").c_str(), &file_) >= 0;
  return open_;
}

bool ProfileTraceFile::write(const float* samples, int n) {
  auto write = scrivel<PfnWriteProfileTrace>(SCRIVEL_WriteProfileTrace);
  if (!open_ || !write) return false;
  range_.take(samples, n);
  // The library takes the samples as writable; it does not change them.
  return write(path_.c_str(), &file_, n, next_++, const_cast<float*>(samples)) == SCRIVEL_OK;
}

bool ProfileTraceFile::finish() {
  if (!open_) return false;
  const bool ok = file_.flush();
  file_.close();
  if (ok && dv::renameFile(path_ + ".part", path_)) {
    open_ = false;
    return true;
  }
  open_ = true;  // the temporary file goes
  drop();
  return false;
}

ConversionResult convertTraces(const RawTraceSource& s, const std::string& path,
                               const std::function<void(int trace, int traces)>& progress) {
  ConversionResult result;
  auto open = scrivel<PfnOpenFile>(SCRIVEL_OpenFileForRead);
  if (!open || s.traces < 0 || s.samples < 0 || (s.traces > 0 && !s.header)) return result;
  ProfileTraceFile out;
  if (!out.create(path)) return result;

  bool allInMemory = true;
  for (int i = 0; i < s.traces && allInMemory; ++i) allInMemory = inMemory(s, i);
  dv::File in;
  // A recording that cannot be opened any more would give a profile of
  // zeros: the conversion fails instead (the library reports the file).
  bool ok = allInMemory || open(s.samplesPath.c_str(), &in) == SCRIVEL_OK;

  std::vector<float> trace((size_t)std::max(s.samples, 1));
  int quiet = 0;
  ReadAhead ahead(s, ok && !allInMemory);
  for (int i = 0; ok && i < s.traces; ++i) {
    if (progress && i % 10 == 0) {
      progress(i, s.traces);
      if (stepCancelled()) {
        // Stopped by the user: the temporary file goes, nothing is reported.
        in.close();
        result.cancelled = true;
        return result;
      }
    }
    // Written from where the samples are; only RAMAC's change (in a copy).
    const float* samples = trace.data();
    if (inMemory(s, i)) {
      samples = (*s.loaded)[(size_t)i].get();
    } else if (const float* read = ahead.trace(i)) {
      samples = read;
    } else if (readTrace(s, in, i, quiet, trace.data()) != SCRIVEL_OK &&
               ++result.readProblems == 25) {
      msg(0, kMsgWarningMoreThan25TraceWarningsOr);
      quiet = 1;
    }
    if (s.format == 2) {
      if (samples != trace.data()) std::memcpy(trace.data(), samples, sizeof(float) * (size_t)s.samples);
      removeDcLevel(trace.data(), s.samples);
      samples = trace.data();
    }
    ok = out.write(samples, s.samples);
  }
  in.close();
  ok = ok && out.finish();
  if (!ok) msg(0, kMsgErrorCouldNotWrite, path.c_str());
  result.range = out.range();
  result.ok = ok;
  return result;
}

}  // namespace quv
