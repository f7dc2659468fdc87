// pulseEKKO HD/DT1: the .HD text header (free text lines, a date line,
// "KEYWORD = value" lines) and the .DT1 data file, where every trace is a
// 128-byte trace header followed by P little-endian 16-bit samples.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "convert.h"
#include "codec.h"
#include "dv/file.h"
#include "scrivel/pekko.h"
#include "scrivel_internal.h"
#include "trace_io.h"

using namespace scrivel;

namespace {

const char* shown(const char* path) { return path ? path : ""; }

// A date line holds a separator whose next occurrence lies 2 to 4
// characters further on: 2004/3/12, 12-MAR-04, 2017-04-10.
bool separatorPair(const std::string& s, char c) {
  size_t p = s.find(c);
  if (p == std::string::npos) return false;
  size_t q = s.find(c, p + 1);
  if (q == std::string::npos) return false;
  size_t d = q - p;
  return d >= 2 && d <= 4;
}

bool isDateLine(const std::string& s) { return separatorPair(s, '/') || separatorPair(s, '-'); }

// Everything after the first "=" (empty when there is none).
std::string afterEquals(const std::string& s, size_t from = 0) {
  size_t p = s.find('=', from);
  return p == std::string::npos ? std::string() : s.substr(p + 1);
}

// The number after the first "=" that follows `word` on the line, if any.
bool numberAfterWord(const std::string& s, const char* word, float& out) {
  size_t w = s.find(word);
  if (w == std::string::npos) return false;
  size_t eq = s.find('=', w);
  if (eq == std::string::npos) return false;
  out = parseFloat(std::string_view(s).substr(eq + 1));
  return true;
}

int64_t traceOffset(int64_t points, int index) { return 2 * (int64_t)index * (points + 64); }

}  // namespace

namespace scrivel::pekko {

void decodeTraceHeader(const uint8_t* b, PekkoTraceHdr* h) {
  h->traceNumber = rdF32le(b + 0);
  std::memcpy(h->bytes4, b + 4, sizeof h->bytes4);
  h->points = rdF32le(b + 8);
  std::memcpy(h->bytes12, b + 12, sizeof h->bytes12);
  h->bytesPerPoint = rdF32le(b + 20);
  std::memcpy(h->bytes24, b + 24, sizeof h->bytes24);
  h->commentFlag = rdF32le(b + 96);
  std::memcpy(h->comment, b + 100, sizeof h->comment);
  h->terminator = 0;
}

void encodeTraceHeader(const PekkoTraceHdr* h, uint8_t* b) {
  wrF32le(b + 0, h->traceNumber);
  std::memcpy(b + 4, h->bytes4, sizeof h->bytes4);
  wrF32le(b + 8, h->points);
  std::memcpy(b + 12, h->bytes12, sizeof h->bytes12);
  wrF32le(b + 20, h->bytesPerPoint);
  std::memcpy(b + 24, h->bytes24, sizeof h->bytes24);
  wrF32le(b + 96, h->commentFlag);
  std::memcpy(b + 100, h->comment, sizeof h->comment);
}

}  // namespace scrivel::pekko

DV_EXPORT int IsPekkoHdrFile(const char* path) {
  dv::File f;
  if (!path || !f.open(path, dv::File::ReadOnly, true)) return SCRIVEL_ERR_OPEN_READ;
  std::string line;
  while (f.readLine(line))
    if (startsWith(trimLeft(line), "NUMBER OF TRACES")) return SCRIVEL_OK;
  return SCRIVEL_ERR_NOT_PEKKO;
}

DV_EXPORT int CreatePekkoFHdr(PekkoFHdr** out) {
  if (!out) return SCRIVEL_ERR_READ;
  *out = new PekkoFHdr();
  return SCRIVEL_OK;
}

