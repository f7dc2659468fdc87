// SEG-Y records of the Scrivel library: the 3604-byte file header record
// (laid out as the start of the file) and the 240-byte trace header. Callers
// read these fields directly.
//
// The binary header fields are kept in host order; the reader and writer
// decode and encode them at explicit offsets in the file's byte order.
#pragma once

#include <cstddef>
#include <cstdint>

#include "scrivel/scrivel.h"

inline constexpr int SEGY_TEXT_HEADER_SIZE = 3200;
inline constexpr int SEGY_FILE_HEADER_SIZE = 3600;   // text + binary header: where trace 0 starts
inline constexpr int SEGY_RECORD_IMAGE_SIZE = 3604;  // what the header reader reads and the writer writes
inline constexpr int SEGY_TRACE_HEADER_SIZE = 240;
inline constexpr int SEGY_MAX_FIELD_TRACES = 65535;  // the binary header's trace count is 16 bits

// Data sample format codes.
enum SegyFormatCode {
  SEGY_FLOAT32 = 1,  // 4-byte float: IEEE bits, or IBM where the data say so (floatFormat)
  SEGY_INT32 = 2,
  SEGY_INT16 = 3,
  SEGY_FIXED_GAIN = 4,  // zero byte, exponent byte, 16-bit mantissa
  SEGY_IEEE32 = 5,      // 4-byte IEEE float (revision 1)
  SEGY_INT8 = 8,        // 1-byte signed integer (revision 1)
};

// How the 4-byte floats of code 1 are read and written back.
enum SegyFloatFormat {
  SEGY_FLOAT_IEEE = 0,  // IEEE bits: the reading of files this system writes
  SEGY_FLOAT_IBM = 1,   // IBM hexadecimal floats, as other software writes code 1
};

struct SegyFHdr {
  char text[3200];                 // 0: text header, EBCDIC or ASCII, carried unchanged
  int32_t jobId;                   // 3200: job identification number
  int32_t lineNumber;              // 3204
  int32_t reelNumber;              // 3208
  uint16_t traces;                 // 3212: number of traces (clipped to 65535; see traceCount)
  uint16_t auxTraces;              // 3214: number of auxiliary traces
  uint16_t sampleInterval;         // 3216
  uint16_t origSampleInterval;     // 3218
  uint16_t samples;                // 3220: samples per trace
  uint16_t origSamples;            // 3222
  uint16_t formatCode;             // 3224: SegyFormatCode
  uint16_t cdpFold;                // 3226
  uint16_t traceSorting;           // 3228
  uint16_t verticalSum;            // 3230
  uint16_t sweepFreqStart;         // 3232
  uint16_t sweepFreqEnd;           // 3234
  uint16_t sweepLength;            // 3236
  uint16_t sweepType;              // 3238
  uint16_t sweepChannel;           // 3240
  uint16_t sweepTaperStart;        // 3242
  uint16_t sweepTaperEnd;          // 3244
  uint16_t taperType;              // 3246
  uint16_t correlatedTraces;       // 3248
  uint16_t binaryGainRecovered;    // 3250
  uint16_t amplitudeRecovery;      // 3252
  uint16_t measurementSystem;      // 3254
  uint16_t impulsePolarity;        // 3256
  uint16_t vibratoryPolarity;      // 3258
  uint8_t rest[340];               // 3260: rest of the binary header, carried unchanged
  int32_t bigEndian;               // 3600: 1 = big-endian file; in memory only

  // In memory only, beside the 16-bit field: the full number of traces. The
  // header reader sets both; the header writer stores this one, clipped to
  // 65535, in the 16-bit field when it is not zero.
  int32_t traceCount;
  // In memory only: SegyFloatFormat of code 1 samples (set by the header
  // reader from the data; 0 in a new record), and the number of 3200-byte
  // extended text headers between the binary header and trace 0.
  int32_t floatFormat;
  int32_t extendedHeaders;
};

