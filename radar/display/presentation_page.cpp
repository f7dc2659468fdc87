// The presentation page painted through a canvas at any resolution.
#include "display/presentation_page.h"

#include <algorithm>
#include <cstdio>

#include "display/axes.h"
#include "display/colortable.h"
#include "display/gain.h"
#include "display/image.h"
#include "display/image_wiggles.h"

namespace quv {

namespace {

constexpr dv::ColorRef kBlack = 0x000000;
constexpr dv::ColorRef kOutside = 0x808080;  // beyond the page
constexpr dv::ColorRef kMarginFrame = 0xA0A0A0;

// Pixel height of a font of `points` on the view.
int pointsToPixels(const PageView& v, double points) {
  const double px = v.pixelsPerInchY() * points / 72.0;
  return px > 0 ? int(std::min(px, double(kMaxFontPixels))) : 0;
}

dv::FontDesc sizedFont(const LogFont& font, int pixels, int escapement) {
  dv::FontDesc f = fontDesc(font);
  f.height = -std::max(pixels, 1);
  f.width = 0;
  f.escapement = escapement;
  return f;
}

const std::vector<float>* verticalValues(const DisplaySettings& s, const ProfileVersion& v) {
  if (s.vAxisType == kAxisTime) return &v.time;
  return v.kind == kElevationVersion ? &v.elevation : &v.depthPresentation;
}

AxesInput axesInput(const DisplaySettings& s, const PageSource& src, const PageLayout& at) {
  AxesInput in;
  in.image = at.traces.image;
  in.settings = &s;
  in.firstTrace = at.traces.firstTrace;
  in.lastTrace = at.traces.lastTrace;
  in.firstSample = at.traces.firstSample;
  in.lastSample = at.traces.lastSample;
  in.fh = std::max(at.fh, 1);
  in.fv = std::max(at.fv, 1);
  in.titles = false;  // the label elements are the titles
  in.versionKind = src.version->kind;
  if (src.header) {
    in.unitsPerFoot = src.header->unitsPerFoot;
    in.easting = &src.header->easting;
    in.northing = &src.header->northing;
    in.nodeTraces = &src.header->nodeTrace;
  }
  in.vertical = verticalValues(s, *src.version);
  return in;
}

void paintTraces(dv::Canvas& c, dv::IndexedBitmap& bitmap, const DisplaySettings& s, const PageSource& src,
                 const PageLayout& at, bool paper) {
  bitmap.fill(kWhiteIndex);
  ProfileVersion* v = src.version;
  const TracesBoxMapping& m = at.traces;
  const bool traces = v && !s.elements[kTracesBox].hidden && m.visible();
  if (traces) {
    PixelMaps maps;
    buildPixelMaps(bitmap.width(), bitmap.height(), m.image, m.firstTrace, m.lastTrace, m.firstSample,
                   m.lastSample, maps);
    const WiggleStyle style = wiggleStyle(s);
    const WiggleWindow shown{m.firstTrace, m.lastTrace, m.firstSample, m.lastSample};
    buildByteTraces(*v, true, tracesDrawn(maps.columns, shown, style), false);
    const ByteTraceView bytes(v->presentationBytes, v->samples);
    if (s.paletteType != kNoColor) fillImage(bitmap, m.image, maps, s.numColours, bytes);
    if (wigglesShown(style)) drawWiggles(bitmap, m.image, maps.rows, bytes, shown, style);
    // The frame only where the box is not cut by the view.
    drawFrame(bitmap, m.box);
  }
  const dv::Rect whole{0, 0, bitmap.width(), bitmap.height()};
  if (!paper) {
    c.drawBitmap(bitmap, whole, whole);  // the screen's background too
  } else if (traces) {
    // On paper only the box with its frame, inside the target.
    const dv::Rect box{std::max(m.box.left - 1, 0), std::max(m.box.top - 1, 0),
                       std::min(m.box.right + 1, whole.right), std::min(m.box.bottom + 1, whole.bottom)};
    c.drawBitmap(bitmap, box, box);
  }
  if (traces) drawAxes(c, axesInput(s, src, at));
}

void paintLegend(dv::Canvas& c, const DisplaySettings& s, const PageSource& src, const PageLayout& at) {
  const PageElement& e = s.elements[kLegend];
  const dv::Rect& r = at.elements[kLegend];
  if (e.hidden || r.right <= r.left || r.bottom <= r.top) return;
  TemplateSource t{src.projectName, src.profileName, src.version, src.header, &s};
  c.setClip(r);
  c.setTextColor(e.colour);
  c.setTextAlign(dv::kTextLeft | dv::kTextTop);
  const int x = r.left + (r.right - r.left) / 50;
  int y = r.top;
  for (int k = 0; k < kLegendLines; ++k) {
    const int height = pointsToPixels(at.view, s.legendSizes[k]);
    if (height <= 0) continue;  // a line of size 0 takes no room
    c.setFont(sizedFont(e.fontObject.created ? e.fontObject.font : e.font, height, 0));
    c.text(x, y, expandTemplate(s.legendTexts[k], t));
    y += height;
  }
  c.clearClip();
}

// The comments band: beside the traces box on the chosen side, the plan
// coordinates of every geometry node written at its trace, turned by 90 or
// 270 degrees and kept clear of the axis values of that side.
void paintComments(dv::Canvas& c, const DisplaySettings& s, const PageSource& src, const PageLayout& at) {
  const TracesBoxMapping& m = at.traces;
  if ((s.commentsPlacement != 1 && s.commentsPlacement != 2) || !src.header || !m.visible()) return;
  const ProfileHeader& h = *src.header;
  const int size = pointsToPixels(at.view, s.commentsFontSize);
  if (size <= 0) return;
  const bool up = s.commentsRotation == 1;  // 90 degrees: the text reads upwards
  const bool above = s.commentsPlacement == 1;
  c.setFont(sizedFont(s.commentsFont, size, up ? 900 : 2700));
  c.setTextColor(s.commentsColour);
  // Room for the axis values on that side.
  const AxesInput in = axesInput(s, src, at);
  const bool values = above ? !s.hTopValues : !s.hBottomValues;
  const int lines = values ? (bothCoordinates(s) ? 2 : 1) : 0;
  const int gap = in.fh / 2 + lines * in.fh + 4;
  const int y = above ? m.box.top - gap : m.box.bottom + gap;
  // Text running away from the box: upwards from its start above it, or
  // ending at its start below it (and the reverse at 270 degrees).
  const bool startsAtAnchor = above == up;
  c.setTextAlign((startsAtAnchor ? dv::kTextLeft : dv::kTextRight) | dv::kTextBottom);
  const AxisScale scale = horizontalScale(in);
  char text[96];
  for (size_t k = 0; k < h.nodeTrace.size() && k < h.nodeEasting.size() && k < h.nodeNorthing.size(); ++k) {
    const int t = h.nodeTrace[k];
    if (t < m.firstTrace || t > m.lastTrace) continue;
    std::snprintf(text, sizeof text, "E %.2f  N %.2f", h.nodeEasting[k], h.nodeNorthing[k]);
    const int x = scale.pixelOf(t) + (up ? size / 2 : -size / 2);
    c.text(x, y, text);
  }
}

void paintTextElements(dv::Canvas& c, const DisplaySettings& s, const PageSource& src, const PageLayout& at) {
  const float u = src.header ? src.header->unitsPerFoot : 1.0f;
  for (int k : {int(kTitle), int(kHorizontalLabel), int(kVerticalLabel)}) {
    const PageElement& e = s.elements[k];
    if (e.hidden) continue;
    const std::string text = elementText(e, u);
    if (text.empty()) continue;
    c.setFont(elementFont(e, at.elements[k], text));
    c.setTextColor(e.colour);
    c.setTextAlign(dv::kTextLeft | dv::kTextBottom);
    const dv::Point p = elementAnchor(e, at.elements[k]);
    c.text(p.x, p.y, text);
  }
}

void paintPageFrame(dv::Canvas& c, const DisplaySettings& s, const PageLayout& at) {
  const dv::Rect& p = at.page;
  const int w = at.view.width, h = at.view.height;
  // Everything beyond the page: above, below, left and right of it.
  c.fillRect({0, 0, w, std::min(p.top, h)}, kOutside);
  c.fillRect({0, std::max(p.bottom, 0), w, h}, kOutside);
  c.fillRect({0, std::max(p.top, 0), std::min(p.left, w), std::min(p.bottom, h)}, kOutside);
  c.fillRect({std::max(p.right, 0), std::max(p.top, 0), w, std::min(p.bottom, h)}, kOutside);
  c.setPen(kBlack);
  c.frameRect(p);
  if (!s.hideMarginFrame) {
    c.setPen(kMarginFrame, 1, dv::PenStyle::Dot);
    c.frameRect(at.margins);
  }
}

void paintTrackers(dv::Canvas& c, const PageLayout& at) {
  for (const dv::Rect& r : at.elements) {
    c.setPen(kBlack, 1, dv::PenStyle::Dot);
    c.frameRect(r);
    dv::Rect handles[8];
    trackerHandles(r, handles);
    for (const dv::Rect& h : handles) c.fillRect(h, kBlack);
  }
  c.setPen(kBlack);
}

}  // namespace

PageLayout layoutPresentationPage(DisplaySettings& s, const PageSource& src, const PageView& view,
                                  dv::Canvas& measure) {
  PageLayout at;
  at.view = view;
  const float u = src.header ? src.header->unitsPerFoot : 1.0f;
  if (src.version) followAxisTypes(s, src.version->kind);
  for (int k : {int(kTitle), int(kHorizontalLabel), int(kVerticalLabel)})
    layoutTextElement(s.elements[k], elementText(s.elements[k], u), measure);
  for (int k = 0; k < kPageElementCount; ++k) {
    PageElement& e = s.elements[k];
    at.elements[k] = view.rect(e.left, e.top, e.right, e.bottom);
    e.pixels = {at.elements[k].left, at.elements[k].top, at.elements[k].right, at.elements[k].bottom};
  }
  const int traces = src.header ? src.header->traceCount : 0;
  const int samples = src.version ? src.version->samples : 0;
  const int lastTrace = std::clamp(s.lastTrace, 0, std::max(traces - 1, 0));
  const int lastSample = std::clamp(s.lastSample, 0, std::max(samples - 1, 0));
  at.traces = tracesBoxMapping(s.elements[kTracesBox], view, std::clamp(s.firstTrace, 0, lastTrace), lastTrace,
                               std::clamp(s.firstSample, 0, lastSample), lastSample);
  at.fh = pointsToPixels(view, s.hFontSize);
  at.fv = pointsToPixels(view, s.vFontSize);
  at.page = view.rect(0, 0, s.pageWidth, s.pageHeight);
  at.margins = view.rect(s.marginLeft, s.marginTop, s.pageWidth - s.marginRight, s.pageHeight - s.marginBottom);
  return at;
}

PageLayout paintPresentationPage(dv::Canvas& c, dv::IndexedBitmap& bitmap, DisplaySettings& s,
                                 const PageSource& src, const PageView& view, const PagePaintOptions& options) {
  const PageLayout at = layoutPresentationPage(s, src, view, c);
  if (bitmap.width() != view.width || bitmap.height() != view.height) bitmap.resize(view.width, view.height);
  buildColorTable(s.paletteType, s.numColours, bitmap.colors());
  paintTraces(c, bitmap, s, src, at, options.paper);
  paintLegend(c, s, src, at);
  paintComments(c, s, src, at);
  paintTextElements(c, s, src, at);
  if (!options.paper) paintPageFrame(c, s, at);
  if (options.trackers) paintTrackers(c, at);
  return at;
}

// --- trackers -------------------------------------------------------------------------------

void trackerHandles(const dv::Rect& r, dv::Rect out[8]) {
  const int s = kTrackerHandle, mx = (r.left + r.right) / 2, my = (r.top + r.bottom) / 2;
  auto at = [s](int x, int y) { return dv::Rect{x - s / 2, y - s / 2, x - s / 2 + s, y - s / 2 + s}; };
  out[0] = at(r.left, r.top);
  out[1] = at(r.right, r.top);
  out[2] = at(r.right, r.bottom);
  out[3] = at(r.left, r.bottom);
  out[4] = at(mx, r.top);
  out[5] = at(r.right, my);
  out[6] = at(mx, r.bottom);
  out[7] = at(r.left, my);
}

int trackerHit(const dv::Rect& r, int x, int y) {
  dv::Rect handles[8];
  trackerHandles(r, handles);
  for (int k = 0; k < 8; ++k)
    if (x >= handles[k].left && x < handles[k].right && y >= handles[k].top && y < handles[k].bottom) return k;
  if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return 8;
  return -1;
}

dv::Rect trackRect(const dv::Rect& r, int hit, int dx, int dy) {
  dv::Rect o = r;
  const bool left = hit == 0 || hit == 3 || hit == 7, right = hit == 1 || hit == 2 || hit == 5;
  const bool top = hit == 0 || hit == 1 || hit == 4, bottom = hit == 2 || hit == 3 || hit == 6;
  if (hit == 8) {
    o = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    return o;
  }
  if (left) o.left += dx;
  if (right) o.right += dx;
  if (top) o.top += dy;
  if (bottom) o.bottom += dy;
  if (o.left > o.right) std::swap(o.left, o.right);
  if (o.top > o.bottom) std::swap(o.top, o.bottom);
  return o;
}

}  // namespace quv