// On a failure after the record was created, the record stays with the
// caller (who deletes it).
DV_EXPORT int ReadPekkoFHdr(const char* path, PekkoFHdr** out) {
  if (!out) return SCRIVEL_ERR_READ;
  int test = IsPekkoHdrFile(path);
  if (test != SCRIVEL_OK) {
    report(test == SCRIVEL_ERR_OPEN_READ ? 10001 : 10006, shown(path));
    return test;
  }
  dv::File f;
  if (!f.open(path, dv::File::ReadOnly, true)) {
    report(10001, shown(path));
    return SCRIVEL_ERR_OPEN_READ;
  }
  CreatePekkoFHdr(out);
  PekkoFHdr* h = *out;

  // Phase 1: free text lines up to the date line.
  std::string line;
  for (;;) {
    if (!f.readLine(line)) {
      f.close();
      report(10015, shown(path));
      return SCRIVEL_ERR_READ;
    }
    if (isDateLine(line)) {
      h->date = trim(line);
      break;
    }
    h->textLines[h->textLineCount++] = line;
    if (h->textLineCount == 10) {
      f.close();
      report(10006, shown(path));
      return SCRIVEL_ERR_NOT_PEKKO;
    }
  }

  // Phase 2: keyword lines; anything else is kept as an extra line.
  while (f.readLine(line)) {
    const std::string s = trimLeft(line);
    if (startsWith(s, "NUMBER OF TRACES")) {
      h->traces = parseInt(afterEquals(s));
    } else if (startsWith(s, "NUMBER OF PTS/TRC")) {
      h->points = parseInt(afterEquals(s));
    } else if (startsWith(s, "TIMEZERO AT POINT")) {
      h->timeZeroPoint = parseInt(afterEquals(s));
    } else if (startsWith(s, "TOTAL TIME WINDOW")) {
      h->timeWindow = parseInt(afterEquals(s));
    } else if (startsWith(s, "STARTING POSITION")) {
      h->startPosition = parseFloat(afterEquals(s));
    } else if (startsWith(s, "FINAL POSITION")) {
      h->finalPosition = parseFloat(afterEquals(s));
    } else if (startsWith(s, "STEP SIZE USED")) {
      h->stepSize = parseFloat(afterEquals(s));
    } else if (startsWith(s, "POSITION UNITS")) {
      h->positionUnits = trim(afterEquals(s));
    } else if (startsWith(s, "NOMINAL FREQUENCY")) {
      h->frequency = parseFloat(afterEquals(s));
    } else if (startsWith(s, "ANTENNA SEPARATION")) {
      h->antennaSeparation = parseFloat(afterEquals(s));
    } else if (startsWith(s, "PULSER VOLTAGE (V)")) {
      h->pulserVoltage = parseInt(afterEquals(s));
    } else if (startsWith(s, "NUMBER OF STACKS")) {
      h->stacks = parseInt(afterEquals(s));
    } else if (startsWith(s, "SURVEY MODE")) {
      h->surveyMode = trim(afterEquals(s));
    } else if (startsWith(s, "ELEVATION DATA ENTERED")) {
      numberAfterWord(s, "MAX", h->elevationMax);
      numberAfterWord(s, "MIN", h->elevationMin);
    } else if (h->extraLineCount < 10) {
      h->extraLines[h->extraLineCount++] = line;
    }
  }
  f.close();
  return SCRIVEL_OK;
}

DV_EXPORT int WritePekkoFHdr(const char* path, PekkoFHdr* h) {
  dv::File f;
  if (!path || !h || !f.open(path, dv::File::CreateWrite, true)) {
    report(10004, shown(path));
    return SCRIVEL_ERR_CREATE;
  }
  // Text mode turns every "\n" into CR LF on disk.
  std::string out;
  const int texts = h->textLineCount < 0 ? 0 : h->textLineCount > 10 ? 10 : h->textLineCount;
  for (int i = 0; i < texts; ++i) out += h->textLines[i] + "\n";
  out += h->date + "\n";
  auto num = [&](const char* key, long long v) { out += std::string(key) + formatInt(v) + " \n"; };
  auto real = [&](const char* key, float v) { out += std::string(key) + formatFixed(v) + " \n"; };
  num("NUMBER OF TRACES   = ", h->traces);
  num("NUMBER OF PTS/TRC  = ", h->points);
  num("TIMEZERO AT POINT  = ", h->timeZeroPoint);
  num("TOTAL TIME WINDOW  = ", h->timeWindow);
  real("STARTING POSITION  = ", h->startPosition);
  real("FINAL POSITION     = ", h->finalPosition);
  real("STEP SIZE USED     = ", h->stepSize);
  out += "POSITION UNITS     = " + h->positionUnits + " \n";
  real("NOMINAL FREQUENCY  = ", h->frequency);
  real("ANTENNA SEPARATION = ", h->antennaSeparation);
  num("PULSER VOLTAGE (V) = ", h->pulserVoltage);
  num("NUMBER OF STACKS   = ", h->stacks);
  out += "SURVEY MODE        = " + h->surveyMode + " \n";
  out += "ELEVATION DATA ENTERED : MAX = " + formatFixed(h->elevationMax) +
         "   MIN = " + formatFixed(h->elevationMin) + " \n";
  const int extras = h->extraLineCount < 0 ? 0 : h->extraLineCount > 10 ? 10 : h->extraLineCount;
  for (int i = 0; i < extras; ++i) out += h->extraLines[i] + "\n";
  if (!f.writeString(out) || !f.flush()) {
    f.close();
    report(10004, shown(path));
    return SCRIVEL_ERR_CREATE;
  }
  f.close();
  return SCRIVEL_OK;
}

