// The Scrivel library's string table: message numbers 10001 to 10045.
#include "scrivel_internal.h"

namespace scrivel {

namespace {
const char* const kMessages[45] = {
    /* 10001 */ "Error: Could not open %s for reading",
    /* 10002 */ "Error: Could not open %s for writing",
    /* 10003 */ "Error: Could not seek to end of file %s",
    /* 10004 */ "Error: Could not create %s",
    /* 10005 */ "Error: %s is not a GSSI file",
    /* 10006 */ "Error: %s is not a Pulse EKKO header file",
    /* 10007 */ "Error: %s is not a RAMAC header file",
    /* 10008 */ "Error: %s is not a SEG-2 file",
    /* 10009 */ "Error: %s is not a SEG-Y file",
    /* 10010 */ "Error: Could not read GSSI header from file %s",
    /* 10011 */ "Error: %s has an invalid sample data type",
    /* 10012 */ "Warning: GSSI file %s does not have 128, 256, 512, 1024 or 2048 samples/trace",
    /* 10013 */ "Error: Could not read GSSI range gain function, text and processing history strings from file %s",
    /* 10014 */ "Warning: %s has a bad checksum of the GSSI header",
    /* 10015 */ "Error: Could not read Pulse EKKO header from file %s",
    /* 10016 */ "Error: Could not seek to Pulse EKKO trace header %i in file %s",
    /* 10017 */ "Error: Could not read Pulse EKKO trace header %i in file %s",
    /* 10018 */ "Warning: %s has invalid trace number of %i in trace header %i, fixing trace header to match position in file",
    /* 10019 */ "Warning: %s has trace header %i with %i points/trace, while file header has %i points/trace, fixing trace header to match file header",
    /* 10020 */ "Error: %s has trace header %i with %i bytes/point, while Pulse EKKO only supports 2 bytes/point",
    /* 10021 */ "Error: Could not read trace %i data in file %s",
    /* 10022 */ "Error: Could not read SEG-2 FDB from file %s",
    /* 10023 */ "Warning: %s does not have enough trace pointers for the number of traces, reducing traces from %i to %i",
    /* 10024 */ "Warning: %s has an invalid string terminator definition",
    /* 10025 */ "Warning: %s has an invalid line terminator definition",
    /* 10026 */ "Error: Could not read SEG-2 TDB pointers from file %s",
    /* 10027 */ "Error: Could not seek to SEG-2 FDB strings in file %s",
    /* 10028 */ "Error: Could not read SEG-2 FDB strings from file %s",
    /* 10029 */ "Warning: SEG-2 FDB strings overran string block in file %s",
    /* 10030 */ "Error: Could not seek to SEG-2 TDB number %i in file %s",
    /* 10031 */ "Error: Could not read SEG-2 TDB number %i from file %s",
    /* 10032 */ "Error: SEG-2 TDB block number %i has an invalid ID in file %s",
    /* 10033 */ "Error: %s has an invalid sample data type in trace %i",
    /* 10034 */ "Warning: %s does not have enough data for the number of samples in trace %i, reducing samples from %i to %i",
    /* 10035 */ "Warning: SEG-2 20-bit floating point file %s does not have a multiple of 4 samples in trace %i, reducing samples from %i to %i",
    /* 10036 */ "Error: Could not read SEG-2 TDB number %i strings from file %s",
    /* 10037 */ "Warning: SEG-2 TDB number %i strings overran string block in file %s",
    /* 10038 */ "Error: Could not seek to trace %i data in file %s",
    /* 10039 */ "Error: Could not read sample %i in trace %i from file %s",
    /* 10040 */ "Warning: Sample %i in trace %i caused a data overflow while writing file %s, setting to maximum/minimum value",
    /* 10041 */ "Error: Could not seek to SEG-2 TPB in file %s",
    /* 10042 */ "Error: Could not read SEG-Y header from file %s",
    /* 10043 */ "Error: Could not seek to SEG-Y trace header number %i in file %s",
    /* 10044 */ "Error: Could not read SEG-Y trace header number %i in file %s",
    /* 10045 */ "Warning: Sample %i in trace %i has possible bad data in file %s, an always zero byte in 32 bit fixed point with gain data is non-zero",
};
}  // namespace

const char* messageText(int number) {
  if (number < 10001 || number > 10045) return nullptr;
  return kMessages[number - 10001];
}

}  // namespace scrivel
