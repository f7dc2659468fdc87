// Fit Hyperbola mode of the profile window: a click on the apex of a
// diffraction fits its hyperbola (the numerics are the module's, reached
// through the window command hooks), the hyperbola is drawn over the
// image with its velocity in the status bar, and a drag on it widens or
// narrows it. Use Fitted Velocity puts the profile's fitted velocity into
// the depth axes of the version shown.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "display/profile_window.h"
#include "display/settings_pages.h"  // storedVelocity
#include "display/window_commands.h"
#include "project/fitted_velocity.h"
#include "project/messages.h"
#include "project/quv.h"
#include "project/tree_items.h"
#include "project/units.h"

namespace quv {

namespace {

// Pixels from the drawn hyperbola within which a press drags it.
constexpr int kGrab = 5;

const char* velocityUnit(const ProfileHeader& h) { return isMetric(h.unitsPerFoot) ? "m/ns" : "ft/ns"; }

// The two-way time of the pick's hyperbola `traces` from its apex, in
// samples of the version: t = sqrt(t0^2 + 4 x^2 / v^2) with times counted
// from time zero.
double hyperbolaSample(const HyperbolaPick& p, const ProfileVersion& v, double traces) {
  const double dt = v.timeIncrement;
  const double t0 = p.apexSample * dt + v.firstTime;
  const double x = traces * p.spacing;
  return (std::sqrt(t0 * t0 + 4.0 * x * x / (p.unitsPerNs * p.unitsPerNs)) - v.firstTime) / dt;
}

}  // namespace

// --- the window ---------------------------------------------------------------------------

void CProfileWnd::setFitMode(bool on) {
  fitMode_ = on && version_->kind == kTimeVersion;
  if (on && !fitMode_) msg(0, "%s", kMsgFitHyperbolaTimeOnly);
  if (fitMode_) armTimeZero(false);
  const dv::CursorShape c = fitMode_ ? dv::CursorShape::Cross : dv::CursorShape::Arrow;
  normal_.setCursor(c);
  if (menu_) menu_->check(ID_N_FIT_HYPERBOLA, fitMode_);
  if (!fitMode_) setStatus(2, "");
  showHyperbolaStatus();
  normal_.repaint();
}

bool CProfileWnd::fitHyperbolaAt(int trace, int sample) {
  auto fit = windowCommands().fitHyperbola;
  HyperbolaPick p;
  if (!fit || !fit(item_, *version_, trace, sample, p)) return false;
  hyperbola_ = p;
  showHyperbolaStatus();
  normal_.repaint();
  return true;
}

void CProfileWnd::dragHyperbolaTo(double trace, double sample) {
  HyperbolaPick& p = hyperbola_;
  if (!p.valid()) return;
  // The velocity that takes the hyperbola through the point: from
  // t^2 = t0^2 + 4 x^2 / v^2, v = 2 |x| / sqrt(t^2 - t0^2). Points on the
  // apex trace or above the apex leave it as it is.
  const ProfileVersion& v = *version_;
  const double t0 = p.apexSample * v.timeIncrement + v.firstTime;
  const double t = sample * v.timeIncrement + v.firstTime;
  const double x = std::fabs(trace - p.trace) * p.spacing;
  if (!(x > 0) || !(t > t0)) return;
  const double units = 2.0 * x / std::sqrt(t * t - t0 * t0);
  p.velocity = float(p.velocity * units / p.unitsPerNs);
  p.unitsPerNs = units;
  setFittedVelocity(item_, p.velocity);
  showHyperbolaStatus();
  normal_.repaint();
}

void CProfileWnd::showHyperbolaStatus() {
  if (!fitMode_) return;
  if (!hyperbola_.valid()) {
    setStatus(2, kMsgFitHyperbolaClick);
    return;
  }
  char b[96];
  std::snprintf(b, sizeof b, "v=%.4f %s", hyperbola_.velocity, velocityUnit(header()));
  setStatus(2, b);
}

void CProfileWnd::useFittedVelocity() {
  const std::string name = treeName(item_.tree);
  const float fitted = fittedVelocity(item_);
  if (!(fitted > 0)) {
    msg(0, kMsgNoFittedVelocity, name.c_str());
    return;
  }
  if (version_->kind != kTimeVersion) {
    msg(0, "%s", kMsgFitHyperbolaTimeOnly);
    return;
  }
  // Held in feet per ns, as the settings sheets store a typed velocity.
  const float feet = storedVelocity(fitted, header().unitsPerFoot);
  version_->normal.velocity = version_->presentation.velocity = feet;
  computeValueTables(*version_);
  msg(0, kMsgFittedVelocityUsed, name.c_str(), version_->label().c_str(), double(fitted), velocityUnit(header()));
  refresh();
}

// --- the normal view ------------------------------------------------------------------------

double NormalView::traceAtColumn(double x) const {
  const DisplaySettings& s = w_.version()->normal;
  const int pixels = image_.right - image_.left, span = s.lastTrace - s.firstTrace;
  return pixels > 1 ? s.firstTrace + (x - image_.left) * span / (pixels - 1) : s.firstTrace;
}

double NormalView::sampleAtRow(double y) const {
  const DisplaySettings& s = w_.version()->normal;
  const int pixels = image_.bottom - image_.top, span = s.lastSample - s.firstSample;
  return pixels > 1 ? s.firstSample + (y - image_.top) * span / (pixels - 1) : s.firstSample;
}

std::vector<dv::Point> NormalView::hyperbolaPoints() const {
  std::vector<dv::Point> points;
  const ProfileVersion* v = w_.version();
  const HyperbolaPick& p = w_.hyperbola();
  if (!v || !w_.fitMode() || !p.valid()) return points;
  const DisplaySettings& s = v->normal;
  const int rows = image_.bottom - image_.top, span = s.lastSample - s.firstSample;
  if (rows < 2 || span < 1) return points;
  for (int x = image_.left; x < image_.right; ++x) {
    const double sample = hyperbolaSample(p, *v, traceAtColumn(x) - p.trace);
    const double y = image_.top + (sample - s.firstSample) * (rows - 1) / span;
    if (y >= image_.top && y < image_.bottom) points.push_back({x, int(std::lround(y))});
  }
  return points;
}

void NormalView::fitPress(int x, int y) {
  const ProfileVersion* v = w_.version();
  const HyperbolaPick& p = w_.hyperbola();
  if (p.valid()) {
    // Near the drawn curve, away from the apex trace: a drag.
    const double trace = traceAtColumn(x);
    if (std::fabs(trace - p.trace) >= 1.0) {
      const DisplaySettings& s = v->normal;
      const int rows = image_.bottom - image_.top, span = std::max(s.lastSample - s.firstSample, 1);
      const double curve = image_.top + (hyperbolaSample(p, *v, trace - p.trace) - s.firstSample) * (rows - 1) / span;
      if (std::fabs(curve - y) <= kGrab) {
        draggingHyperbola_ = true;
        setCapture(true);
        return;
      }
    }
  }
  w_.fitHyperbolaAt(maps_.columns[size_t(x)], maps_.rows[size_t(y)]);
}

}  // namespace quv
