// Byte layout of the DZT header: the fixed header decoded and encoded field
// by field at its file offsets, the header checksum, and the range gain
// curve. Shared by the reader, the writer and the tests of this folder.
#pragma once

#include <cstdint>
#include <vector>

#include "scrivel/gssi.h"

namespace scrivel::gssi {

void decodeFixed(const uint8_t* bytes, GssiFHdr* hdr);
void encodeFixed(const GssiFHdr* hdr, uint8_t* bytes);

// 16-bit wrap-around sum of the 63 words at offsets 0..124 of the fixed
// header and the 448 words of the block (the ChkSum word itself excluded).
uint16_t checksum(const uint8_t* fixed, const uint8_t* block);

// Gain in dB of sample i of an n-sample trace for the curve p[0..m-1]
// (linear between points over equal segments); 0 with fewer than 2 points.
double gainDb(int i, int n, int m, const float* p);

// The factor 10^(-0.05 * gain) of every sample of an n-sample trace: the
// reader multiplies by it (removing the recorded gain), the writer divides.
// Empty when no gain applies. The table is kept between calls for the same
// curve, so reading a whole file computes it once.
const std::vector<float>& gainFactors(const GssiFHdr* hdr, int n);

}  // namespace scrivel::gssi
