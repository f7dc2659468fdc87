// What the raw data window draws around and over its image, on the screen
// after the bitmap: the trace-number axis on top (five values), the time
// axis on the left (a round step chosen from the shown time range) and a
// dotted line at every marked trace. Positions follow the image rectangle
// [left, right) x [top, bottom) of the window; fh and fv are the pixel
// heights of the trace-number and time axis fonts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dv/canvas.h"

namespace quv {

// The step between time values: the largest of 5e8, 1e8, 5e7, 1e7, ...,
// 10, 5, 1, 0.5, 0.1, 0.05 that does not exceed half the shown range, and
// 0.01 when the half range is below 0.05.
double rawTimeStep(double halfRange);

// The times written on the left axis, top to bottom: tmin, every multiple
// of the step strictly between tmin and tmax, then tmax. A multiple that
// only differs from tmin or tmax by rounding (a millionth of the step) is
// left out, so no value is written twice. A range that is empty or not a
// number gives tmin alone.
std::vector<double> rawTimeValues(double tmin, double tmax);

// The trace numbers (counted from 1) written on the top axis, at
// k = 0..4: trunc((last - first) * k / 4 + first + 0.5) + 1.
std::vector<int> rawTraceValues(int firstTrace, int lastTrace);

struct RawAxisFonts {
  dv::FontDesc trace, time;
  int traceHeight = 13, timeHeight = 13;  // fh, fv in pixels
  dv::ColorRef traceColour = 0, timeColour = 0;
};

// Top axis: "Trace #" centred above the image with its bottom at
// top - 5*fh/2 - 2; the five values centred at x = trunc(k * (right - left - 1) / 4
// + left + 0.5) with their bottom at top - fh/2 - 2, each with a tick from
// top - 2 up to that line. The image reaches the scroll bar, so the last
// value would be half hidden under it: a value that would pass
// `visibleRight` moves left until it ends there (its tick stays).
void drawRawTraceAxis(dv::Canvas& canvas, const dv::Rect& image, int firstTrace, int lastTrace,
                      const RawAxisFonts& fonts, int visibleRight);

// Left axis: "Time (ns)" right-aligned at x = left - fv/2 - 2 on the
// baseline of the top title; each value of rawTimeValues written with
// "%.2f", right-aligned at that x and centred on its row
// trunc((t - tmin) * (bottom - top - 1) / (tmax - tmin) + top + 0.5), with
// a tick from left - 2 to the text. A value whose text would reach below
// `visibleBottom` (the last one, under the horizontal scroll bar) moves up
// to end there.
void drawRawTimeAxis(dv::Canvas& canvas, const dv::Rect& image, double tmin, double tmax,
                     const RawAxisFonts& fonts, int visibleBottom);

// A dotted black vertical line across the image at
// x = (right - left - 1) * (trace - first) / (last - first) + left for every
// trace from first to last whose flag is set.
void drawRawMarkerLines(dv::Canvas& canvas, const dv::Rect& image, int firstTrace, int lastTrace,
                        const std::vector<uint8_t>& marked);

}  // namespace quv
