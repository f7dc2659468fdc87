// What the SEG-2 reader and writer share: byte order of the file, the
// terminator set-up and the keyword string list.
#pragma once

#include <bit>
#include <cstddef>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "scrivel/seg2.h"
#include "clip.h"
#include "scrivel_internal.h"

namespace scrivel::seg2 {

// Rounds and clips one sample for an integer field of range lo..hi by the
// shared clipping rule.
inline long roundClip(double v, long lo, long hi, int sample, int trace, const char* path,
                      int* result) {
  return clipSample(v, lo, hi, 0, sample, trace, path, result);
}

// A 16- or 32-bit word between host order and a file's byte order (`BE`:
// big-endian): swapped when the two differ.
template <bool BE, typename Word>
inline Word inFileOrder(Word w) {
  if constexpr (BE != (std::endian::native == std::endian::big)) {
    if constexpr (sizeof(Word) == 2) return (Word)(w << 8 | w >> 8);
    else return (w << 24) | ((w << 8) & 0xFF0000u) | ((w >> 8) & 0xFF00u) | (w >> 24);
  }
  return w;
}

struct Terminator {
  uint8_t length = 1;  // 1 or 2
  char first = 0;
  char second = 0;
};

// The string terminator of a record: length 1 or 2 as given, anything else
// length 1 with character 0 (*invalid is then set).
Terminator stringTerminator(const Seg2FHdr& h, bool* invalid = nullptr);
// The line terminator: an invalid length becomes length 1 with character 10.
Terminator lineTerminator(const Seg2FHdr& h, bool* invalid = nullptr);

// Bytes a format code's samples occupy, times 2 (code 3 packs 2.5 bytes a
// sample); 0 for codes outside 1..5.
inline uint32_t doubleBytesPerSample(int code) {
  switch (code) {
    case SEG2_INT16: return 4;
    case SEG2_INT32: return 8;
    case SEG2_FLOAT20: return 5;
    case SEG2_FLOAT32: return 8;
    case SEG2_FLOAT64: return 16;
    default: return 0;
  }
}

// The keywords of one list grouped by first character, longer keywords
// before shorter ones that share their start.
struct KeywordIndex {
  KeywordIndex(const char* const* keywords, int count);
  const char* const* keywords;
  uint8_t length[64];
  int8_t byFirst[26][16];  // per letter A..Z: keyword indices, -1 ends
};

// The indexes of the file keywords and of the trace keywords.
const KeywordIndex& fileKeywords();
const KeywordIndex& traceKeywords();

// Walks the keyword string list in block[0..size). Each entry's text is
// terminated in place (its terminator's first character becomes 0) and
// matched by prefix against the index's keywords; on a match
// onValue(k, text after the keyword) is called. Returns false when the list
// overran the block.
template <typename OnValue>
bool parseStrings(uint8_t* block, size_t size, bool be, Terminator term, const KeywordIndex& index,
                  OnValue onValue);

// ---------------------------------------------------------------------------

template <typename OnValue>
bool parseStrings(uint8_t* block, size_t size, bool be, Terminator term, const KeywordIndex& index,
                  OnValue onValue) {
  size_t cursor = 0;
  for (;;) {
    if (cursor > size || size - cursor < 2) return false;
    uint16_t offset = rd16(block + cursor, be);
    if (offset == 0) return true;
    // The text runs from the byte after the offset to the terminator.
    size_t start = cursor + 2;
    size_t end = start;
    for (;;) {
      if (end >= size) return false;
      if ((char)block[end] == term.first) {
        if (term.length == 1) break;
        if (end + 1 >= size) return false;
        if ((char)block[end + 1] == term.second) break;
      }
      ++end;
    }
    block[end] = 0;
    const char* text = reinterpret_cast<const char*>(block + start);
    const size_t textLength = end - start;
    const unsigned first = (unsigned char)text[0] - 'A';
    if (textLength && first < 26) {
      for (const int8_t* k = index.byFirst[first]; *k >= 0; ++k) {
        size_t n = index.length[*k];
        if (textLength >= n && std::memcmp(text, index.keywords[*k], n) == 0) {
          onValue(*k, text + n);
          break;
        }
      }
    }
    cursor += offset;
  }
}

}  // namespace scrivel::seg2
