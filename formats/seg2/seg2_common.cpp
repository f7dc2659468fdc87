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

KeywordIndex::KeywordIndex(const char* const* kw, int count) : keywords(kw) {
  int order[64];
  for (int i = 0; i < count; ++i) {
    order[i] = i;
    length[i] = (uint8_t)std::strlen(kw[i]);
  }
  std::stable_sort(order, order + count, [&](int a, int b) { return length[a] > length[b]; });
  int used[26] = {};
  std::memset(byFirst, -1, sizeof byFirst);
  for (int i = 0; i < count; ++i) {
    int letter = kw[order[i]][0] - 'A';
    byFirst[letter][used[letter]++] = (int8_t)order[i];
  }
}

const KeywordIndex& fileKeywords() {
  static const KeywordIndex index(kSeg2FileKeywords, SEG2_FILE_STRING_COUNT);
  return index;
}

const KeywordIndex& traceKeywords() {
  static const KeywordIndex index(kSeg2TraceKeywords, SEG2_TRACE_STRING_COUNT);
  return index;
}

}  // namespace scrivel::seg2
