// RAMAC RAD/RD3: the .RAD text header of "KEYWORD:value" lines and the
// headerless .RD3 data file of S little-endian 16-bit samples per trace.
#include <cstdlib>
#include <string>
#include <vector>

#include "convert.h"
#include "codec.h"
#include "dv/file.h"
#include "scrivel/ramac.h"
#include "scrivel_internal.h"
#include "trace_io.h"

using namespace scrivel;

namespace {

const char* shown(const char* path) { return path ? path : ""; }

enum class Kind { Int, Float, Text };

struct Keyword {
  const char* key;
  Kind kind;
  int32_t RamacFHdr::*i;
  float RamacFHdr::*f;
  std::string RamacFHdr::*s;
};

constexpr Keyword I(const char* k, int32_t RamacFHdr::*m) { return {k, Kind::Int, m, nullptr, nullptr}; }
constexpr Keyword F(const char* k, float RamacFHdr::*m) { return {k, Kind::Float, nullptr, m, nullptr}; }
constexpr Keyword T(const char* k, std::string RamacFHdr::*m) { return {k, Kind::Text, nullptr, nullptr, m}; }

// In the record's order; a line takes the first keyword it begins with, so
// "FREQUENCY STEPS:" is never read as "FREQUENCY:" (the colon tells them apart).
const Keyword kKeywords[] = {
    I("SAMPLES:", &RamacFHdr::samples),
    F("FREQUENCY:", &RamacFHdr::frequency),
    I("FREQUENCY STEPS:", &RamacFHdr::frequencySteps),
    F("SIGNAL POSITION:", &RamacFHdr::signalPosition),
    I("RAW SIGNAL POSITION:", &RamacFHdr::rawSignalPosition),
    I("DISTANCE FLAG:", &RamacFHdr::distanceFlag),
    I("TIME FLAG:", &RamacFHdr::timeFlag),
    I("PROGRAM FLAG:", &RamacFHdr::programFlag),
    I("EXTERNAL FLAG:", &RamacFHdr::externalFlag),
    F("TIME INTERVAL:", &RamacFHdr::timeInterval),
    F("DISTANCE INTERVAL:", &RamacFHdr::distanceInterval),
    T("OPERATOR:", &RamacFHdr::operatorName),
    T("CUSTOMER:", &RamacFHdr::customer),
    T("SITE:", &RamacFHdr::site),
    T("ANTENNAS:", &RamacFHdr::antennas),
    T("ANTENNA ORIENTATION:", &RamacFHdr::antennaOrientation),
    F("ANTENNA SEPARATION:", &RamacFHdr::antennaSeparation),
    T("COMMENT:", &RamacFHdr::comment),
    F("TIMEWINDOW:", &RamacFHdr::timeWindow),
    I("STACKS:", &RamacFHdr::stacks),
    I("STACK EXPONENT:", &RamacFHdr::stackExponent),
    F("STACKING TIME:", &RamacFHdr::stackingTime),
    I("LAST TRACE:", &RamacFHdr::lastTrace),
    F("STOP POSITION:", &RamacFHdr::stopPosition),
    F("SYSTEM CALIBRATION:", &RamacFHdr::systemCalibration),
};

int64_t traceOffset(int64_t samples, int index) { return 2 * samples * (int64_t)index; }

}  // namespace

DV_EXPORT int IsRamacHdrFile(const char* path) {
  dv::File f;
  if (!path || !f.open(path, dv::File::ReadOnly, true)) return SCRIVEL_ERR_OPEN_READ;
  std::string line;
  if (!f.readLine(line)) return SCRIVEL_ERR_NOT_RAMAC;
  return startsWith(trimLeft(line), "SAMPLES:") ? SCRIVEL_OK : SCRIVEL_ERR_NOT_RAMAC;
}

DV_EXPORT int CreateRamacFHdr(RamacFHdr** out) {
  if (!out) return SCRIVEL_ERR_READ;
  *out = new RamacFHdr();
  return SCRIVEL_OK;
}

DV_EXPORT int ReadRamacFHdr(const char* path, RamacFHdr** out) {
  if (!out) return SCRIVEL_ERR_READ;
  int test = IsRamacHdrFile(path);
  if (test != SCRIVEL_OK) {
    report(test == SCRIVEL_ERR_OPEN_READ ? 10001 : 10007, shown(path));
    return test;
  }
  dv::File f;
  if (!f.open(path, dv::File::ReadOnly, true)) {
    report(10001, shown(path));
    return SCRIVEL_ERR_OPEN_READ;
  }
  CreateRamacFHdr(out);
  RamacFHdr* h = *out;
  std::string line;
  while (f.readLine(line)) {
    const std::string s = trim(line);
    for (const Keyword& k : kKeywords) {
      if (!startsWith(s, k.key)) continue;
      // The value starts right after the keyword's colon; blanks after the
      // colon stay part of a text value.
      std::string_view value = std::string_view(s).substr(std::char_traits<char>::length(k.key));
      switch (k.kind) {
        case Kind::Int: h->*k.i = parseInt(value); break;
        case Kind::Float: h->*k.f = parseFloat(value); break;
        case Kind::Text: h->*k.s = std::string(value); break;
      }
      break;
    }
  }
  f.close();
  return SCRIVEL_OK;
}

