#include "project/display_settings.h"

#include <algorithm>

namespace quv {

LogFont arialFont(int escapement) {
  LogFont f;
  f.escapement = escapement;
  f.orientation = escapement;
  return f;
}

std::string faceName(const LogFont& font) {
  return std::string(font.faceName, strnlen(font.faceName, sizeof font.faceName));
}

void setFaceName(LogFont& font, const std::string& face) {
  std::memset(font.faceName, 0, sizeof font.faceName);
  std::memcpy(font.faceName, face.data(), std::min(face.size(), sizeof font.faceName - 1));
}

void createFont(FontObject& object, const LogFont& from) {
  object.font = from;
  object.created = true;
}

namespace {

void setElement(PageElement& e, float l, float t, float r, float b) {
  e.left = l, e.top = t, e.right = r, e.bottom = b;
}

// Every stored field in its stored order; the visitor sees each as an int,
// a float, a colour, a text or a logical font. The writer, the reader and
// the comparison all walk this one list, so the layout is written once.
template <class S, class V>
void visitStored(S& s, V& v) {
  for (auto& e : s.elements) {
    v.f(e.left), v.f(e.top), v.f(e.right), v.f(e.bottom);
    v.i(e.maintainAspect), v.i(e.orientation);
    for (auto& t : e.texts) v.text(t);
    v.i(e.shownText);
    v.font(e.font);
    v.c(e.colour);
    v.i(e.hidden);
  }
  v.f(s.visibleLeft), v.f(s.visibleTop), v.f(s.visibleRight), v.f(s.visibleBottom);
  // The 60 fields from the units factor to the last far-side flag.
  v.f(s.unitsFactor), v.f(s.pageWidth), v.f(s.pageHeight);
  v.f(s.marginLeft), v.f(s.marginTop), v.f(s.marginRight), v.f(s.marginBottom);
  v.i(s.hideMarginFrame);
  v.i(s.gainType), v.f(s.constantGain), v.f(s.agcWindow), v.f(s.sphericalV), v.f(s.sphericalA);
  v.i(s.paletteType), v.i(s.numColours);
  v.i(s.wiggleLines), v.i(s.fillLeft), v.i(s.fillRight), v.i(s.panelFillLeft),
      v.i(s.panelFillRight), v.i(s.wiggleEvery), v.f(s.wiggleDeflection), v.c(s.wiggleColour);
  v.i(s.firstTrace), v.i(s.lastTrace), v.i(s.firstSample), v.i(s.lastSample);
  v.i(s.hAxisType), v.i(s.vAxisType);
  v.i(s.hTickMode), v.i(s.vTickMode);
  v.i(s.eastingWithNorthing), v.i(s.northingWithEasting);
  v.f(s.velocity);
  v.i(s.hFixedNumber), v.i(s.vFixedNumber), v.i(s.everyNthTrace), v.i(s.everyNthSample);
  v.f(s.hCoordIncrement), v.f(s.vCoordIncrement);
  v.i(s.hDecimals), v.i(s.vDecimals), v.i(s.hMinors), v.i(s.vMinors);
  v.i(s.hHideFirst), v.i(s.hHideLast), v.i(s.vHideFirst), v.i(s.vHideLast);
  v.i(s.vLeftValues), v.i(s.vLeftMajor), v.i(s.vLeftMinor);
  v.i(s.hTopValues), v.i(s.hTopMajor), v.i(s.hTopMinor);
  v.i(s.vRightValues), v.i(s.vRightMajor), v.i(s.vRightMinor);
  v.i(s.hBottomValues), v.i(s.hBottomMajor), v.i(s.hBottomMinor);
  // Axis fonts, grid and node flags.
  v.f(s.hFontSize), v.f(s.vFontSize);
  v.i(s.hFontHeight), v.i(s.vFontHeight);
  v.font(s.hFont), v.font(s.vFont);
  v.c(s.hTextColour), v.c(s.vTextColour);
  v.i(s.hideMajorGrid), v.i(s.hideMinorGrid), v.i(s.hideGeometryNodes);
  for (int k = 0; k < kLegendLines; ++k) v.text(s.legendTexts[k]), v.f(s.legendSizes[k]);
  v.i(s.commentsPlacement), v.i(s.commentsRotation), v.f(s.commentsFontSize),
      v.i(s.commentsFourth);
  v.font(s.commentsFont);
  v.c(s.commentsColour);
}

void putFont(ByteWriter& w, const LogFont& f) {
  w.i32(f.height), w.i32(f.width), w.i32(f.escapement), w.i32(f.orientation), w.i32(f.weight);
  const uint8_t flags[8] = {f.italic,       f.underline,     f.strikeOut, f.charSet,
                            f.outPrecision, f.clipPrecision, f.quality,   f.pitchAndFamily};
  w.raw(flags, 8);
  w.raw(f.faceName, 32);
}

bool getFont(ByteReader& r, LogFont& f) {
  uint8_t flags[8];
  LogFont t;
  if (!(r.i32(t.height) && r.i32(t.width) && r.i32(t.escapement) && r.i32(t.orientation) &&
        r.i32(t.weight) && r.raw(flags, 8) && r.raw(t.faceName, 32)))
    return false;
  t.italic = flags[0], t.underline = flags[1], t.strikeOut = flags[2], t.charSet = flags[3];
  t.outPrecision = flags[4], t.clipPrecision = flags[5], t.quality = flags[6];
  t.pitchAndFamily = flags[7];
  f = t;
  return true;
}

struct Writer {
  ByteWriter& w;
  void i(const int32_t& x) { w.i32(x); }
  void f(const float& x) { w.f32(x); }
  void c(const ColorRef& x) { w.u32(x); }
  void text(const std::string& t) { w.text(t); }
  void font(const LogFont& x) { putFont(w, x); }
};

// Stops reading at the first failure; the later fields stay as they were.
struct Reader {
  ByteReader& r;
  bool ok = true;
  void i(int32_t& x) { ok = ok && r.i32(x); }
  void f(float& x) { ok = ok && r.f32(x); }
  void c(ColorRef& x) { ok = ok && r.u32(x); }
  void text(std::string& t) { ok = ok && r.text(t); }
  void font(LogFont& x) { ok = ok && getFont(r, x); }
};

}  // namespace

DisplaySettings::DisplaySettings() {
  setElement(elements[kTracesBox], 1.25f, 1.5f, 10.25f, 8.0f);
  setElement(elements[kTitle], 5.0f, 17.0f / 36, 7.0f, 0.75f);
  setElement(elements[kHorizontalLabel], 5.25f, 31.0f / 36, 7.25f, 1.0f);
  setElement(elements[kVerticalLabel], 13.0f / 36, 3.0f, 0.5f, 5.0f);
  setElement(elements[kLegend], 9.25f, 7.0f / 12, 10.25f, 1.0f);
  setElement(elements[kLogo], 0.5f, 0.5f, 1.0f, 1.0f);

  elements[kTitle].texts[0] = "Radar Profile";
  auto& h = elements[kHorizontalLabel];
  h.texts[0] = "Trace #", h.texts[1] = "Easting/Northing (%d)", h.texts[2] = "Northing/Easting (%d)";
  h.shownText = 1;
  auto& v = elements[kVerticalLabel];
  v.texts[0] = "Sample #", v.texts[1] = "Time (ns)", v.texts[2] = "Depth (%d)";
  v.texts[3] = "Elevation (%d)";
  v.shownText = 1;
  v.orientation = 1;
  v.font = arialFont(900);

  legendTexts[0] = "Project: %proj_name%";
  legendTexts[1] = "Profile: %prof_name%";
  legendTexts[2] = "Tab: %tab_name%";
  legendSizes[0] = legendSizes[1] = legendSizes[2] = 10.0f;
  recreateFonts(*this);
}

void recreateFonts(DisplaySettings& s) {
  for (auto& e : s.elements) createFont(e.fontObject, e.font);
  createFont(s.hFontObject, s.hFont);
  createFont(s.vFontObject, s.vFont);
  for (auto& f : s.legendFontObjects) createFont(f, s.elements[kLegend].font);
  createFont(s.commentsFontObject, s.commentsFont);
}

void setWholeProfile(DisplaySettings& s, int traces, int samples) {
  s.firstTrace = 0;
  s.lastTrace = std::max(traces - 1, 0);
  s.firstSample = 0;
  s.lastSample = std::max(samples - 1, 0);
}

void writeSettings(ByteWriter& out, const DisplaySettings& s) {
  Writer w{out};
  visitStored(s, w);
}

bool readSettings(ByteReader& in, int /*versionStamp: every stamp reads the same*/,
                  DisplaySettings& s) {
  Reader r{in};
  visitStored(s, r);
  if (r.ok) recreateFonts(s);
  return r.ok;
}

bool sameStoredFields(const DisplaySettings& a, const DisplaySettings& b) {
  ByteWriter wa, wb;
  writeSettings(wa, a);
  writeSettings(wb, b);
  return wa.bytes() == wb.bytes();
}

void copySettings(DisplaySettings& to, const DisplaySettings& from, int parts) {
  if (parts & kCopyPage) {
    to.visibleLeft = from.visibleLeft, to.visibleTop = from.visibleTop;
    to.visibleRight = from.visibleRight, to.visibleBottom = from.visibleBottom;
    to.landscape = from.landscape, to.unitsFactor = from.unitsFactor;
    to.pageWidth = from.pageWidth, to.pageHeight = from.pageHeight;
    to.marginLeft = from.marginLeft, to.marginTop = from.marginTop;
    to.marginRight = from.marginRight, to.marginBottom = from.marginBottom;
    to.hideMarginFrame = from.hideMarginFrame;
    for (int k = 0; k < kPageElementCount; ++k) {
      auto& t = to.elements[k];
      const auto& f = from.elements[k];
      t.left = f.left, t.top = f.top, t.right = f.right, t.bottom = f.bottom;
      t.pixels = f.pixels;
      t.maintainAspect = f.maintainAspect, t.orientation = f.orientation, t.hidden = f.hidden;
    }
  }
  if (parts & kCopyData) {
    // The data part is everything but the page, the element placement and the
    // zoom window (which belongs to the version's own traces and samples).
    DisplaySettings keep = to;
    to = from;
    to.firstTrace = keep.firstTrace, to.lastTrace = keep.lastTrace;
    to.firstSample = keep.firstSample, to.lastSample = keep.lastSample;
    if (!(parts & kCopyPage)) {
      copySettings(to, keep, kCopyPage);
    }
  }
  recreateFonts(to);
}

}  // namespace quv