DV_EXPORT int ReadPekkoTrace(const char* path, dv::File* file, PekkoFHdr* hdr, PekkoTraceHdr** thdr,
                             int index, float** samples, int quiet) {
  const int32_t P = hdr ? hdr->points : 0;
  const int64_t offset = traceOffset(P, index);
  if (!file || !hdr || index < 0 || !seekTo(*file, offset)) {
    reportUnlessQuiet(quiet, 10016, index + 1, shown(path));
    return SCRIVEL_ERR_SEEK;
  }
  uint8_t raw[PEKKO_TRACE_HEADER_BYTES];
  if (file->read(raw, sizeof raw) != sizeof raw) {
    reportUnlessQuiet(quiet, 10017, index + 1, shown(path));
    return SCRIVEL_ERR_READ;
  }
  auto* th = new PekkoTraceHdr();
  pekko::decodeTraceHeader(raw, th);
  int result = SCRIVEL_OK;
  if (th->traceNumber != (float)(index + 1)) {
    reportUnlessQuiet(quiet, 10018, shown(path), (int)toInt32(th->traceNumber), index + 1);
    th->traceNumber = (float)(index + 1);
    result = SCRIVEL_WARNINGS;
  }
  if (th->points != (float)P) {
    reportUnlessQuiet(quiet, 10019, shown(path), index + 1, (int)toInt32(th->points), (int)P);
    th->points = (float)P;
    result = SCRIVEL_WARNINGS;
  }
  if (th->bytesPerPoint != 2.0f) {
    reportUnlessQuiet(quiet, 10020, shown(path), index + 1, (int)toInt32(th->bytesPerPoint));
    delete th;
    return SCRIVEL_ERR_PEKKO_BYTES;
  }
  if (th->commentFlag == 1.0f)
    th->terminator = 0;
  else
    th->comment[0] = 0;

  // The samples must be in the file before the header's count sizes the
  // array: a short file fails as a short read without allocating.
  const int64_t start = offset + PEKKO_TRACE_HEADER_BYTES;
  const size_t bytes = 2 * (size_t)(P < 0 ? 0 : P);
  float* out = nullptr;
  static thread_local std::vector<uint8_t> buf;
  bool ok = P >= 0 && bytesAvailable(*file, start, bytes);
  if (ok) {
    buf.resize(bytes);
    ok = file->read(buf.data(), bytes) == bytes;
  }
  if (ok) ok = (out = allocSamples((size_t)P)) != nullptr;
  if (!ok) {
    delete th;
    reportUnlessQuiet(quiet, 10021, index + 1, shown(path));
    return SCRIVEL_ERR_READ;
  }
  decodeI16le(buf.data(), (size_t)P, out);
  *thdr = th;
  *samples = out;
  return result;
}

DV_EXPORT int WritePekkoTrace(const char* path, dv::File* file, PekkoTraceHdr* thdr, int index,
                              float* samples) {
  const int32_t P = thdr ? std::max<int32_t>(toInt32(thdr->points), 0) : 0;
  const int64_t offset = traceOffset(P, index);
  if (!file || !thdr || index < 0 || !seekTo(*file, offset)) {
    report(10016, index + 1, shown(path));
    return SCRIVEL_ERR_SEEK;
  }
  thdr->bytesPerPoint = 2.0f;
  thdr->traceNumber = (float)(index + 1);
  static thread_local std::vector<uint8_t> raw;
  raw.resize(PEKKO_TRACE_HEADER_BYTES + 2 * (size_t)P);
  pekko::encodeTraceHeader(thdr, raw.data());
  uint8_t* p = raw.data() + PEKKO_TRACE_HEADER_BYTES;
  int result = convertSamples(samples, P, -32768, 32767, 0, index, path,
                              [p](int i, long v) { wrU16le(p + 2 * i, (uint16_t)(int16_t)v); });
  if (file->write(raw.data(), raw.size()) != raw.size()) {
    report(10016, index + 1, shown(path));
    return SCRIVEL_ERR_SEEK;
  }
  return result;
}
