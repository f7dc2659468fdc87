// The SEG-Y page of the file header view: the three 32-bit fields, the 24
// 16-bit fields from offset 3212 and the rest of the binary header.
#include <string>

#include "scrivel/describe.h"
#include "scrivel/segy.h"

namespace scrivel {

void describeSegy(const SegyFHdr* hdr, Fields& out) {
  static const char* const kShortLabels[24] = {
      "Number of Traces",       "Number of Auxiliary Traces", "Sample Interval",
      "Original Sample Interval", "Number of Samples",        "Original Number of Samples",
      "Data Format Code",       "CDP Fold",                   "Trace Sorting Code",
      "Vertical Sum Code",      "Sweep Frequency Start",      "Sweep Frequency End",
      "Sweep Length",           "Sweep Type Code",            "Sweep Channel Trace",
      "Sweep Taper Start",      "Sweep Taper End",            "Sweep Taper Type",
      "Correlated Data Traces", "Binary Gain Recovered",      "Amplitude Recovery Method",
      "Measurement System",     "Impulse Polarity",           "Vibratory Polarity",
  };
  if (!hdr) return;
  out.emplace_back("Job ID Number", std::to_string(hdr->jobId));
  out.emplace_back("Line Number", std::to_string(hdr->lineNumber));
  out.emplace_back("Reel Number", std::to_string(hdr->reelNumber));
  for (int k = 0; k < 24; ++k) out.emplace_back(kShortLabels[k], std::to_string(hdr->*kSegyShortFields[k]));
  // The rest of the binary header as text, up to its first zero byte.
  size_t n = 0;
  while (n < sizeof hdr->rest && hdr->rest[n]) ++n;
  out.emplace_back("Reserved", std::string(reinterpret_cast<const char*>(hdr->rest), n));
}

}  // namespace scrivel
