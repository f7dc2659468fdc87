// The Scrivel library (service module 1): readers and writers of the five
// instrument formats and of the system's own profile sample files.
//
// Callers reach these functions through module 1's function table, by slot:
// slot k+1 holds the k-th name of the list below. The record layouts live in
// one header per format (gssi.h, pekko.h, ramac.h, seg2.h, segy.h).
#pragma once

#include "delvar/module.h"

namespace dv {
class File;
}

struct GssiFHdr;
struct PekkoFHdr;
struct PekkoTraceHdr;
struct RamacFHdr;
struct Seg2FHdr;
struct Seg2TraceHdr;
struct SegyFHdr;
struct SegyTraceHdr;

// Status codes.
enum ScrivelStatus {
  SCRIVEL_OK = 0,
  SCRIVEL_WARNINGS = 1,
  SCRIVEL_ERR_SEEK = -84,
  SCRIVEL_ERR_READ = -86,
  SCRIVEL_ERR_CREATE = -88,
  SCRIVEL_ERR_OPEN_WRITE = -89,
  SCRIVEL_ERR_OPEN_READ = -90,
  SCRIVEL_ERR_SEGY_FORMAT = -91,
  SCRIVEL_ERR_NOT_SEGY = -92,
  SCRIVEL_ERR_SEG2_TDB = -93,
  SCRIVEL_ERR_NOT_SEG2 = -94,
  SCRIVEL_ERR_NOT_RAMAC = -96,
  SCRIVEL_ERR_PEKKO_BYTES = -97,
  SCRIVEL_ERR_NOT_PEKKO = -98,
  SCRIVEL_ERR_GSSI_BITS = -99,
  SCRIVEL_ERR_NOT_GSSI = -100,
};

// Slots in module 1's function table (name index + 1).
enum ScrivelSlot {
  SCRIVEL_GetVantrelModuleInfo = 1,
  SCRIVEL_GetModuleFunctions,
  SCRIVEL_CleanupModule,
  SCRIVEL_InitModule,
  SCRIVEL_OpenFileForRead,  // 5
  SCRIVEL_OpenFileForWrite,
  SCRIVEL_CreateFileForWrite,
  SCRIVEL_IsGssiFile,
  SCRIVEL_CreateGssiFHdr,
  SCRIVEL_ReadGssiFHdr,  // 10
  SCRIVEL_CleanupGssiFHdr,
  SCRIVEL_WriteGssiFHdr,
  SCRIVEL_ReadGssiTrace,
  SCRIVEL_WriteGssiTrace,
  SCRIVEL_IsPekkoHdrFile,  // 15
  SCRIVEL_CreatePekkoFHdr,
  SCRIVEL_ReadPekkoFHdr,
  SCRIVEL_WritePekkoFHdr,
  SCRIVEL_ReadPekkoTrace,
  SCRIVEL_WritePekkoTrace,  // 20
  SCRIVEL_IsRamacHdrFile,
  SCRIVEL_CreateRamacFHdr,
  SCRIVEL_ReadRamacFHdr,
  SCRIVEL_WriteRamacFHdr,
  SCRIVEL_ReadRamacTrace,  // 25
  SCRIVEL_WriteRamacTrace,
  SCRIVEL_IsSeg2File,
  SCRIVEL_CreateSeg2FHdr,
  SCRIVEL_ReadSeg2FHdr,
  SCRIVEL_CleanupSeg2FHdr,  // 30
  SCRIVEL_WriteSeg2FHdr,
  SCRIVEL_ReadSeg2Trace,
  SCRIVEL_WriteSeg2Trace,
  SCRIVEL_IsSegyFile,
  SCRIVEL_ComputeSegyNumTraces,  // 35
  SCRIVEL_CreateSegyFHdr,
  SCRIVEL_ReadSegyFHdr,
  SCRIVEL_WriteSegyFHdr,
  SCRIVEL_ReadSegyTrace,
  SCRIVEL_WriteSegyTrace,  // 40
  SCRIVEL_ReadProfileTrace,
  SCRIVEL_WriteProfileTrace,
  SCRIVEL_GetColOrder,  // 43
  SCRIVEL_SLOT_COUNT,
};

