// Field-by-field descriptions of the five header records for the file header
// view: one (label, value) pair per row, labels as the view shows them,
// numbers written with "%i", reals with "%f" and texts as they are.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "scrivel/scrivel.h"

namespace scrivel {

using Fields = std::vector<std::pair<std::string, std::string>>;

// Each appends the rows of its record to `out` (nothing for a null record).
void describeGssi(const GssiFHdr* hdr, Fields& out);
void describePekko(const PekkoFHdr* hdr, Fields& out);
void describeRamac(const RamacFHdr* hdr, Fields& out);
void describeSeg2(const Seg2FHdr* hdr, Fields& out);
void describeSegy(const SegyFHdr* hdr, Fields& out);

}  // namespace scrivel
