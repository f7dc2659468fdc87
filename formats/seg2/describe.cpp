// The SEG-2 page of the file header view: the 13 file strings.
#include "scrivel/describe.h"
#include "scrivel/seg2.h"

namespace scrivel {

void describeSeg2(const Seg2FHdr* hdr, Fields& out) {
  static const char* const kLabels[SEG2_FILE_STRING_COUNT] = {
      "Acquisition Date", "Acquisition Time", "Client",          "Company",
      "General Constant", "Instrument",       "Job ID",          "Observer",
      "Processing Date",  "Processing Time",  "Trace Sort",      "Units",
      "Note",
  };
  if (!hdr) return;
  for (int k = 0; k < SEG2_FILE_STRING_COUNT; ++k) out.emplace_back(kLabels[k], seg2FileString(*hdr, k));
}

}  // namespace scrivel