extern "C" {

// File helpers.
typedef int (*PfnOpenFile)(const char* path, dv::File* file);
int OpenFileForRead(const char* path, dv::File* file);
int OpenFileForWrite(const char* path, dv::File* file);
int CreateFileForWrite(const char* path, dv::File* file);

// GSSI DZT.
int IsGssiFile(const char* path);
int CreateGssiFHdr(GssiFHdr** out);
int ReadGssiFHdr(const char* path, GssiFHdr** out);
int CleanupGssiFHdr(GssiFHdr* hdr);
int WriteGssiFHdr(const char* path, GssiFHdr* hdr);
int ReadGssiTrace(const char* path, dv::File* file, GssiFHdr* hdr, int index, int* mark,
                  float** samples, int quiet);
int WriteGssiTrace(const char* path, dv::File* file, GssiFHdr* hdr, int index, int mark,
                   float* samples);
typedef int (*PfnIsFile)(const char* path);
typedef int (*PfnCreateGssiFHdr)(GssiFHdr**);
typedef int (*PfnReadGssiFHdr)(const char*, GssiFHdr**);
typedef int (*PfnCleanupGssiFHdr)(GssiFHdr*);
typedef int (*PfnWriteGssiFHdr)(const char*, GssiFHdr*);
typedef int (*PfnReadGssiTrace)(const char*, dv::File*, GssiFHdr*, int, int*, float**, int);
typedef int (*PfnWriteGssiTrace)(const char*, dv::File*, GssiFHdr*, int, int, float*);

// pulseEKKO HD/DT1.
int IsPekkoHdrFile(const char* path);
int CreatePekkoFHdr(PekkoFHdr** out);
int ReadPekkoFHdr(const char* path, PekkoFHdr** out);
int WritePekkoFHdr(const char* path, PekkoFHdr* hdr);
int ReadPekkoTrace(const char* path, dv::File* file, PekkoFHdr* hdr, PekkoTraceHdr** thdr,
                   int index, float** samples, int quiet);
int WritePekkoTrace(const char* path, dv::File* file, PekkoTraceHdr* thdr, int index,
                    float* samples);
typedef int (*PfnCreatePekkoFHdr)(PekkoFHdr**);
typedef int (*PfnReadPekkoFHdr)(const char*, PekkoFHdr**);
typedef int (*PfnWritePekkoFHdr)(const char*, PekkoFHdr*);
typedef int (*PfnReadPekkoTrace)(const char*, dv::File*, PekkoFHdr*, PekkoTraceHdr**, int,
                                 float**, int);
typedef int (*PfnWritePekkoTrace)(const char*, dv::File*, PekkoTraceHdr*, int, float*);

// RAMAC RAD/RD3.
int IsRamacHdrFile(const char* path);
int CreateRamacFHdr(RamacFHdr** out);
int ReadRamacFHdr(const char* path, RamacFHdr** out);
int WriteRamacFHdr(const char* path, RamacFHdr* hdr);
int ReadRamacTrace(const char* path, dv::File* file, RamacFHdr* hdr, int index,
                   float** samples, int quiet);
int WriteRamacTrace(const char* path, dv::File* file, RamacFHdr* hdr, int index,
                    float* samples);
typedef int (*PfnCreateRamacFHdr)(RamacFHdr**);
typedef int (*PfnReadRamacFHdr)(const char*, RamacFHdr**);
typedef int (*PfnWriteRamacFHdr)(const char*, RamacFHdr*);
typedef int (*PfnReadRamacTrace)(const char*, dv::File*, RamacFHdr*, int, float**, int);
typedef int (*PfnWriteRamacTrace)(const char*, dv::File*, RamacFHdr*, int, float*);

// SEG-2.
int IsSeg2File(const char* path);
int CreateSeg2FHdr(Seg2FHdr** out);
int ReadSeg2FHdr(const char* path, Seg2FHdr** out);
int CleanupSeg2FHdr(Seg2FHdr* hdr);
int WriteSeg2FHdr(const char* path, Seg2FHdr* hdr);
int ReadSeg2Trace(const char* path, dv::File* file, Seg2FHdr* hdr, Seg2TraceHdr** thdr,
                  int index, float** samples, int quiet);
int WriteSeg2Trace(const char* path, dv::File* file, Seg2FHdr* hdr, Seg2TraceHdr* thdr,
                   int index, float* samples);
typedef int (*PfnCreateSeg2FHdr)(Seg2FHdr**);
typedef int (*PfnReadSeg2FHdr)(const char*, Seg2FHdr**);
typedef int (*PfnCleanupSeg2FHdr)(Seg2FHdr*);
typedef int (*PfnWriteSeg2FHdr)(const char*, Seg2FHdr*);
typedef int (*PfnReadSeg2Trace)(const char*, dv::File*, Seg2FHdr*, Seg2TraceHdr**, int,
                                float**, int);
typedef int (*PfnWriteSeg2Trace)(const char*, dv::File*, Seg2FHdr*, Seg2TraceHdr*, int,
                                 float*);

// SEG-Y.
int IsSegyFile(const char* path);
int ComputeSegyNumTraces(const char* path, SegyFHdr* hdr, int* count);
int CreateSegyFHdr(SegyFHdr** out);
int ReadSegyFHdr(const char* path, SegyFHdr** out);
int WriteSegyFHdr(const char* path, SegyFHdr* hdr);
int ReadSegyTrace(const char* path, dv::File* file, SegyFHdr* hdr, SegyTraceHdr** thdr,
                  int index, float** samples, int quiet);
int WriteSegyTrace(const char* path, dv::File* file, SegyFHdr* hdr, SegyTraceHdr* thdr,
                   int index, float* samples);
typedef int (*PfnComputeSegyNumTraces)(const char*, SegyFHdr*, int*);
typedef int (*PfnCreateSegyFHdr)(SegyFHdr**);
typedef int (*PfnReadSegyFHdr)(const char*, SegyFHdr**);
typedef int (*PfnWriteSegyFHdr)(const char*, SegyFHdr*);
typedef int (*PfnReadSegyTrace)(const char*, dv::File*, SegyFHdr*, SegyTraceHdr**, int,
                                float**, int);
typedef int (*PfnWriteSegyTrace)(const char*, dv::File*, SegyFHdr*, SegyTraceHdr*, int,
                                 float*);

// Profile sample files.
int ReadProfileTrace(const char* path, dv::File* file, int samplesPerTrace, int index,
                     float** samples, int quiet);
int WriteProfileTrace(const char* path, dv::File* file, int samplesPerTrace, int index,
                      float* samples);
typedef int (*PfnReadProfileTrace)(const char*, dv::File*, int, int, float**, int);
typedef int (*PfnWriteProfileTrace)(const char*, dv::File*, int, int, float*);

// Column-order dialog: the file, the number of quantities (1 to 5), five
// display names, five outputs for the chosen column numbers. 0 = confirmed,
// 1 = cancelled.
int GetColOrder(const char* path, int count, const char* name1, const char* name2,
                const char* name3, const char* name4, const char* name5, int* col1, int* col2,
                int* col3, int* col4, int* col5);
typedef int (*PfnGetColOrder)(const char*, int, const char*, const char*, const char*,
                              const char*, const char*, int*, int*, int*, int*, int*);

// Sample arrays handed out by the trace readers are allocated with malloc();
// the caller releases them with free().
}
