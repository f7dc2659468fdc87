#include "project/raw_traces.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "dv/file.h"
#include "project/quv.h"
#include "scrivel/gssi.h"
#include "scrivel/pekko.h"
#include "scrivel/ramac.h"
#include "scrivel/seg2.h"
#include "scrivel/segy.h"

namespace quv {

RawTraceRecord::RawTraceRecord() = default;
RawTraceRecord::RawTraceRecord(RawTraceRecord&&) noexcept = default;
RawTraceRecord& RawTraceRecord::operator=(RawTraceRecord&&) noexcept = default;
RawTraceRecord::~RawTraceRecord() = default;

const std::string& rawSamplesPath(const RawData& d) {
  return d.format == kRawPekko || d.format == kRawRamac ? d.secondPath : d.firstPath;
}

int readRawTrace(const RawData& d, dv::File& file, int index, int quiet, float* out, bool& marked,
                 RawTraceRecord* record) {
  const int n = d.samples;
  if (out) std::fill(out, out + n, 0.0f);
  marked = false;
  const char* path = rawSamplesPath(d).c_str();
  float* samples = nullptr;
  int count = 0;
  int rc = SCRIVEL_ERR_READ;
  switch (d.format) {
    case kRawGssi: {
      auto read = scrivel<PfnReadGssiTrace>(SCRIVEL_ReadGssiTrace);
      auto* h = static_cast<GssiFHdr*>(d.header);
      int mark = 0;
      if (read) rc = read(path, &file, h, index, &mark, &samples, quiet);
      marked = rc >= 0 && mark != 0;
      if (record) record->mark = mark;
      count = h->NSamp;
      break;
    }
    case kRawPekko: {
      auto read = scrivel<PfnReadPekkoTrace>(SCRIVEL_ReadPekkoTrace);
      auto* h = static_cast<PekkoFHdr*>(d.header);
      PekkoTraceHdr* th = nullptr;
      if (read) rc = read(path, &file, h, &th, index, &samples, quiet);
      marked = rc >= 0 && th && pekkoFiducial(*th);
      if (record)
        record->pekko.reset(th);
      else
        delete th;
      count = h->points;
      break;
    }
    case kRawRamac: {
      auto read = scrivel<PfnReadRamacTrace>(SCRIVEL_ReadRamacTrace);
      auto* h = static_cast<RamacFHdr*>(d.header);
      if (read) rc = read(path, &file, h, index, &samples, quiet);
      count = h->samples;
      break;
    }
    case kRawSeg2: {
      auto read = scrivel<PfnReadSeg2Trace>(SCRIVEL_ReadSeg2Trace);
      Seg2TraceHdr* th = nullptr;
      if (read)
        rc = read(path, &file, static_cast<Seg2FHdr*>(d.header), &th, index, &samples, quiet);
      // SEG-2 traces may each hold their own number of samples.
      count = th ? int(std::min<uint32_t>(th->samples, INT32_MAX)) : 0;
      if (record)
        record->seg2.reset(th);
      else
        std::free(th);
      break;
    }
    case kRawSegy: {
      auto read = scrivel<PfnReadSegyTrace>(SCRIVEL_ReadSegyTrace);
      auto* h = static_cast<SegyFHdr*>(d.header);
      SegyTraceHdr* th = nullptr;
      if (read) rc = read(path, &file, h, &th, index, &samples, quiet);
      if (record)
        record->segy.reset(th);
      else
        std::free(th);
      count = h->samples;
      break;
    }
  }
  if (record) {
    const size_t c = size_t(std::max(count, 0));
    if (rc >= 0 && samples)
      record->samples.assign(samples, samples + c);
    else
      record->samples.assign(c, 0.0f);
  }
  if (out && rc >= 0 && samples)
    std::memcpy(out, samples, sizeof(float) * size_t(std::clamp(count, 0, n)));
  std::free(samples);
  return rc;
}

}  // namespace quv
