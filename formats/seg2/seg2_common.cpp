#include "seg2_common.h"

#include <algorithm>
#include <cstring>

namespace scrivel::seg2 {

Terminator stringTerminator(const Seg2FHdr& h, bool* invalid) {
  Terminator t;
  if (h.stringTermLength == 1 || h.stringTermLength == 2) {
    t.length = h.stringTermLength;
    t.first = (char)h.stringTerm1;
    t.second = h.stringTermLength == 2 ? (char)h.stringTerm2 : 0;
    if (invalid) *invalid = false;
  } else if (invalid) {
    *invalid = true;
  }
  return t;
}

Terminator lineTerminator(const Seg2FHdr& h, bool* invalid) {
  Terminator t;
  t.first = 10;
  if (h.lineTermLength == 1 || h.lineTermLength == 2) {
    t.length = h.lineTermLength;
    t.first = (char)h.lineTerm1;
    t.second = h.lineTermLength == 2 ? (char)h.lineTerm2 : 0;
    if (invalid) *invalid = false;
  } else if (invalid) {
    *invalid = true;
  }
  return t;
}

void orderLongestFirst(const char* const* keywords, int count, int* order) {
  for (int i = 0; i < count; ++i) order[i] = i;
  std::stable_sort(order, order + count, [&](int a, int b) {
    return std::strlen(keywords[a]) > std::strlen(keywords[b]);
  });
}

}  // namespace scrivel::seg2
