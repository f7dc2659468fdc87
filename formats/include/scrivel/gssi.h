// GSSI DZT: the header record the library fills and the Quv module reads.
//
// The first 128 bytes of a GssiFHdr are the file's fixed header image, byte
// for byte, with every field at its file offset (the unaligned floats are
// packed members). The readers and writers decode and encode each field at
// its offset in little-endian order, so the values are right on any host;
// on a little-endian host the record's first 128 bytes also equal the file's.
// After the image come the fields taken from the 896-byte block and from the
// traces. The record is allocated with malloc() and released with
// CleanupGssiFHdr, which frees its gain values, text and history as well.
#pragma once

#include <cstddef>
#include <cstdint>

#include "scrivel/scrivel.h"

#define SCRIVEL_UNALIGNED __attribute__((packed))

struct GssiFHdr {
  // Fixed header (file offsets 0 to 127).
  uint16_t Tag;                      // 0: 0x00FF, 0x0700, or 0x0nFF / 0xFnFF of other systems
  uint16_t Data;                     // 2: offset of the data; below 1024 a count of 1024-byte blocks
  uint16_t NSamp;                    // 4: samples per trace
  uint16_t Bits;                     // 6: bits per sample: 8, 16 (unsigned) or 32 (signed)
  uint16_t Zero;                     // 8: zero level of 8/16-bit samples (0 = unfilled: mid level)
  float SPS SCRIVEL_UNALIGNED;       // 10: scans per second
  float SPM SCRIVEL_UNALIGNED;       // 14: scans per metre
  float MPM SCRIVEL_UNALIGNED;       // 18: metres per mark
  float Position SCRIVEL_UNALIGNED;  // 22: time of the first sample, ns
  float Range SCRIVEL_UNALIGNED;     // 26: time window, ns
  uint16_t NPass;                    // 30
  uint32_t CDT;                      // 32: creation date and time, packed
  uint32_t MDT;                      // 36: modification date and time, packed
  uint16_t rangeGainOffset;          // 40: file offset of the range gain block (0 = none)
  uint16_t rangeGainSize;            // 42: its size in bytes (0 = none)
  uint16_t textOffset;               // 44: file offset of the text (0 = none)
  uint16_t textSize;                 // 46: its size including the terminating zero
  uint16_t historyOffset;            // 48: file offset of the processing history (0 = none)
  uint16_t historySize;              // 50: its size in bytes
  uint16_t NChan;                    // 52: number of channels
  float EPSR SCRIVEL_UNALIGNED;      // 54: relative dielectric constant
  float Top SCRIVEL_UNALIGNED;       // 58: top position
  float Depth SCRIVEL_UNALIGNED;     // 62: depth range
  char Reserved[16];                 // 66: shown as text
  uint16_t Reserved2;                // 82
  uint16_t SPP;                      // 84
  uint16_t LineNum;                  // 86
  uint16_t StartX;                   // 88
  uint16_t StartY;                   // 90
  uint16_t EndX;                     // 92
  uint16_t EndY;                     // 94
  uint8_t LineOrder;                 // 96
  uint8_t DType;                     // 97
  char AntName[14];                  // 98: antenna name, zero-padded
  uint16_t ChanMask;                 // 112
  char Name[12];                     // 114: file name, zero-padded
  uint16_t ChkSum;                   // 126: header checksum

  // In memory only.
  int32_t rangeGainCount;  // number of range gain points
  float* rangeGain;        // that many gain values in dB (malloc, or null)
  char* text;              // zero-terminated text (malloc, never null in a filled record)
  uint8_t* history;        // historySize bytes of processing history (malloc, or null)
  int32_t traceCount;      // traces in the file
  int32_t hasMarks;        // 1 when the marker bytes show user marks
  uint8_t markValue;       // the marker byte of a marked trace
  int32_t dataOffset;      // file offset of trace 0 (0 in a new record: 1024)
};

static_assert(offsetof(GssiFHdr, SPS) == 10 && offsetof(GssiFHdr, Range) == 26);
static_assert(offsetof(GssiFHdr, CDT) == 32 && offsetof(GssiFHdr, NChan) == 52);
static_assert(offsetof(GssiFHdr, EPSR) == 54 && offsetof(GssiFHdr, Depth) == 62);
static_assert(offsetof(GssiFHdr, Reserved) == 66 && offsetof(GssiFHdr, SPP) == 84);
static_assert(offsetof(GssiFHdr, LineOrder) == 96 && offsetof(GssiFHdr, AntName) == 98);
static_assert(offsetof(GssiFHdr, ChanMask) == 112 && offsetof(GssiFHdr, Name) == 114);
static_assert(offsetof(GssiFHdr, ChkSum) == 126 && offsetof(GssiFHdr, rangeGainCount) == 128);

// Values of the fixed header that the library knows by name.
enum {
  GSSI_TAG = 0x00FF,
  GSSI_TAG_ALT = 0x0700,
  GSSI_TAG_NEWER = 0x07FF,  // one of the 0x0nFF tags of newer systems
  GSSI_HEADER_BYTES = 1024,  // fixed header plus block
  GSSI_FIXED_BYTES = 128,
  GSSI_BLOCK_BYTES = 896,
};
