// The "Horizontal Axis" and "Vertical Axis" pages, normal and presentation:
// what the values are, how many, their format and where they are hidden,
// the axis font, and on the presentation pages the range shown and which
// of size, per-unit value and scale sets the traces box.
#include <algorithm>
#include <cmath>

#include "display/settings_page_ids.h"
#include "display/settings_pages.h"
#include "project/messages.h"
#include "project/units.h"

namespace quv {

namespace {

// The per-unit value as shown: per inch, or per centimetre with millimetre units.
constexpr double kInchesPerCentimetre = 0.3937;
bool millimetres(const DisplaySettings& s) { return s.unitsFactor > 1.5f; }

// The value of sample j on the version's vertical axis, and the sample of a value.
struct SampleAxis {
  double first = 0, step = 1;
  int samples = 0;
  double at(int j) const { return first + step * j; }
  int sampleOf(double value) const { return step != 0 ? int(std::lround((value - first) / step)) : 0; }
};

SampleAxis sampleAxis(const DisplaySettings& s, const ProfileVersion* v) {
  SampleAxis a;
  if (!v) return a;
  a.samples = v->samples;
  if (s.vAxisType == 0) return a;
  switch (v->kind) {
    case kDepthVersion: a.first = v->firstDepth, a.step = v->depthIncrement; break;
    case kElevationVersion: a.first = v->firstElevation, a.step = v->elevationIncrement; break;
    default: a.first = v->firstTime, a.step = v->timeIncrement; break;
  }
  if (a.step == 0) a = SampleAxis{0, 1, v->samples};
  return a;
}

double groundDistance(const ProfileVersion* v, int first, int last) {
  if (!v || !v->header) return 0;
  const auto& e = v->header->easting;
  const auto& n = v->header->northing;
  if (first < 0 || last < 0 || size_t(first) >= e.size() || size_t(last) >= e.size() || n.size() != e.size())
    return 0;
  return std::hypot(double(e[size_t(last)]) - e[size_t(first)], double(n[size_t(last)]) - n[size_t(first)]);
}

// Feet of ground (or depth) per page inch of the vertical axis, before the height.
double verticalSpan(const DisplaySettings& s, const ProfileVersion* v) {
  if (!v) return 0;
  const double samples = double(s.lastSample - s.firstSample);
  switch (v->kind) {
    case kDepthVersion: return samples * v->depthIncrement * 12.0;
    case kElevationVersion: return std::fabs(samples * v->elevationIncrement * 12.0);
    default: return samples * s.velocity * v->timeIncrement * 6.0;
  }
}

}  // namespace

BoxScales boxScales(const DisplaySettings& s, const ProfileVersion* v) {
  BoxScales b;
  const PageElement& box = s.elements[kTracesBox];
  const double w = box.right - box.left, h = box.bottom - box.top;
  const double perUnit = millimetres(s) ? kInchesPerCentimetre : 1.0;
  const float upf = v && v->header ? v->header->unitsPerFoot : 1.0f;
  if (w > 0) {
    b.tracesPerUnit = double(s.lastTrace - s.firstTrace) / w * perUnit;
    b.horizontalScale = groundDistance(v, s.firstTrace, s.lastTrace) * 12.0 / upf / w;
  }
  if (h > 0) {
    b.samplesPerUnit = double(s.lastSample - s.firstSample) / h * perUnit;
    b.depthScale = verticalSpan(s, v) / h;
  }
  return b;
}

namespace {

class AxisPage : public SettingsPage {
 public:
  AxisPage(DisplaySettings& s, const SheetTarget& t, bool vertical)
      : SettingsPage(vertical ? kVAxisPageId : kHAxisPageId, vertical ? "Vertical Axis" : "Horizontal Axis", s,
                     t),
        vertical_(vertical) {
    const bool v = vertical;
    add(dv::ControlKind::Group, -1, "Values Are:", {7, 7, 145, 62});
    addRadio(IDC_AXIS_TYPE0, v ? "Sample #" : "Trace #", {14, 18, 140, 28}, true);
    addRadio(IDC_AXIS_TYPE1, v ? "Time" : "Easting", {14, 30, 80, 40});
    addRadio(IDC_AXIS_TYPE2, v ? "Depth or Elevation" : "Northing", {14, 42, v ? 140 : 80, 52});
    if (!v) {
      addCheck(IDC_WITH_OTHER1, "With Northing", {82, 30, 143, 40});
      addCheck(IDC_WITH_OTHER2, "With Easting", {82, 42, 143, 52});
    } else {
      addStatic(-1, "Velocity:", {14, 66, 50, 76});
      addEdit(IDC_VELOCITY, {52, 64, 92, 76});
      addStatic(IDC_VELOCITY_UNITS, isMetric(t.unitsPerFoot) ? "m/ns" : "ft/ns", {95, 66, 125, 76});
    }
    add(dv::ControlKind::Group, -1, "How Many Values:", {152, 7, 293, 104});
    addRadio(IDC_MODE_FIXED, "Fixed Number", {158, 18, 290, 28}, true);
    addRadio(IDC_MODE_NTH, v ? "Every nth Sample" : "Every nth Trace", {158, 30, 290, 40});
    addRadio(IDC_MODE_INCREMENT, "Increment", {158, 42, 290, 52});
    edit(IDC_FIXED_NUMBER, "Number of Values:", 158, 56, 80);
    edit(IDC_EVERY_NTH, "Every nth:", 158, 70, 80);
    edit(IDC_INCREMENT, "Coordinate Increment:", 158, 84, 80);
    edit(IDC_DECIMALS, "Decimals:", 14, 82, 50);
    edit(IDC_MINORS, "Minors/Value:", 14, 96, 50);
    addCheck(IDC_HIDE_FIRST, "Hide First", {14, 110, 70, 120});
    addCheck(IDC_HIDE_LAST, "Hide Last", {75, 110, 140, 120});
    const char* nearSide = v ? "Left" : "Top";
    const char* farSide = v ? "Right" : "Bottom";
    hideGroup(nearSide, IDC_NEAR_VALUES, 7);
    hideGroup(farSide, IDC_FAR_VALUES, 83);
    if (v) {
      addCheck(IDC_HIDE_MAJOR_GRID, "Hide Major Grid Lines", {158, 110, 290, 120});
      addCheck(IDC_HIDE_MINOR_GRID, "Hide Minor Grid Lines", {158, 122, 290, 132});
    } else {
      addCheck(IDC_HIDE_NODES, "Hide Geometry Nodes", {158, 110, 290, 120});
    }
    addButton(IDC_AXIS_FONT, "Select Font", {163, 136, 225, 150});

    int32_t* type = v ? &s.vAxisType : &s.hAxisType;
    bindRadios(type, {{IDC_AXIS_TYPE0, 0}, {IDC_AXIS_TYPE1, 1}, {IDC_AXIS_TYPE2, 2}});
    if (!v) {
      bindCheck(IDC_WITH_OTHER1, &s.eastingWithNorthing);
      bindCheck(IDC_WITH_OTHER2, &s.northingWithEasting);
    }
    bindRadios(v ? &s.vTickMode : &s.hTickMode, {{IDC_MODE_FIXED, 0}, {IDC_MODE_NTH, 1}, {IDC_MODE_INCREMENT, 2}});
    bindInt(IDC_FIXED_NUMBER, v ? &s.vFixedNumber : &s.hFixedNumber, replaceBelow(2, 5),
            v ? kMsgWarnVFixed : kMsgWarnHFixed);
    bindInt(IDC_EVERY_NTH, v ? &s.everyNthSample : &s.everyNthTrace, replaceBelow(1, 100),
            v ? kMsgWarnVEveryNth : kMsgWarnHEveryNth);
    bindFloat(IDC_INCREMENT, v ? &s.vCoordIncrement : &s.hCoordIncrement, "%.2f",
              replaceNotPositive([] { return 100.0; }), v ? kMsgWarnVIncrement : kMsgWarnHIncrement);
    bindInt(IDC_DECIMALS, v ? &s.vDecimals : &s.hDecimals, clampTo(0, 6), v ? kMsgWarnVDecimals : kMsgWarnHDecimals);
    bindInt(IDC_MINORS, v ? &s.vMinors : &s.hMinors, replaceBelow(1, 5), v ? kMsgWarnVMinors : kMsgWarnHMinors);
    bindCheck(IDC_HIDE_FIRST, v ? &s.vHideFirst : &s.hHideFirst);
    bindCheck(IDC_HIDE_LAST, v ? &s.vHideLast : &s.hHideLast);
    bindCheck(IDC_NEAR_VALUES, v ? &s.vLeftValues : &s.hTopValues);
    bindCheck(IDC_NEAR_MAJOR, v ? &s.vLeftMajor : &s.hTopMajor);
    bindCheck(IDC_NEAR_MINOR, v ? &s.vLeftMinor : &s.hTopMinor);
    bindCheck(IDC_FAR_VALUES, v ? &s.vRightValues : &s.hBottomValues);
    bindCheck(IDC_FAR_MAJOR, v ? &s.vRightMajor : &s.hBottomMajor);
    bindCheck(IDC_FAR_MINOR, v ? &s.vRightMinor : &s.hBottomMinor);
    if (v) {
      bindCheck(IDC_HIDE_MAJOR_GRID, &s.hideMajorGrid);
      bindCheck(IDC_HIDE_MINOR_GRID, &s.hideMinorGrid);
    } else {
      bindCheck(IDC_HIDE_NODES, &s.hideGeometryNodes);
    }
    bindFont(IDC_AXIS_FONT, v ? &s.vFont : &s.hFont, v ? &s.vFontSize : &s.hFontSize,
             v ? &s.vTextColour : &s.hTextColour, v ? kMsgWarnVFont : kMsgWarnHFont);

    if (t.presentation) addPresentationControls();
  }

