// SEG-2 records of the Scrivel library: the file header record and the
// per-trace record. Callers read these fields directly.
//
// The file descriptor block and the trace descriptor block are kept as their
// 32-byte images with every field in host order; the readers and writers
// decode and encode them at explicit offsets in the file's own byte order.
#pragma once

#include <cstddef>
#include <cstdint>

#include "scrivel/scrivel.h"

inline constexpr int SEG2_FILE_BLOCK_ID = 0x3A55;
inline constexpr int SEG2_TRACE_BLOCK_ID = 0x4422;
inline constexpr int SEG2_FILE_STRING_COUNT = 13;
inline constexpr int SEG2_TRACE_STRING_COUNT = 37;
// The pointer sub-block size is a 16-bit byte count, so a file holds at most
// this many trace pointers.
inline constexpr int SEG2_MAX_TRACES = 65532 / 4;

// Data format codes of a trace descriptor block.
enum Seg2FormatCode {
  SEG2_INT16 = 1,
  SEG2_INT32 = 2,
  SEG2_FLOAT20 = 3,  // 4 samples in 10 bytes: exponent word + 4 mantissas
  SEG2_FLOAT32 = 4,
  SEG2_FLOAT64 = 5,
};

struct Seg2FHdr {
  // File descriptor block image (file offsets 0 to 31).
  uint16_t blockId;            // 0: 0x3A55
  uint16_t revision;           // 2
  uint16_t pointerBlockSize;   // 4: size of the trace pointer sub-block in bytes
  uint16_t traces;             // 6: number of traces
  uint8_t stringTermLength;    // 8: 1 or 2
  uint8_t stringTerm1;         // 9
  uint8_t stringTerm2;         // 10
  uint8_t lineTermLength;      // 11: 1 or 2
  uint8_t lineTerm1;           // 12
  uint8_t lineTerm2;           // 13
  uint8_t reserved[18];        // 14

  int32_t bigEndian;           // 1 = the file is big-endian
  int32_t pointerBlockPos;     // file position of the trace pointer sub-block
  uint32_t* tracePointers;     // file offset of each trace's descriptor block (malloc'ed)

  // Value strings (malloc'ed, zero-terminated; null reads as empty): all the
  // text after the keyword, normally a leading blank and the value.
  char* acquisitionDate;   // "ACQUISITION_DATE"
  char* acquisitionTime;   // "ACQUISITION_TIME"
  char* client;            // "CLIENT"
  char* company;           // "COMPANY"
  char* generalConstant;   // "GENERAL_CONSTANT"
  char* instrument;        // "INSTRUMENT"
  char* jobId;             // "JOB_ID"
  char* observer;          // "OBSERVER"
  char* processingDate;    // "PROCESSING_DATE"
  char* processingTime;    // "PROCESSING_TIME"
  char* traceSort;         // "TRACE_SORT"
  char* units;             // "UNITS"
  char* note;              // "NOTE"

  // In memory only: how many entries tracePointers holds. The trace reader
  // never looks past it, whatever `traces` says.
  int32_t pointerCount;
};

struct Seg2TraceHdr {
  // Trace descriptor block image (offsets from the block's start).
  uint16_t blockId;         // 0: 0x4422
  uint16_t descriptorSize;  // 2: 32 + keyword strings
  uint32_t dataSize;        // 4: size of the data block in bytes
  uint32_t samples;         // 8: number of samples
  uint8_t formatCode;       // 12: Seg2FormatCode
  uint8_t reserved[19];     // 13

  // Value strings, zero-terminated, null reads as empty. A record handed out
  // by ReadSeg2Trace is one malloc'ed block holding the strings too: release
  // it with free() alone.
  char* aliasFilter;               // "ALIAS_FILTER"
  char* amplitudeRecovery;         // "AMPLITUDE_RECOVERY"
  char* bandRejectFilter;          // "BAND_REJECT_FILTER"
  char* cdpNumber;                 // "CDP_NUMBER"
  char* cdpTrace;                  // "CDP_TRACE"
  char* channelNumber;             // "CHANNEL_NUMBER"
  char* datum;                     // "DATUM"
  char* delay;                     // "DELAY" (seconds)
  char* descalingFactor;           // "DESCALING_FACTOR"
  char* digitalBandRejectFilter;   // "DIGITAL_BAND_REJECT_FILTER"
  char* digitalHighCutFilter;      // "DIGITAL_HIGH_CUT_FILTER"
  char* digitalLowCutFilter;       // "DIGITAL_LOW_CUT_FILTER"
  char* endOfGroup;                // "END_OF_GROUP"
  char* fixedGain;                 // "FIXED_GAIN"
  char* highCutFilter;             // "HIGH_CUT_FILTER"
  char* lineId;                    // "LINE_ID"
  char* lowCutFilter;              // "LOW_CUT_FILTER"
  char* notchFrequency;            // "NOTCH_FREQUENCY"
  char* polarity;                  // "POLARITY"
  char* rawRecord;                 // "RAW_RECORD"
  char* receiver;                  // "RECEIVER"
  char* receiverGeometry;          // "RECEIVER_GEOMETRY"
  char* receiverLocation;          // "RECEIVER_LOCATION"
  char* receiverDetails;             // "RECEIVER_SPECS"
  char* receiverStationNumber;     // "RECEIVER_STATION_NUMBER"
  char* sampleInterval;            // "SAMPLE_INTERVAL" (seconds)
  char* shotSequenceNumber;        // "SHOT_SEQUENCE_NUMBER"
  char* skew;                      // "SKEW"
  char* source;                    // "SOURCE"
  char* sourceGeometry;            // "SOURCE_GEOMETRY"
  char* sourceLocation;            // "SOURCE_LOCATION"
  char* sourceStationNumber;       // "SOURCE_STATION_NUMBER"
  char* stack;                     // "STACK"
  char* staticCorrections;         // "STATIC_CORRECTIONS"
  char* traceType;                 // "TRACE_TYPE"
  char* note;                      // "NOTE"
  char* firstBreak;                // "FIRST_BREAK_(SECONDS)"
};