// The 240-byte trace header exactly as stored in the file (never swapped).
struct SegyTraceHdr {
  uint8_t head[114];
  uint16_t samples;       // 114: samples in this trace (file byte order)
  uint8_t middle[52];
  uint16_t gainExponent;  // 168: binary gain exponent (file byte order)
  uint8_t tail[70];
};

static_assert(offsetof(SegyFHdr, jobId) == 3200 && offsetof(SegyFHdr, traces) == 3212 &&
                  offsetof(SegyFHdr, formatCode) == 3224 &&
                  offsetof(SegyFHdr, vibratoryPolarity) == 3258 &&
                  offsetof(SegyFHdr, rest) == 3260 && offsetof(SegyFHdr, bigEndian) == 3600,
              "SegyFHdr is laid out as the start of the file");
static_assert(sizeof(SegyTraceHdr) == 240 && offsetof(SegyTraceHdr, samples) == 114 &&
                  offsetof(SegyTraceHdr, gainExponent) == 168,
              "SegyTraceHdr is the stored trace header");

namespace scrivel {

// The 24 16-bit fields from offset 3212, in file order.
inline constexpr uint16_t SegyFHdr::*kSegyShortFields[24] = {
    &SegyFHdr::traces,           &SegyFHdr::auxTraces,         &SegyFHdr::sampleInterval,
    &SegyFHdr::origSampleInterval, &SegyFHdr::samples,         &SegyFHdr::origSamples,
    &SegyFHdr::formatCode,       &SegyFHdr::cdpFold,           &SegyFHdr::traceSorting,
    &SegyFHdr::verticalSum,      &SegyFHdr::sweepFreqStart,    &SegyFHdr::sweepFreqEnd,
    &SegyFHdr::sweepLength,      &SegyFHdr::sweepType,         &SegyFHdr::sweepChannel,
    &SegyFHdr::sweepTaperStart,  &SegyFHdr::sweepTaperEnd,     &SegyFHdr::taperType,
    &SegyFHdr::correlatedTraces, &SegyFHdr::binaryGainRecovered, &SegyFHdr::amplitudeRecovery,
    &SegyFHdr::measurementSystem, &SegyFHdr::impulsePolarity,  &SegyFHdr::vibratoryPolarity,
};

inline constexpr int SEGY_EXTENDED_HEADER_SIZE = 3200;
inline constexpr int SEGY_MAX_EXTENDED_HEADERS = 1000;  // beyond this the count field is taken as noise

// The sample format codes the reader decodes and the writer encodes.
inline bool segyKnownCode(int code) {
  return (code >= SEGY_FLOAT32 && code <= SEGY_IEEE32) || code == SEGY_INT8;
}

// Bytes per sample in the trace layout: 2 for code 3, 1 for code 8, else 4.
inline int segyBytesPerSample(int code) {
  return code == SEGY_INT16 ? 2 : code == SEGY_INT8 ? 1 : 4;
}

// File offset of trace 0: after the binary header and any extended text headers.
inline int64_t segyFirstTraceOffset(const SegyFHdr& h) {
  return SEGY_FILE_HEADER_SIZE + (int64_t)SEGY_EXTENDED_HEADER_SIZE * h.extendedHeaders;
}

// File offset of trace `index` (0-based) for a record's samples and code.
inline int64_t segyTraceOffset(const SegyFHdr& h, int64_t index) {
  return segyFirstTraceOffset(h) +
         index * (SEGY_TRACE_HEADER_SIZE + (int64_t)segyBytesPerSample(h.formatCode) * h.samples);
}

// Whether the 4-byte floats of a record are IBM floats.
inline bool segyIbm(const SegyFHdr& h) { return h.formatCode == SEGY_FLOAT32 && h.floatFormat == SEGY_FLOAT_IBM; }

// Trace count of a record: the full count where the reader set it, else the field.
inline int64_t segyTraceCount(const SegyFHdr& h) { return h.traceCount > 0 ? h.traceCount : h.traces; }

}  // namespace scrivel
