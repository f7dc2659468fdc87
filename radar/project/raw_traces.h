// Reading the traces of a raw item's recording through the format library
// (module 1's function table), with the header record the item holds.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "project/raw.h"

namespace dv {
class File;
}
struct PekkoTraceHdr;
struct Seg2TraceHdr;
struct SegyTraceHdr;

namespace quv {

// The file that holds the samples: the data file of pulseEKKO and RAMAC
// items, the recording itself for the other formats.
const std::string& rawSamplesPath(const RawData& d);

// A trace's own record in formats that have one, kept when a recording is
// rewritten so that everything but what was changed stays as it was.
struct RawTraceRecord {
  // The samples exactly as the library read them (a SEG-2 trace may hold
  // more or fewer than the item's sample count).
  std::vector<float> samples;
  int mark = 0;  // the GSSI marker value
  std::unique_ptr<PekkoTraceHdr> pekko;
  std::unique_ptr<Seg2TraceHdr, FreeDeleter> seg2;
  std::unique_ptr<SegyTraceHdr, FreeDeleter> segy;
  RawTraceRecord();
  RawTraceRecord(RawTraceRecord&&) noexcept;
  RawTraceRecord& operator=(RawTraceRecord&&) noexcept;
  ~RawTraceRecord();
};

// Reads trace `index` into out (d.samples floats: the library's samples cut
// to that count or filled up with zeros, all zeros after a failed read) and
// says whether the recording marks it; keeps the trace's record in *record
// when one is given (out may then be null). Returns the library's status.
int readRawTrace(const RawData& d, dv::File& file, int index, int quiet, float* out, bool& marked,
                 RawTraceRecord* record = nullptr);

}  // namespace quv
