// Synthetic SEG-2 recording: the shared section written through the
// library's own SEG-2 writers, little-endian, one trace per radar trace.
#include <charconv>
#include <cstdlib>
#include <string>
#include <vector>

#include "dv/file.h"
#include "scrivel/seg2.h"
#include "synth.h"

namespace synth {

namespace {

std::string number(double v) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return " " + std::string(buf, r.ptr);
}

char* text(std::string& s) { return s.data(); }

// Keeps a value string alive in the record that points at it.
void setString(char*& field, const char* value) {
  std::free(field);
  size_t n = std::char_traits<char>::length(value);
  field = static_cast<char*>(std::malloc(n + 1));
  if (field) std::char_traits<char>::copy(field, value, n + 1);
}

}  // namespace

int writeSeg2(const std::string& path, const LineRecipe& recipe) {
  // The line's code: 1..5 as given, 16 and 32 for the integer codes, else
  // 32-bit floats.
  uint8_t code = recipe.bits >= 1 && recipe.bits <= 5 ? (uint8_t)recipe.bits
                 : recipe.bits == 16                ? (uint8_t)SEG2_INT16
                 : recipe.bits == 32                ? (uint8_t)SEG2_INT32
                                                  : (uint8_t)SEG2_FLOAT32;
  Seg2FHdr* h = nullptr;
  int rc = CreateSeg2FHdr(&h);
  if (rc != 0) return rc;
  h->traces = (uint16_t)(recipe.traces > 65535 ? 65535 : recipe.traces < 0 ? 0 : recipe.traces);
  setString(h->acquisitionDate, " 07/DEC/2026");
  setString(h->acquisitionTime, " 12:00:00");
  setString(h->company, " DELVAR");
  setString(h->instrument, " DELVAR synthetic radar line");
  setString(h->traceSort, " AS_ACQUIRED");
  setString(h->units, " METERS");
  setString(h->note, " synthetic section: direct wave, reflectors, diffractions");
  int worst = WriteSeg2FHdr(path.c_str(), h);
  if (worst < 0) {
    CleanupSeg2FHdr(h);
    return worst;
  }
  dv::File f;
  rc = OpenFileForWrite(path.c_str(), &f);
  if (rc != 0) {
    CleanupSeg2FHdr(h);
    return rc;
  }
  const double window = recipe.timeWindowNs > 0 ? recipe.timeWindowNs : 100.0;
  const double dtNs = recipe.samples > 1 ? window / (recipe.samples - 1) : window;
  std::string interval = number(dtNs * 1e-9), delay = number(recipe.firstTimeNs * 1e-9);
  std::string one = " 1", mark = " MARK";
  std::vector<float> s((size_t)(recipe.samples > 0 ? recipe.samples : 0));
  for (int i = 0; i < h->traces; ++i) {
    Seg2TraceHdr t{};
    t.samples = (uint32_t)s.size();
    t.formatCode = code;
    std::string channel = " " + std::to_string(i + 1);
    std::string location = number(i * (double)recipe.traceSpacingM);
    t.sampleInterval = text(interval);
    t.delay = text(delay);
    t.descalingFactor = text(one);
    t.channelNumber = text(channel);
    t.receiverLocation = text(location);
    t.sourceLocation = text(location);
    t.stack = text(one);
    if (recipe.markEvery > 0 && i % recipe.markEvery == 0) t.note = text(mark);
    for (size_t k = 0; k < s.size(); ++k) s[k] = amplitude(recipe, i, (int)k);
    rc = WriteSeg2Trace(path.c_str(), &f, h, &t, i, s.data());
    if (rc < 0) {
      worst = rc;
      break;
    }
    if (rc > worst) worst = rc;
  }
  f.close();
  CleanupSeg2FHdr(h);
  return worst;
}

}  // namespace synth