 protected:
  void fillMore() override {
    if (vertical_) setNumber(IDC_VELOCITY, "%.3f", shownVelocity(s_.velocity, target_.unitsPerFoot));
    if (!target_.presentation) return;
    const bool mm = millimetres(s_);
    setText(IDC_PER_UNIT_LABEL, vertical_ ? (mm ? "Samples/cm:" : "Samples/in:") : (mm ? "Traces/cm:" : "Traces/in:"));
    setText(IDC_SIZE_UNITS, mm ? "mm" : "in");
    if (target_.version) {
      if (vertical_) {
        const SampleAxis a = sampleAxis(s_, target_.version);
        setNumber(IDC_RANGE_FIRST, "%.2f", a.at(s_.firstSample));
        setNumber(IDC_RANGE_LAST, "%.2f", a.at(s_.lastSample));
      } else {
        setNumber(IDC_RANGE_FIRST, "%.0f", s_.firstTrace);
        setNumber(IDC_RANGE_LAST, "%.0f", s_.lastTrace);
      }
    }
    const PageElement& box = s_.elements[kTracesBox];
    const double size = (vertical_ ? box.bottom - box.top : box.right - box.left) * s_.unitsFactor;
    setNumber(IDC_SIZE, "%.2f", size);
    shownSize_ = text(IDC_SIZE);
    double perUnit, scale;
    if (target_.version) {
      const BoxScales b = boxScales(s_, target_.version);
      perUnit = vertical_ ? b.samplesPerUnit : b.tracesPerUnit;
      scale = vertical_ ? b.depthScale : b.horizontalScale;
    } else {
      perUnit = vertical_ ? values().samplesPerUnit : values().tracesPerUnit;
      scale = vertical_ ? values().depthScale : values().horizontalScale;
    }
    setNumber(IDC_PER_UNIT, "%.2f", perUnit);
    setNumber(IDC_SCALE, "%.0f", std::trunc(scale));
    const int use = vertical_ ? values().verticalUse : values().horizontalUse;
    checkRadio(use == 1 ? IDC_USE_PER_UNIT : use == 2 ? IDC_USE_SCALE : IDC_USE_SIZE);
  }