// The one header writer that reports nothing when the file cannot be
// created: its caller reports the failure.
DV_EXPORT int WriteRamacFHdr(const char* path, RamacFHdr* h) {
  dv::File f;
  if (!path || !h || !f.open(path, dv::File::CreateWrite, true)) return SCRIVEL_ERR_CREATE;
  std::string out;
  auto num = [&](const char* key, long long v) { out += std::string(key) + formatInt(v) + "\n"; };
  auto real = [&](const char* key, float v, int decimals = 6) {
    out += std::string(key) + formatFixed(v, decimals) + "\n";
  };
  auto text = [&](const char* key, const std::string& v) { out += std::string(key) + v + "\n"; };
  num("SAMPLES:", h->samples);
  real("FREQUENCY:", h->frequency);
  num("FREQUENCY STEPS:", h->frequencySteps);
  real("SIGNAL POSITION:", h->signalPosition);
  num("RAW SIGNAL POSITION:", h->rawSignalPosition);
  num("DISTANCE FLAG:", h->distanceFlag);
  num("TIME FLAG:", h->timeFlag);
  num("PROGRAM FLAG:", h->programFlag);
  num("EXTERNAL FLAG:", h->externalFlag);
  real("TIME INTERVAL:", h->timeInterval);
  real("DISTANCE INTERVAL:", h->distanceInterval);
  text("OPERATOR:", h->operatorName);
  text("CUSTOMER:", h->customer);
  text("SITE:", h->site);
  text("ANTENNAS:", h->antennas);
  text("ANTENNA ORIENTATION:", h->antennaOrientation);
  real("ANTENNA SEPARATION:", h->antennaSeparation);
  text("COMMENT:", h->comment);
  real("TIMEWINDOW:", h->timeWindow);
  num("STACKS:", h->stacks);
  num("STACK EXPONENT:", h->stackExponent);
  real("STACKING TIME:", h->stackingTime);
  real("STOP POSITION:", h->stopPosition, 2);
  real("SYSTEM CALIBRATION:", h->systemCalibration, 10);
  num("LAST TRACE:", h->lastTrace);
  // Text mode turns every "\n" into CR LF on disk.
  bool ok = f.writeString(out) && f.flush();
  f.close();
  return ok ? SCRIVEL_OK : SCRIVEL_ERR_CREATE;
}

DV_EXPORT int ReadRamacTrace(const char* path, dv::File* file, RamacFHdr* hdr, int index,
                             float** samples, int quiet) {
  const int32_t S = hdr ? hdr->samples : 0;
  const int64_t offset = traceOffset(S, index);
  if (!file || !hdr || index < 0 || !seekTo(*file, offset)) {
    reportUnlessQuiet(quiet, 10038, index + 1, shown(path));
    return SCRIVEL_ERR_SEEK;
  }
  // The samples must be in the file before the header's count sizes the array.
  const size_t bytes = 2 * (size_t)(S < 0 ? 0 : S);
  static thread_local std::vector<uint8_t> buf;
  float* out = nullptr;
  bool ok = S >= 0 && bytesAvailable(*file, offset, bytes);
  if (ok) {
    buf.resize(bytes);
    ok = file->read(buf.data(), bytes) == bytes;
  }
  if (ok) ok = (out = allocSamples((size_t)S)) != nullptr;
  if (!ok) {
    reportUnlessQuiet(quiet, 10021, index + 1, shown(path));
    return SCRIVEL_ERR_READ;
  }
  decodeI16le(buf.data(), (size_t)S, out);
  *samples = out;
  return SCRIVEL_OK;
}

DV_EXPORT int WriteRamacTrace(const char* path, dv::File* file, RamacFHdr* hdr, int index,
                              float* samples) {
  const int32_t S = hdr ? (hdr->samples < 0 ? 0 : hdr->samples) : 0;
  const int64_t offset = traceOffset(S, index);
  if (!file || !hdr || index < 0 || !seekTo(*file, offset)) {
    report(10038, index + 1, shown(path));
    return SCRIVEL_ERR_SEEK;
  }
  static thread_local std::vector<uint8_t> raw;
  raw.resize(2 * (size_t)S);
  uint8_t* p = raw.data();
  int result = convertSamples(samples, S, -32768, 32767, 0, index, path,
                              [p](int i, long v) { wrU16le(p + 2 * i, (uint16_t)(int16_t)v); });
  if (file->write(raw.data(), raw.size()) != raw.size()) {
    report(10038, index + 1, shown(path));
    return SCRIVEL_ERR_SEEK;
  }
  return result;
}
