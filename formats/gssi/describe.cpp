// The GSSI page of the file header view: the fixed header's 30 fields.
#include <cstring>
#include <string>

#include "codec.h"
#include "scrivel/describe.h"
#include "scrivel/gssi.h"

namespace scrivel {

namespace {
// A zero-padded text field, up to its first zero byte or its full size.
std::string fieldText(const char* p, size_t size) { return std::string(p, strnlen(p, size)); }
}  // namespace

void describeGssi(const GssiFHdr* h, Fields& out) {
  if (!h) return;
  auto num = [&](const char* label, long long v) { out.emplace_back(label, formatInt(v)); };
  auto real = [&](const char* label, float v) { out.emplace_back(label, formatFixed(v)); };
  auto text = [&](const char* label, std::string v) { out.emplace_back(label, std::move(v)); };
  num("Tag", h->Tag);
  num("Data", h->Data);
  num("NSamp", h->NSamp);
  num("Bits", h->Bits);
  num("Zero", h->Zero);
  real("SPS", h->SPS);
  real("SPM", h->SPM);
  real("MPM", h->MPM);
  real("Position", h->Position);
  real("Range", h->Range);
  num("NPass", h->NPass);
  num("CDT", h->CDT);
  num("MDT", h->MDT);
  num("NChan", h->NChan);
  real("EPSR", h->EPSR);
  real("Top", h->Top);
  real("Depth", h->Depth);
  text("Reserved", fieldText(h->Reserved, sizeof h->Reserved));
  num("SPP", h->SPP);
  num("LineNum", h->LineNum);
  num("Start X", h->StartX);
  num("Start Y", h->StartY);
  num("End X", h->EndX);
  num("End Y", h->EndY);
  num("LineOrder", h->LineOrder);
  num("DType", h->DType);
  text("AntName", fieldText(h->AntName, sizeof h->AntName));
  num("ChanMask", h->ChanMask);
  text("Name", fieldText(h->Name, sizeof h->Name));
  num("ChkSum", h->ChkSum);
}

}  // namespace scrivel