  void readMore() override {
    if (vertical_) {
      double shown = number(IDC_VELOCITY);
      if (shown <= 0) {
        warn(kMsgWarnVVelocity);
        s_.velocity = target_.defaults ? 0.3f : target_.defaultVelocity;
      } else {
        s_.velocity = storedVelocity(shown, target_.unitsPerFoot);
      }
    }
    if (!target_.presentation) return;
    if (target_.version) readRange();
    readUse();
  }

 private:
  void edit(int id, const char* label, int x, int y, int labelWidth) {
    addStatic(-1, label, {x, y + 2, x + labelWidth, y + 12});
    addEdit(id, {x + labelWidth + 2, y, x + labelWidth + 42, y + 12});
  }

  void hideGroup(const char* side, int firstId, int x) {
    const std::string s = side;
    add(dv::ControlKind::Group, -1, "Hide on " + s + ":", {x, 124, x + 74, 168});
    addCheck(firstId, s + " Values", {x + 5, 134, x + 73, 144});
    addCheck(firstId + 1, s + " Major Ticks", {x + 5, 144, x + 73, 154});
    addCheck(firstId + 2, s + " Minor Ticks", {x + 5, 154, x + 73, 164});
  }

  void addPresentationControls() {
    const bool v = vertical_;
    edit(IDC_RANGE_FIRST, v ? "First Value:" : "First Trace:", 7, 174, 50);
    edit(IDC_RANGE_LAST, v ? "Last Value:" : "Last Trace:", 7, 190, 50);
    if (!target_.version) {
      // The defaults have no profile behind them: the range is the whole profile.
      enable(IDC_RANGE_FIRST, false);
      enable(IDC_RANGE_LAST, false);
    }
    add(dv::ControlKind::Group, -1, "Use:", {105, 170, 293, 216});
    addRadio(IDC_USE_SIZE, v ? "Height" : "Width", {110, 180, 178, 190}, true);
    addRadio(IDC_USE_PER_UNIT, v ? "Samples per Unit" : "Traces per Unit", {110, 192, 178, 202});
    addRadio(IDC_USE_SCALE, v ? "Depth Scale" : "Scale", {110, 204, 178, 214});
    edit(IDC_SIZE, v ? "Box Height:" : "Box Width:", 180, 178, 55);
    addStatic(IDC_SIZE_UNITS, "in", {280, 180, 293, 190});
    edit(IDC_PER_UNIT, "", 180, 192, 55);
    // The per-unit label names its edit; its text follows the page units.
    controls()[controls().size() - 2].id = IDC_PER_UNIT_LABEL;
    edit(IDC_SCALE, v ? "Depth Scale 1:" : "Scale 1:", 180, 206, 55);
  }

