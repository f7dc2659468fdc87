// pulseEKKO HD/DT1: the text header record and the 128-byte trace header.
//
// Both records are allocated with new by the library and handed to the
// caller, who releases them with delete (which also destroys the texts).
#pragma once

#include <cstdint>
#include <string>

#include "scrivel/scrivel.h"

struct PekkoFHdr {
  std::string textLines[10];  // free lines before the date line
  int32_t textLineCount = 0;  // 0..9
  std::string date;           // the date line, trimmed
  int32_t traces = 0;         // NUMBER OF TRACES
  int32_t points = 0;         // NUMBER OF PTS/TRC
  int32_t timeZeroPoint = 0;  // TIMEZERO AT POINT
  int32_t timeWindow = 0;     // TOTAL TIME WINDOW (ns, integer)
  float startPosition = 0;    // STARTING POSITION
  float finalPosition = 0;    // FINAL POSITION
  float stepSize = 0;         // STEP SIZE USED
  std::string positionUnits;  // POSITION UNITS
  float frequency = 0;        // NOMINAL FREQUENCY
  float antennaSeparation = 0;  // ANTENNA SEPARATION
  int32_t pulserVoltage = 0;  // PULSER VOLTAGE (V)
  int32_t stacks = 0;         // NUMBER OF STACKS
  std::string surveyMode;     // SURVEY MODE
  float elevationMax = 0;     // ELEVATION DATA ENTERED ... MAX
  float elevationMin = 0;     // ELEVATION DATA ENTERED ... MIN
  std::string extraLines[10];  // other lines after the date line, verbatim
  int32_t extraLineCount = 0;  // 0..10
};

// The trace header of the .DT1 file, plus one byte so that the comment is
// always terminated. The library interprets the named fields; the other
// bytes are carried through unchanged. Fields are decoded from and encoded
// to their little-endian file offsets explicitly.
struct PekkoTraceHdr {
  float traceNumber = 0;        // 0: 1-based
  uint8_t bytes4[4] = {};       // 4..7
  float points = 0;             // 8: points in this trace
  uint8_t bytes12[8] = {};      // 12..19
  float bytesPerPoint = 0;      // 20: must be 2
  uint8_t bytes24[72] = {};     // 24..95
  float commentFlag = 0;        // 96: 1.0 when bytes 100..127 hold a comment
  char comment[28] = {};        // 100: "f..." or "F..." marks a fiducial trace
  char terminator = 0;          // 128: keeps the comment terminated
};

enum { PEKKO_TRACE_HEADER_BYTES = 128 };

// Whether a trace header's comment marks a fiducial trace: it begins with
// "f", or with "F" as the instruments write them ("F1", "F2", ...).
inline bool pekkoFiducial(const PekkoTraceHdr& t) { return t.comment[0] == 'f' || t.comment[0] == 'F'; }

namespace scrivel::pekko {
// The 128 file bytes of a trace header, and back.
void decodeTraceHeader(const uint8_t* bytes, PekkoTraceHdr* hdr);
void encodeTraceHeader(const PekkoTraceHdr* hdr, uint8_t* bytes);
}  // namespace scrivel::pekko
