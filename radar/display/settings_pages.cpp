// The page pattern shared by every display settings page, and the pages of
// the normal display: "Traces", "Horizontal Axis" and "Vertical Axis"
// (with their presentation additions: the traces box, the trace and value
// range, and the "Use:" choice of what sets the box's width and height).
#include "display/settings_pages.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "display/gain.h"
#include "display/settings_page_ids.h"
#include "dv/system.h"
#include "dv/ui.h"
#include "project/messages.h"
#include "project/quv.h"
#include "project/units.h"

namespace quv {

// --- rules -----------------------------------------------------------------------------

FieldRule replaceBelow(double min, double fallback) {
  return [=](double& v) { return v < min ? (v = fallback, true) : false; };
}
FieldRule replaceNotPositive(std::function<double()> fallback) {
  return [f = std::move(fallback)](double& v) { return v <= 0 ? (v = f(), true) : false; };
}
FieldRule replaceOutside(double lo, double hi, double fallback) {
  return [=](double& v) { return v < lo || v > hi ? (v = fallback, true) : false; };
}
FieldRule clampTo(double lo, double hi) {
  return [=](double& v) {
    if (v < lo) return v = lo, true;
    if (v > hi) return v = hi, true;
    return false;
  };
}

double shownVelocity(float feetPerNs, float unitsPerFoot) {
  return isMetric(unitsPerFoot) ? double(feetPerNs) * kMetresPerFoot : double(feetPerNs);
}
float storedVelocity(double shown, float unitsPerFoot) {
  return static_cast<float>(isMetric(unitsPerFoot) ? shown * kFeetPerMetre : shown);
}

bool needsNewByteTraces(const DisplaySettings& a, const DisplaySettings& b) {
  return a.gainType != b.gainType || a.constantGain != b.constantGain || a.agcWindow != b.agcWindow ||
         a.sphericalV != b.sphericalV || a.sphericalA != b.sphericalA || a.paletteType != b.paletteType ||
         a.numColours != b.numColours || a.firstTrace != b.firstTrace || a.lastTrace != b.lastTrace ||
         a.firstSample != b.firstSample || a.lastSample != b.lastSample;
}

// --- the page pattern --------------------------------------------------------------------

struct SettingsPage::Binding {
  std::function<void(SettingsPage&)> fill, read;
  int command = 0;
  std::function<void(SettingsPage&)> pressed;
};

SettingsPage::SettingsPage(int resourceId, const std::string& caption, DisplaySettings& record,
                           const SheetTarget& target)
    : Dialog(resourceId, caption, kPageWidth, kPageHeight), s_(record), target_(target) {}

std::vector<std::string>& SettingsPage::warnings() {
  static std::vector<std::string> lines;
  return lines;
}

void SettingsPage::warn(const char* text) {
  warnings().push_back(text);
  msg(0, "%s", text);
}

void SettingsPage::setNumber(int id, const char* format, double v) {
  dv::CNumericScope c;
  char buf[64];
  std::snprintf(buf, sizeof buf, format, v);
  setText(id, buf);
}

double SettingsPage::number(int id) const {
  // Decimal conversion of the text as typed: a comma counts as the decimal
  // point, what is not a number reads as 0.
  std::string t = text(id);
  std::replace(t.begin(), t.end(), ',', '.');
  dv::CNumericScope c;
  const double v = std::strtod(t.c_str(), nullptr);
  return std::isfinite(v) ? v : 0.0;
}

bool SettingsPage::onInitDialog() {
  for (auto& b : bindings_)
    if (b->fill) b->fill(*this);
  fillMore();
  return true;
}

void SettingsPage::onOK() {
  for (auto& b : bindings_)
    if (b->read) b->read(*this);
  readMore();
  endDialog(dv::IDOK);
}

void SettingsPage::onCommand(int id, int notify) {
  if (notify == dv::BN_CLICKED) {
    for (auto& b : bindings_)
      if (b->command == id && b->pressed) {
        b->pressed(*this);
        changed();
        return;
      }
    if (commandMore(id)) {
      changed();
      return;
    }
  }
  Dialog::onCommand(id, notify);
}

void SettingsPage::bindRadios(int32_t* field, std::vector<std::pair<int, int>> idValue) {
  auto b = std::make_shared<Binding>();
  b->fill = [field, idValue](SettingsPage& p) {
    for (auto& [id, value] : idValue) p.setCheck(id, *field == value ? 1 : 0);
  };
  b->read = [field, idValue](SettingsPage& p) {
    for (auto& [id, value] : idValue)
      if (p.check(id)) *field = value;
  };
  bindings_.push_back(std::move(b));
}

void SettingsPage::bindCheck(int id, int32_t* field) {
  auto b = std::make_shared<Binding>();
  b->fill = [=](SettingsPage& p) { p.setCheck(id, *field ? 1 : 0); };
  b->read = [=](SettingsPage& p) { *field = p.check(id) ? 1 : 0; };
  bindings_.push_back(std::move(b));
}

void SettingsPage::bindInt(int id, int32_t* field, FieldRule rule, const char* warning) {
  auto b = std::make_shared<Binding>();
  b->fill = [=](SettingsPage& p) { p.setNumber(id, "%.0f", *field); };
  b->read = [=](SettingsPage& p) {
    double v = std::trunc(p.number(id));
    v = std::clamp(v, -2147483647.0, 2147483647.0);
    if (rule && rule(v) && warning) warn(warning);
    *field = static_cast<int32_t>(v);
  };
  bindings_.push_back(std::move(b));
}

void SettingsPage::bindFloat(int id, float* field, const char* format, FieldRule rule, const char* warning,
                             double shownFactor) {
  auto b = std::make_shared<Binding>();
  b->fill = [=](SettingsPage& p) { p.setNumber(id, format, double(*field) * shownFactor); };
  b->read = [=](SettingsPage& p) {
    double v = p.number(id);
    if (rule && rule(v) && warning) warn(warning);
    *field = static_cast<float>(v / shownFactor);
  };
  bindings_.push_back(std::move(b));
}

void SettingsPage::bindText(int id, std::string* field) {
  auto b = std::make_shared<Binding>();
  b->fill = [=](SettingsPage& p) { p.setText(id, *field); };
  b->read = [=](SettingsPage& p) { *field = p.text(id); };
  bindings_.push_back(std::move(b));
}

void SettingsPage::bindFont(int buttonId, LogFont* font, float* points, ColorRef* colour, const char* warning) {
  auto b = std::make_shared<Binding>();
  b->command = buttonId;
  b->pressed = [=](SettingsPage&) {
    int chosen = int(std::lround(*points));
    if (!pickFont(*font, chosen, colour)) return;
    double size = chosen;
    if (clampTo(6, 72)(size) && warning) warn(warning);
    *points = static_cast<float>(size);
    // The stored height is what the screen draws the size with.
    font->height = -static_cast<int32_t>(std::trunc(kScreenDpi * size / 72.0));
  };
  bindings_.push_back(std::move(b));
}

bool SettingsPage::pickFont(LogFont& font, int& points, ColorRef* colour) {
  dv::FontChoice f;
  f.face = faceName(font);
  f.points = points;
  f.weight = font.weight;
  f.italic = font.italic != 0;
  f.underline = font.underline != 0;
  f.strikeOut = font.strikeOut != 0;
  if (colour) f.colour = *colour;
  if (!dv::ui().chooseFont(f)) return false;
  setFaceName(font, f.face);
  font.weight = f.weight;
  font.italic = f.italic;
  font.underline = f.underline;
  font.strikeOut = f.strikeOut;
  if (colour) *colour = f.colour;
  points = f.points;
  return true;
}

void SettingsPage::bindColour(int buttonId, ColorRef* colour) {
  auto b = std::make_shared<Binding>();
  b->command = buttonId;
  b->pressed = [=](SettingsPage&) {
    dv::ColorRef c = *colour;
    if (dv::ui().chooseColor(c)) *colour = c;
  };
  bindings_.push_back(std::move(b));
}

// --- layout helpers ------------------------------------------------------------------------

namespace {

// One labelled edit on a line: the label at x, the edit after it.
void labelledEdit(dv::Dialog& d, int id, const char* label, int x, int y, int labelWidth = 60,
                  int editWidth = 40) {
  d.addStatic(-1, label, {x, y + 2, x + labelWidth, y + 12});
  d.addEdit(id, {x + labelWidth + 2, y, x + labelWidth + 2 + editWidth, y + 12});
}

const char* pageUnitLabel(const DisplaySettings& s) { return s.unitsFactor > 1.5f ? "mm" : "in"; }

}  // namespace

// --- "Traces" -----------------------------------------------------------------------------

namespace {

class TracesPage : public SettingsPage {
 public:
  TracesPage(DisplaySettings& s, const SheetTarget& t) : SettingsPage(kTracesPageId, "Traces", s, t) {
    add(dv::ControlKind::Group, -1, "Gain:", {7, 7, 125, 142});
    addRadio(IDC_GAIN_TRACE_MAX, "Trace Max.", {14, 18, 120, 28}, true);
    addRadio(IDC_GAIN_FILE_MAX, "File Max.", {14, 30, 120, 40});
    addRadio(IDC_GAIN_CONSTANT, "Constant", {14, 42, 120, 52});
    addRadio(IDC_GAIN_AGC, "A. G. C.", {14, 54, 120, 64});
    addRadio(IDC_GAIN_SPHERICAL, "Spherical/Exponential", {14, 66, 120, 76});
    labelledEdit(*this, IDC_GAIN_CONSTANT_VALUE, "Gain:", 14, 82, 62, 40);
    labelledEdit(*this, IDC_GAIN_AGC_WINDOW, "Window (%):", 14, 96, 62, 40);
    labelledEdit(*this, IDC_GAIN_V, "V:", 14, 110, 62, 40);
    labelledEdit(*this, IDC_GAIN_A, "a:", 14, 124, 62, 40);
    add(dv::ControlKind::Group, -1, "Color Palette:", {132, 7, 243, 66});
    addRadio(IDC_PAL_NONE, "None", {139, 18, 240, 28}, true);
    addRadio(IDC_PAL_GRAY, "Gray Scale", {139, 30, 240, 40});
    addRadio(IDC_PAL_RWB, "Red-White-Blue", {139, 42, 240, 52});
    addRadio(IDC_PAL_USER, "User Defined", {139, 54, 240, 64});
    add(dv::ControlKind::Group, -1, "Wiggles:", {132, 70, 243, 142});
    labelledEdit(*this, IDC_WIGGLE_EVERY, "Every nth Trace:", 139, 80, 58, 36);
    labelledEdit(*this, IDC_WIGGLE_DEFLECTION, "Deflection:", 139, 94, 58, 36);
    addCheck(IDC_WIGGLE_LINES, "Wiggle Lines", {139, 108, 240, 118});
    addCheck(IDC_FILL_LEFT, "Fill Left", {139, 120, 190, 130});
    addCheck(IDC_FILL_RIGHT, "Fill Right", {192, 120, 240, 130});
    addButton(IDC_WIGGLE_COLOUR, "Wiggle Color", {7, 148, 70, 162});

    bindRadios(&s.gainType, {{IDC_GAIN_TRACE_MAX, kGainTraceMax},
                             {IDC_GAIN_FILE_MAX, kGainFileMax},
                             {IDC_GAIN_CONSTANT, kGainConstant},
                             {IDC_GAIN_AGC, kGainAgc},
                             {IDC_GAIN_SPHERICAL, kGainSpherical}});
    bindFloat(IDC_GAIN_CONSTANT_VALUE, &s.constantGain, "%.2f");
    bindFloat(IDC_GAIN_AGC_WINDOW, &s.agcWindow, "%.2f", replaceOutside(0, 100, 25.0), kMsgWarnAgcWindow);
    bindFloat(IDC_GAIN_V, &s.sphericalV, "%.3f");
    bindFloat(IDC_GAIN_A, &s.sphericalA, "%.3f");
    bindRadios(&s.paletteType, {{IDC_PAL_NONE, 0}, {IDC_PAL_GRAY, 1}, {IDC_PAL_RWB, 2}, {IDC_PAL_USER, 3}});
    bindInt(IDC_WIGGLE_EVERY, &s.wiggleEvery, replaceBelow(1, 5), kMsgWarnWiggleEvery);
    bindFloat(IDC_WIGGLE_DEFLECTION, &s.wiggleDeflection, "%.2f");
    bindCheck(IDC_WIGGLE_LINES, &s.wiggleLines);
    bindCheck(IDC_FILL_LEFT, &s.fillLeft);
    bindCheck(IDC_FILL_RIGHT, &s.fillRight);
    bindColour(IDC_WIGGLE_COLOUR, &s.wiggleColour);

    if (t.presentation) {
      // The traces box in page units.
      add(dv::ControlKind::Group, -1, "Traces Box:", {80, 146, 243, 186});
      const char* u = pageUnitLabel(s);
      labelledEdit(*this, IDC_BOX_X, "X:", 86, 156, 10, 30);
      labelledEdit(*this, IDC_BOX_Y, "Y:", 130, 156, 10, 30);
      labelledEdit(*this, IDC_BOX_WIDTH, "Width:", 174, 156, 24, 30);
      addStatic(IDC_BOX_UNITS, u, {232, 158, 242, 168});
      labelledEdit(*this, IDC_BOX_HEIGHT, "Height:", 174, 168, 24, 30);
    }
  }

