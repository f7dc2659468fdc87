// Rewriting a raw item's recording whole, in its own format: with an edited
// header record (View File Header) and the traces as they were read. The
// new files go to temporary files beside the recording ("<file>.part"),
// are read back with the format's own reader and are renamed over the
// recording only when they read back as the item expects; a failure leaves
// the recording as it was and removes the temporary files.
#pragma once

#include <string>
#include <vector>

#include "project/raw_traces.h"

namespace quv {

// Every trace of the item's recording, with its own record, read with the
// item's header. False with the reason when the recording cannot be read.
bool readRecordingTraces(const RawData& d, std::vector<RawTraceRecord>& traces, std::string& why);

// Writes `header` (a record of the item's format) as the recording's header:
// the header file alone for pulseEKKO and RAMAC (traces unused), the header
// and every trace of `traces` for GSSI, SEG-2 and SEG-Y. The written files
// must read back with the item's trace and sample counts. False with the
// reason otherwise (nothing changed then).
bool rewriteRecording(const RawData& d, void* header, std::vector<RawTraceRecord>& traces,
                      std::string& why);

}  // namespace quv