  DefaultsValues& values() { return *target_.values; }

  void readRange() {
    if (vertical_) {
      const SampleAxis a = sampleAxis(s_, target_.version);
      if (a.samples < 1) return;
      const double lo = std::min(a.at(0), a.at(a.samples - 1)), hi = std::max(a.at(0), a.at(a.samples - 1));
      double first = number(IDC_RANGE_FIRST), last = number(IDC_RANGE_LAST);
      if (clampTo(lo, hi)(first)) warn(kMsgWarnVFirst);
      if (clampTo(lo, hi)(last)) warn(kMsgWarnVLast);
      s_.firstSample = std::clamp(a.sampleOf(first), 0, a.samples - 1);
      s_.lastSample = std::clamp(a.sampleOf(last), 0, a.samples - 1);
    } else {
      const int traces = target_.version->traceCount();
      if (traces < 1) return;
      double first = std::trunc(number(IDC_RANGE_FIRST)), last = std::trunc(number(IDC_RANGE_LAST));
      if (clampTo(0, traces - 1)(first)) warn(kMsgWarnHFirst);
      if (clampTo(0, traces - 1)(last)) warn(kMsgWarnHLast);
      s_.firstTrace = int(first);
      s_.lastTrace = int(last);
    }
  }

  void readUse() {
    const int use = check(IDC_USE_PER_UNIT) ? 1 : check(IDC_USE_SCALE) ? 2 : 0;
    DefaultsValues& d = values();
    const DefaultsValues builtIn;
    (vertical_ ? d.verticalUse : d.horizontalUse) = use;
    const double f = s_.unitsFactor > 0 ? s_.unitsFactor : 1.0;
    const double perUnitFactor = millimetres(s_) ? kInchesPerCentimetre : 1.0;
    double size = number(IDC_SIZE) / f, perUnit = number(IDC_PER_UNIT), scale = number(IDC_SCALE);
    const double defSize = target_.defaults ? (vertical_ ? builtIn.boxHeight : builtIn.boxWidth)
                                            : (vertical_ ? d.boxHeight : d.boxWidth);
    const double defPerUnit = target_.defaults ? builtIn.tracesPerUnit : (vertical_ ? d.samplesPerUnit : d.tracesPerUnit);
    const double defScale = target_.defaults ? builtIn.horizontalScale : (vertical_ ? d.depthScale : d.horizontalScale);
    if (size <= 0) warn(vertical_ ? kMsgWarnVHeight : kMsgWarnHWidth), size = defSize;
    if (perUnit <= 0) warn(vertical_ ? kMsgWarnVPerUnit : kMsgWarnHPerUnit), perUnit = defPerUnit;
    if (scale <= 0) warn(vertical_ ? kMsgWarnVScale : kMsgWarnHScale), scale = defScale;
    if (target_.defaults) {
      (vertical_ ? d.samplesPerUnit : d.tracesPerUnit) = float(perUnit);
      (vertical_ ? d.depthScale : d.horizontalScale) = float(scale);
    }

    // The chosen value sets the box's width (height); the others follow it.
    const ProfileVersion* v = target_.version;
    double span = 0;
    if (use == 1) {
      span = vertical_ ? double(s_.lastSample - s_.firstSample) : double(s_.lastTrace - s_.firstTrace);
      if (v && span > 0) size = span / (perUnit / perUnitFactor);
    } else if (use == 2 && v) {
      const float upf = v->header ? v->header->unitsPerFoot : 1.0f;
      span = vertical_ ? verticalSpan(s_, v) : groundDistance(v, s_.firstTrace, s_.lastTrace) * 12.0 / upf;
      if (span > 0) size = span / scale;
    } else if (text(IDC_SIZE) == shownSize_ && number(IDC_SIZE) > 0) {
      // The size left as shown: what the traces page set stands.
      return;
    }
    PageElement& box = s_.elements[kTracesBox];
    if (vertical_)
      box.bottom = box.top + float(size);
    else
      box.right = box.left + float(size);
    if (target_.defaults) (vertical_ ? d.boxHeight : d.boxWidth) = float(size);
  }

  bool vertical_;
  std::string shownSize_;
};

}  // namespace

std::unique_ptr<SettingsPage> makeAxisPage(DisplaySettings& s, const SheetTarget& t, bool vertical) {
  return std::make_unique<AxisPage>(s, t, vertical);
}

}  // namespace quv