 protected:
  void fillMore() override {
    if (!target_.presentation) return;
    const PageElement& box = s_.elements[kTracesBox];
    const double f = s_.unitsFactor;
    setNumber(IDC_BOX_X, "%.2f", box.left * f);
    setNumber(IDC_BOX_Y, "%.2f", box.top * f);
    setNumber(IDC_BOX_WIDTH, "%.2f", (box.right - box.left) * f);
    setNumber(IDC_BOX_HEIGHT, "%.2f", (box.bottom - box.top) * f);
  }
  void readMore() override {
    // A palette with colours shows 64 of them.
    if (s_.paletteType != 0) s_.numColours = 64;
    if (!target_.presentation) return;
    PageElement& box = s_.elements[kTracesBox];
    const double f = s_.unitsFactor > 0 ? s_.unitsFactor : 1.0;
    double w = number(IDC_BOX_WIDTH) / f, h = number(IDC_BOX_HEIGHT) / f;
    const DefaultsValues fallback;
    const DefaultsValues& d = target_.values ? *target_.values : fallback;
    if (w <= 0) warn(kMsgWarnTracesWidth), w = d.boxWidth;
    if (h <= 0) warn(kMsgWarnTracesHeight), h = d.boxHeight;
    box.left = float(number(IDC_BOX_X) / f);
    box.top = float(number(IDC_BOX_Y) / f);
    box.right = box.left + float(w);
    box.bottom = box.top + float(h);
  }
};

}  // namespace

std::unique_ptr<SettingsPage> makeTracesPage(DisplaySettings& s, const SheetTarget& t) {
  return std::make_unique<TracesPage>(s, t);
}

}  // namespace quv
