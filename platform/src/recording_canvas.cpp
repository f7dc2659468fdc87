// The recording canvas: every call kept with the pen, font, alignment,
// text colour and clip in force.
#include <algorithm>
#include <cstdlib>

#include "dv/canvas.h"

namespace dv {

CanvasCall& RecordingCanvas::record(CanvasCall::Kind kind) {
  CanvasCall call = state_;
  call.kind = kind;
  call.colour = state_.penColour;
  calls_.push_back(std::move(call));
  return calls_.back();
}

void RecordingCanvas::setPen(ColorRef colour, int width, PenStyle style) {
  state_.penColour = colour;
  state_.penWidth = std::max(width, 1);
  state_.penStyle = style;
  record(CanvasCall::Pen);
}

void RecordingCanvas::line(int x0, int y0, int x1, int y1) {
  record(CanvasCall::Line).points = {{x0, y0}, {x1, y1}};
}

void RecordingCanvas::polyline(const Point* points, int count) {
  if (!points || count <= 0) return;
  record(CanvasCall::Polyline).points.assign(points, points + count);
}

void RecordingCanvas::setPixel(int x, int y, ColorRef colour) {
  CanvasCall& c = record(CanvasCall::Pixel);
  c.points = {{x, y}};
  c.colour = colour;
}

void RecordingCanvas::frameRect(const Rect& r) { record(CanvasCall::Frame).rect = r; }

void RecordingCanvas::fillRect(const Rect& r, ColorRef colour) {
  CanvasCall& c = record(CanvasCall::Fill);
  c.rect = r;
  c.colour = colour;
}

void RecordingCanvas::setFont(const FontDesc& font) {
  state_.font = font;
  record(CanvasCall::Font);
}

void RecordingCanvas::setTextColor(ColorRef colour) {
  textColour_ = colour;
  record(CanvasCall::TextColor).colour = colour;
}

void RecordingCanvas::setTextAlign(unsigned align) {
  state_.align = align;
  record(CanvasCall::Align);
}

void RecordingCanvas::text(int x, int y, const std::string& s) {
  CanvasCall& c = record(CanvasCall::Text);
  c.points = {{x, y}};
  c.text = s;
  c.colour = textColour_;
}

Size RecordingCanvas::textExtent(const std::string& s) {
  const int h = state_.font.height ? std::abs(state_.font.height) : 16;
  const int w = state_.font.width > 0 ? state_.font.width : std::max(h / 2, 1);
  return {w * int(s.size()), h};
}

void RecordingCanvas::setClip(const Rect& r) {
  state_.clipped = true;
  state_.clip = r;
  record(CanvasCall::Clip).rect = r;
}

void RecordingCanvas::clearClip() {
  state_.clipped = false;
  state_.clip = {};
  record(CanvasCall::ClipOff);
}

void RecordingCanvas::drawBitmap(const IndexedBitmap& bitmap, const Rect& source, const Rect& target) {
  CanvasCall& c = record(CanvasCall::Bitmap);
  c.rect = target;
  c.source = source;
  c.bitmapWidth = bitmap.width();
  c.bitmapHeight = bitmap.height();
}

void RecordingCanvas::rubberBand(const Rect& r) { record(CanvasCall::RubberBand).rect = r; }

std::vector<CanvasCall> RecordingCanvas::calls(CanvasCall::Kind kind) const {
  std::vector<CanvasCall> out;
  for (const CanvasCall& c : calls_)
    if (c.kind == kind) out.push_back(c);
  return out;
}

int RecordingCanvas::count(CanvasCall::Kind kind) const {
  return int(std::count_if(calls_.begin(), calls_.end(),
                           [kind](const CanvasCall& c) { return c.kind == kind; }));
}

}  // namespace dv
