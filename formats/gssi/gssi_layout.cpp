#include "gssi_layout.h"

#include <cmath>
#include <cstring>

#include "codec.h"

namespace scrivel::gssi {

void decodeFixed(const uint8_t* b, GssiFHdr* h) {
  h->Tag = rdU16le(b + 0);
  h->Data = rdU16le(b + 2);
  h->NSamp = rdU16le(b + 4);
  h->Bits = rdU16le(b + 6);
  h->Zero = rdU16le(b + 8);
  h->SPS = rdF32le(b + 10);
  h->SPM = rdF32le(b + 14);
  h->MPM = rdF32le(b + 18);
  h->Position = rdF32le(b + 22);
  h->Range = rdF32le(b + 26);
  h->NPass = rdU16le(b + 30);
  h->CDT = rdU32le(b + 32);
  h->MDT = rdU32le(b + 36);
  h->rangeGainOffset = rdU16le(b + 40);
  h->rangeGainSize = rdU16le(b + 42);
  h->textOffset = rdU16le(b + 44);
  h->textSize = rdU16le(b + 46);
  h->historyOffset = rdU16le(b + 48);
  h->historySize = rdU16le(b + 50);
  h->NChan = rdU16le(b + 52);
  h->EPSR = rdF32le(b + 54);
  h->Top = rdF32le(b + 58);
  h->Depth = rdF32le(b + 62);
  std::memcpy(h->Reserved, b + 66, 16);
  h->Reserved2 = rdU16le(b + 82);
  h->SPP = rdU16le(b + 84);
  h->LineNum = rdU16le(b + 86);
  h->StartX = rdU16le(b + 88);
  h->StartY = rdU16le(b + 90);
  h->EndX = rdU16le(b + 92);
  h->EndY = rdU16le(b + 94);
  h->LineOrder = b[96];
  h->DType = b[97];
  std::memcpy(h->AntName, b + 98, 14);
  h->ChanMask = rdU16le(b + 112);
  std::memcpy(h->Name, b + 114, 12);
  h->ChkSum = rdU16le(b + 126);
}

void encodeFixed(const GssiFHdr* h, uint8_t* b) {
  std::memset(b, 0, GSSI_FIXED_BYTES);
  wrU16le(b + 0, h->Tag);
  wrU16le(b + 2, h->Data);
  wrU16le(b + 4, h->NSamp);
  wrU16le(b + 6, h->Bits);
  wrU16le(b + 8, h->Zero);
  wrF32le(b + 10, h->SPS);
  wrF32le(b + 14, h->SPM);
  wrF32le(b + 18, h->MPM);
  wrF32le(b + 22, h->Position);
  wrF32le(b + 26, h->Range);
  wrU16le(b + 30, h->NPass);
  wrU32le(b + 32, h->CDT);
  wrU32le(b + 36, h->MDT);
  wrU16le(b + 40, h->rangeGainOffset);
  wrU16le(b + 42, h->rangeGainSize);
  wrU16le(b + 44, h->textOffset);
  wrU16le(b + 46, h->textSize);
  wrU16le(b + 48, h->historyOffset);
  wrU16le(b + 50, h->historySize);
  wrU16le(b + 52, h->NChan);
  wrF32le(b + 54, h->EPSR);
  wrF32le(b + 58, h->Top);
  wrF32le(b + 62, h->Depth);
  std::memcpy(b + 66, h->Reserved, 16);
  wrU16le(b + 82, h->Reserved2);
  wrU16le(b + 84, h->SPP);
  wrU16le(b + 86, h->LineNum);
  wrU16le(b + 88, h->StartX);
  wrU16le(b + 90, h->StartY);
  wrU16le(b + 92, h->EndX);
  wrU16le(b + 94, h->EndY);
  b[96] = h->LineOrder;
  b[97] = h->DType;
  std::memcpy(b + 98, h->AntName, 14);
  wrU16le(b + 112, h->ChanMask);
  std::memcpy(b + 114, h->Name, 12);
  wrU16le(b + 126, h->ChkSum);
}

uint16_t checksum(const uint8_t* fixed, const uint8_t* block) {
  uint16_t sum = 0;
  for (int off = 0; off <= 124; off += 2) sum = uint16_t(sum + rdU16le(fixed + off));
  for (int off = 0; off < GSSI_BLOCK_BYTES; off += 2) sum = uint16_t(sum + rdU16le(block + off));
  return sum;
}

double gainDb(int i, int n, int m, const float* p) {
  if (m < 2 || !p) return 0.0;
  // More points than samples would make the segments empty; one sample per
  // segment is the nearest sensible curve.
  int f = n / (m - 1);
  if (f < 1) f = 1;
  int j = i / f;
  if (j < m - 1) return p[j] + (double(p[j + 1]) - p[j]) * (i % f) / f;
  return p[m - 1];
}

const std::vector<float>& gainFactors(const GssiFHdr* hdr, int n) {
  static thread_local std::vector<float> factors;
  static thread_local std::vector<float> curve;
  static thread_local int curveSamples = -1;
  static const std::vector<float> none;
  const int m = hdr->rangeGainCount;
  if (m < 2 || !hdr->rangeGain || n <= 0) return none;
  if (curveSamples == n && curve.size() == (size_t)m &&
      std::memcmp(curve.data(), hdr->rangeGain, sizeof(float) * (size_t)m) == 0)
    return factors;
  curve.assign(hdr->rangeGain, hdr->rangeGain + m);
  curveSamples = n;
  factors.resize((size_t)n);
  for (int i = 0; i < n; ++i) factors[(size_t)i] = (float)std::pow(10.0, -0.05 * gainDb(i, n, m, hdr->rangeGain));
  return factors;
}

}  // namespace scrivel::gssi