namespace scrivel {

// Keywords of the file strings and of the trace strings, in record order.
inline constexpr const char* kSeg2FileKeywords[SEG2_FILE_STRING_COUNT] = {
    "ACQUISITION_DATE", "ACQUISITION_TIME", "CLIENT",          "COMPANY",
    "GENERAL_CONSTANT", "INSTRUMENT",       "JOB_ID",          "OBSERVER",
    "PROCESSING_DATE",  "PROCESSING_TIME",  "TRACE_SORT",      "UNITS",
    "NOTE",
};
inline constexpr const char* kSeg2TraceKeywords[SEG2_TRACE_STRING_COUNT] = {
    "ALIAS_FILTER",           "AMPLITUDE_RECOVERY",      "BAND_REJECT_FILTER",
    "CDP_NUMBER",             "CDP_TRACE",               "CHANNEL_NUMBER",
    "DATUM",                  "DELAY",                   "DESCALING_FACTOR",
    "DIGITAL_BAND_REJECT_FILTER", "DIGITAL_HIGH_CUT_FILTER", "DIGITAL_LOW_CUT_FILTER",
    "END_OF_GROUP",           "FIXED_GAIN",              "HIGH_CUT_FILTER",
    "LINE_ID",                "LOW_CUT_FILTER",          "NOTCH_FREQUENCY",
    "POLARITY",               "RAW_RECORD",              "RECEIVER",
    "RECEIVER_GEOMETRY",      "RECEIVER_LOCATION",       "RECEIVER_SPECS",
    "RECEIVER_STATION_NUMBER", "SAMPLE_INTERVAL",        "SHOT_SEQUENCE_NUMBER",
    "SKEW",                   "SOURCE",                  "SOURCE_GEOMETRY",
    "SOURCE_LOCATION",        "SOURCE_STATION_NUMBER",   "STACK",
    "STATIC_CORRECTIONS",     "TRACE_TYPE",              "NOTE",
    "FIRST_BREAK_(SECONDS)",
};

// The value strings of each record as members, in keyword order.
inline constexpr char* Seg2FHdr::*kSeg2FileStrings[] = {
    &Seg2FHdr::acquisitionDate, &Seg2FHdr::acquisitionTime, &Seg2FHdr::client, &Seg2FHdr::company,
    &Seg2FHdr::generalConstant, &Seg2FHdr::instrument, &Seg2FHdr::jobId, &Seg2FHdr::observer,
    &Seg2FHdr::processingDate, &Seg2FHdr::processingTime, &Seg2FHdr::traceSort, &Seg2FHdr::units,
    &Seg2FHdr::note,
};
inline constexpr char* Seg2TraceHdr::*kSeg2TraceStrings[] = {
    &Seg2TraceHdr::aliasFilter, &Seg2TraceHdr::amplitudeRecovery, &Seg2TraceHdr::bandRejectFilter,
    &Seg2TraceHdr::cdpNumber, &Seg2TraceHdr::cdpTrace, &Seg2TraceHdr::channelNumber,
    &Seg2TraceHdr::datum, &Seg2TraceHdr::delay, &Seg2TraceHdr::descalingFactor,
    &Seg2TraceHdr::digitalBandRejectFilter, &Seg2TraceHdr::digitalHighCutFilter,
    &Seg2TraceHdr::digitalLowCutFilter, &Seg2TraceHdr::endOfGroup, &Seg2TraceHdr::fixedGain,
    &Seg2TraceHdr::highCutFilter, &Seg2TraceHdr::lineId, &Seg2TraceHdr::lowCutFilter,
    &Seg2TraceHdr::notchFrequency, &Seg2TraceHdr::polarity, &Seg2TraceHdr::rawRecord,
    &Seg2TraceHdr::receiver, &Seg2TraceHdr::receiverGeometry, &Seg2TraceHdr::receiverLocation,
    &Seg2TraceHdr::receiverDetails, &Seg2TraceHdr::receiverStationNumber,
    &Seg2TraceHdr::sampleInterval, &Seg2TraceHdr::shotSequenceNumber, &Seg2TraceHdr::skew,
    &Seg2TraceHdr::source, &Seg2TraceHdr::sourceGeometry, &Seg2TraceHdr::sourceLocation,
    &Seg2TraceHdr::sourceStationNumber, &Seg2TraceHdr::stack, &Seg2TraceHdr::staticCorrections,
    &Seg2TraceHdr::traceType, &Seg2TraceHdr::note, &Seg2TraceHdr::firstBreak,
};

// Value string k (keyword order), null read as empty.
inline const char* seg2FileString(const Seg2FHdr& h, int k) {
  const char* s = h.*kSeg2FileStrings[k];
  return s ? s : "";
}
inline const char* seg2TraceString(const Seg2TraceHdr& h, int k) {
  const char* s = h.*kSeg2TraceStrings[k];
  return s ? s : "";
}

}  // namespace scrivel

static_assert(offsetof(Seg2FHdr, reserved) == 14 && offsetof(Seg2FHdr, bigEndian) == 32,
              "file descriptor block image is 32 bytes");
static_assert(offsetof(Seg2TraceHdr, formatCode) == 12 && offsetof(Seg2TraceHdr, aliasFilter) == 32,
              "trace descriptor block image is 32 bytes");
