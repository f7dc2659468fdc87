// The processing steps' table, their parameters and names, the writing of
// a processed version and the window's command with its dialog.
#include "processing/process_version.h"

#include <strings.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "dv/ui.h"
#include "processing/migration.h"
#include "processing/processing_steps.h"
#include "project/fitted_velocity.h"
#include "project/messages.h"
#include "project/profile.h"
#include "project/quv.h"
#include "project/time_zero.h"
#include "project/tree_items.h"
#include "project/units.h"

namespace quv {

double ProcessStep::get(const char* k) const {
  for (const StepParameter& p : parameters)
    if (std::string(p.key) == k) return p.value;
  return 0;
}

std::vector<ProcessStep> processSteps(float dtNs) {
  const double nyquist = dtNs > 0 ? 500.0 / dtNs : 5000.0;  // MHz
  const double low = std::round(nyquist / 20), high = std::round(nyquist / 5);
  return {
      {StepKind::Dewow, "dewow", "Dewow", true, {{"window", "Window (ns):", 10, false}}},
      {StepKind::Background, "background", "Background Removal", false,
       {{"traces", "Traces in Window (0 = whole line):", 0, true}}},
      {StepKind::BandPass, "bandpass", "Band-Pass Filter", true,
       {{"low", "Low Corner (MHz):", low, false},
        {"high", "High Corner (MHz):", high, false},
        {"order", "Order:", 4, true}}},
      {StepKind::LowPass, "lowpass", "Low-Pass Filter", true,
       {{"corner", "Corner (MHz):", high, false}, {"order", "Order:", 4, true}}},
      {StepKind::HighPass, "highpass", "High-Pass Filter", true,
       {{"corner", "Corner (MHz):", low, false}, {"order", "Order:", 4, true}}},
      {StepKind::Envelope, "envelope", "Envelope", true, {}},
      {StepKind::TimeZero, "timezero", "Time Zero from First Break", true,
       {{"fraction", "Fraction of the Largest Mean Amplitude:", 0.2, false}}},
      {StepKind::Migrate, "migrate", "Migration", true, {{"velocity", "Velocity (m/ns):", 0.1, false}}},
  };
}

ProcessStep stepFor(StepKind kind, const ProfileItem& item, const ProfileVersion& source) {
  ProcessStep step = processSteps(source.timeIncrement)[size_t(kind)];
  if (kind != StepKind::Migrate) return step;
  const float u = item.header ? item.header->unitsPerFoot : kUnitsPerFootM;
  const bool metric = isMetric(u);
  step.velocityUnit = metric ? "m/ns" : "ft/ns";
  step.parameters[0].caption = metric ? "Velocity (m/ns):" : "Velocity (ft/ns):";
  // The version's velocity is held in ft/ns.
  const double own = metric ? source.normal.velocity / kFeetPerMetre : source.normal.velocity;
  const float fitted = fittedVelocity(item);
  step.parameters[0].value = fitted > 0 ? fitted : std::round(own * 1e4) / 1e4;
  return step;
}

bool findStep(const std::string& key, float dtNs, ProcessStep& out) {
  for (ProcessStep& s : processSteps(dtNs))
    if (::strcasecmp(s.key, key.c_str()) == 0) {
      out = std::move(s);
      return true;
    }
  return false;
}

std::string stepKeys() {
  std::string keys;
  for (const ProcessStep& s : processSteps(0.1f)) keys += std::string(keys.empty() ? "" : ", ") + s.key;
  return keys;
}

std::string stepUsage(const ProcessStep& step) {
  if (step.parameters.empty()) return step.key + std::string(" takes no parameters");
  std::string usage = step.key + std::string(" takes ");
  for (size_t k = 0; k < step.parameters.size(); ++k) {
    const StepParameter& p = step.parameters[k];
    if (k) usage += " ";
    usage += std::string(p.key) + "=" + (p.integer ? "N" : "X");
  }
  return usage;
}

namespace {

// A whole number text (integer parameters) or any finite number.
bool readNumber(const std::string& text, bool integer, double& out) {
  const size_t at = text.find_first_not_of(" \t");
  if (at == std::string::npos) return false;
  char* end = nullptr;
  const double v = integer ? double(std::strtol(text.c_str() + at, &end, 10)) : std::strtod(text.c_str() + at, &end);
  while (end && (*end == ' ' || *end == '\t')) ++end;
  if (!end || *end || !std::isfinite(v)) return false;
  out = v;
  return true;
}

std::string number(double v) {
  char b[32];
  std::snprintf(b, sizeof b, "%g", v);
  return b;
}

}  // namespace

std::string assignParameters(ProcessStep& step, const std::vector<std::string>& words) {
  for (const std::string& w : words) {
    const size_t eq = w.find('=');
    const std::string key = w.substr(0, eq);
    StepParameter* p = nullptr;
    for (StepParameter& q : step.parameters)
      if (eq != std::string::npos && ::strcasecmp(q.key, key.c_str()) == 0) p = &q;
    if (!p) return "\"" + w + "\" is not a parameter of " + step.key + ": " + stepUsage(step);
    if (!readNumber(w.substr(eq + 1), p->integer, p->value))
      return "\"" + w + "\": " + p->key + " must be " + (p->integer ? "a whole number" : "a number") +
             " (" + stepUsage(step) + ")";
  }
  return {};
}

std::string parameterProblem(const ProcessStep& step, float dtNs) {
  const double nyquist = dtNs > 0 ? 500.0 / dtNs : 0.0;
  auto corner = [&](const char* key) -> std::string {
    const double f = step.get(key);
    if (!(f > 0)) return std::string(step.title) + ": the corner frequency must be above 0 MHz";
    if (nyquist > 0 && !(f < nyquist))
      return std::string(step.title) + ": the corner frequency " + number(f) +
             " MHz must lie below the Nyquist frequency of " + number(nyquist) + " MHz";
    return {};
  };
  auto order = [&]() -> std::string {
    const double n = step.get("order");
    if (n < 1 || n > 10) return std::string(step.title) + ": the order must be 1 to 10";
    return {};
  };
  std::string p;
  switch (step.kind) {
    case StepKind::Dewow:
      if (!(step.get("window") > 0)) return "Dewow: the window must be longer than 0 ns";
      return {};
    case StepKind::Background:
      // More traces than a line holds is the whole line; beyond 2^30 the count is not a trace count.
      if (step.get("traces") < 0 || step.get("traces") > double(1 << 30))
        return "Background Removal: the traces in the window must be 0 (whole line) or more";
      return {};
    case StepKind::BandPass:
      if (!(p = corner("low")).empty() || !(p = corner("high")).empty() || !(p = order()).empty()) return p;
      if (!(step.get("low") < step.get("high")))
        return "Band-Pass Filter: the low corner must lie below the high corner";
      return {};
    case StepKind::LowPass:
    case StepKind::HighPass:
      if (!(p = corner("corner")).empty() || !(p = order()).empty()) return p;
      return {};
    case StepKind::Envelope: return {};
    case StepKind::TimeZero:
      if (!(step.get("fraction") > 0 && step.get("fraction") < 1))
        return "Time Zero from First Break: the fraction must lie between 0 and 1";
      return {};
    case StepKind::Migrate:
      if (!(step.get("velocity") > 0)) return "Migration: the velocity must be above 0";
      return {};
  }
  return {};
}

std::string versionNameFor(const ProcessStep& step) {
  const std::string order = " order " + number(step.get("order"));
  switch (step.kind) {
    case StepKind::Dewow: return "dewow " + number(step.get("window")) + " ns";
    case StepKind::Background: {
      const int n = int(step.get("traces"));
      return n <= 0 ? "background whole line" : "background " + std::to_string(n) + " traces";
    }
    case StepKind::BandPass:
      return "band-pass " + number(step.get("low")) + "-" + number(step.get("high")) + " MHz" + order;
    case StepKind::LowPass: return "low-pass " + number(step.get("corner")) + " MHz" + order;
    case StepKind::HighPass: return "high-pass " + number(step.get("corner")) + " MHz" + order;
    case StepKind::Envelope: return "envelope";
    case StepKind::TimeZero: return "time zero " + number(step.get("fraction"));
    case StepKind::Migrate: return "migrated " + number(step.get("velocity")) + " " + step.velocityUnit;
  }
  return {};
}

namespace {

// The trace spacing of the version's profile in its distance units, or the
// reason migration cannot use it.
double traceSpacing(const ProfileVersion& source, std::string& problem) {
  static const std::vector<float> none;
  const ProfileHeader* h = source.header;
  double least = 0, most = 0;
  const double dx = h ? evenTraceSpacing(h->nodeTrace, h->nodeEasting, h->nodeNorthing, &least, &most) : 0;
  const char* units = h ? unitName(h->unitsPerFoot) : "m";
  const std::string name = source.item ? treeName(source.item->tree) : source.label();
  char b[400];
  if (dx < 0) {
    std::snprintf(b, sizeof b, kMsgMigrationUnevenSpacing, name.c_str(), least, most, units);
    problem = b;
  } else if (!(dx > 0)) {
    std::snprintf(b, sizeof b, kMsgMigrationNoSpacing, name.c_str());
    problem = b;
  }
  return dx;
}

// The migration velocity in the profile's distance units per ns.
double velocityInUnits(const ProcessStep& step, const ProfileVersion& source) {
  const double feet = std::string(step.velocityUnit) == "ft/ns" ? step.get("velocity")
                                                                : step.get("velocity") * kFeetPerMetre;
  return feet * (source.header ? source.header->unitsPerFoot : kUnitsPerFootM);
}

// The samples before time zero, which migration leaves out (negative: the
// first sample lies that many samples after time zero).
int samplesBeforeTimeZero(const ProfileVersion& v) {
  return v.timeIncrement > 0 ? int(std::lround(-v.firstTime / v.timeIncrement)) : 0;
}

// At most 2^27 floats (512 MiB) of transform.
constexpr long long kMaxMigrationFloats = 1LL << 27;

std::string migrationProblem(const ProcessStep& step, const ProfileVersion& source) {
  std::string problem;
  const double dx = traceSpacing(source, problem);
  if (!problem.empty()) return problem;
  const int M = source.samples - samplesBeforeTimeZero(source);
  char b[300];
  if (M < 2) {
    std::snprintf(b, sizeof b, kMsgMigrationNothingAfterTimeZero, source.label().c_str());
    return b;
  }
  const long long floats = migrationWorkFloats(source.traceCount(), M, float(dx), source.timeIncrement,
                                               float(velocityInUnits(step, source)));
  if (floats > kMaxMigrationFloats) {
    std::snprintf(b, sizeof b, kMsgMigrationTooLarge, source.label().c_str(), floats * 4 >> 20,
                  kMaxMigrationFloats * 4 >> 20);
    return b;
  }
  return {};
}

}  // namespace

std::string versionProblem(const ProcessStep& step, const ProfileVersion& source) {
  char b[160];
  if (step.needsTime && source.kind != kTimeVersion) {
    std::snprintf(b, sizeof b, kMsgVersionMustBeTimeFor, step.title);
    return b;
  }
  if (source.samples < 1 || source.traceCount() < 1) {
    std::snprintf(b, sizeof b, kMsgVersionHasNoSamplesToProcess, source.label().c_str());
    return b;
  }
  if (step.kind == StepKind::Migrate) return migrationProblem(step, source);
  return {};
}

namespace {

const float* sourceTrace(const void* context, int k) {
  const auto* v = static_cast<const ProfileVersion*>(context);
  return k >= 0 && size_t(k) < v->buffers.size() ? v->buffers[size_t(k)].get() : nullptr;
}

}  // namespace

namespace {

// The samples of a version from time zero on, trace after trace, its
// traces in memory: `before` samples (samplesBeforeTimeZero) left out, or
// when negative as many zeros put in front.
std::vector<float> sectionAfterTimeZero(const ProfileVersion& source, int before) {
  const int N = source.traceCount(), M = source.samples, Mz = M - before;
  std::vector<float> section(size_t(N) * size_t(std::max(Mz, 0)), 0.0f);
  for (int i = 0; i < N; ++i)
    if (const float* t = sourceTrace(&source, i))
      for (int j = std::max(0, -before); j < Mz && j + before < M; ++j)
        section[size_t(i) * size_t(Mz) + size_t(j)] = t[j + before];
  return section;
}

}  // namespace

ProfileVersion* processVersion(ProfileItem& item, ProfileVersion& source, const ProcessStep& step) {
  const int M = source.samples, N = source.traceCount();
  const float dt = source.timeIncrement;
  VersionConversion c;
  c.command = step.title;
  c.progressTitle = kMsgProcessingProfile;
  c.kind = step.needsTime ? kTimeVersion : source.kind;
  c.samples = M;
  std::unique_ptr<BackgroundMean> background;
  std::unique_ptr<TraceFilter> filter;
  // The whole-line steps: the section in memory while the version is made.
  std::unique_ptr<SourceTraces> held;
  std::vector<float> section;
  int before = 0, pick = -1;
  std::string name = versionNameFor(step);
  switch (step.kind) {
    case StepKind::Dewow: {
      const int window = dewowWindowSamples(float(step.get("window")), dt);
      c.trace = [=](int, const float* in, float* out) { dewowTrace(in, out, M, window); };
      break;
    }
    case StepKind::Background:
      // The source's traces are all in memory while the new version is
      // written, in ascending order: the running sums follow them.
      background = std::make_unique<BackgroundMean>(N, M, int(step.get("traces")), sourceTrace, &source);
      c.trace = [&](int i, const float* in, float* out) { background->removeFrom(i, in, out); };
      break;
    case StepKind::BandPass:
    case StepKind::LowPass:
    case StepKind::HighPass: {
      ButterworthFilter f;
      f.order = int(step.get("order"));
      if (step.kind == StepKind::BandPass) {
        f.band = FilterBand::BandPass, f.lowMHz = float(step.get("low")), f.highMHz = float(step.get("high"));
      } else if (step.kind == StepKind::LowPass) {
        f.band = FilterBand::LowPass, f.highMHz = float(step.get("corner"));
      } else {
        f.band = FilterBand::HighPass, f.lowMHz = float(step.get("corner"));
      }
      filter = std::make_unique<TraceFilter>(f, M, dt);
      c.trace = [&](int, const float* in, float* out) { filter->apply(in, out); };
      break;
    }
    case StepKind::Envelope:
      c.trace = [=](int, const float* in, float* out) { envelopeTrace(in, out, M); };
      break;
    case StepKind::TimeZero: {
      held = std::make_unique<SourceTraces>(source);
      pick = firstBreakSample(meanAbsoluteTrace(N, M, sourceTrace, &source), float(step.get("fraction")));
      if (pick < 0) {
        msg(0, kMsgProcessRefused, step.title, treeName(item.tree).c_str(), kMsgTimeZeroNoFirstBreak);
        return nullptr;
      }
      char b[64];
      std::snprintf(b, sizeof b, ", sample %i", pick);
      name += b;
      c.trace = [=](int, const float* in, float* out) { std::copy(in, in + M, out); };
      break;
    }
    case StepKind::Migrate: {
      std::string problem = migrationProblem(step, source);
      const double dx = traceSpacing(source, problem);
      if (!problem.empty()) {
        msg(0, kMsgProcessRefused, step.title, treeName(item.tree).c_str(), problem.c_str());
        return nullptr;
      }
      // Migration starts at time zero: the samples after it are migrated
      // (behind any that come before the first sample, taken as zeros),
      // those before it are written as zeros.
      held = std::make_unique<SourceTraces>(source);
      before = samplesBeforeTimeZero(source);
      const int Mz = M - before;
      section = sectionAfterTimeZero(source, before);
      {
        dv::WaitCursor wait;
        stoltMigrate(section.data(), N, Mz, float(dx), dt, float(velocityInUnits(step, source)));
      }
      c.trace = [&, Mz](int i, const float* /*in*/, float* out) {
        for (int k = 0; k < M; ++k)
          out[k] = k >= before && k - before < Mz ? section[size_t(i) * size_t(Mz) + size_t(k - before)] : 0.0f;
      };
      break;
    }
  }
  c.header = [&](ProfileVersion& made) {
    made.name = name;
    if (pick >= 0) setTimeZeroAt(made, pick);
  };
  ProfileVersion* made = convertVersion(item, source, c);
  msg(0, made ? kMsgProcessCompleted : kMsgProcessFailed, step.title, treeName(item.tree).c_str());
  return made;
}

// --- the hyperbola fit ------------------------------------------------------------------------

bool fitVersionHyperbola(ProfileItem& item, ProfileVersion& v, int trace, int sample, HyperbolaPick& out) {
  if (v.kind != kTimeVersion) {
    msg(0, "%s", kMsgFitHyperbolaTimeOnly);
    return false;
  }
  std::string problem;
  const double dx = traceSpacing(v, problem);
  const int before = samplesBeforeTimeZero(v), N = v.traceCount(), Mz = v.samples - before;
  if (!problem.empty()) {
    msg(0, "Fit Hyperbola: %s", problem.c_str());
    return false;
  }
  auto notFound = [&]() {
    msg(0, kMsgHyperbolaNotFound, trace + 1, sample * v.timeIncrement + v.firstTime);
    return false;
  };
  if (trace < 0 || trace >= N || sample - before < 0 || Mz < 3) return notFound();
  const float u = item.header ? item.header->unitsPerFoot : kUnitsPerFootM;
  const bool metric = isMetric(u);
  // Unit per ns of a velocity as shown (m/ns or ft/ns) in the profile's units.
  const double perShown = (metric ? kFeetPerMetre : 1.0) * u;
  std::vector<float> section;
  {
    SourceTraces all(v);
    section = sectionAfterTimeZero(v, before);
  }
  // From a tenth of the speed of light up to it.
  const HyperbolaFit fit = fitHyperbola(section.data(), N, Mz, float(dx), v.timeIncrement, trace,
                                        float(sample - before) * v.timeIncrement, float(0.03 * perShown),
                                        float(0.3 * perShown));
  if (!(fit.velocity > 0)) return notFound();
  out.trace = trace;
  out.apexSample = float(before) + fit.apexTime / v.timeIncrement;
  out.unitsPerNs = fit.velocity;
  out.velocity = float(fit.velocity / perShown);
  out.semblance = fit.semblance;
  out.spacing = dx;
  setFittedVelocity(item, out.velocity);
  msg(0, kMsgHyperbolaFitted, trace + 1, out.apexSample * v.timeIncrement + v.firstTime, out.velocity,
      metric ? "m/ns" : "ft/ns", out.semblance);
  return true;
}

// --- the dialog and the window's command ---------------------------------------------------

CProcessDlg::CProcessDlg(ProcessStep step, float dtNs)
    : dv::Dialog(0, step.title, 230, 40 + 16 * int(step.parameters.size())),
      step_(std::move(step)),
      dt_(dtNs) {
  int y = 7;
  for (size_t k = 0; k < step_.parameters.size(); ++k, y += 16) {
    const StepParameter& p = step_.parameters[k];
    addStatic(0, p.caption, {7, y + 2, 150, y + 10});
    addEdit(IDC_FIRST + int(k), {152, y, 223, y + 12});
    setText(IDC_FIRST + int(k), number(p.value));
  }
  addButton(dv::IDOK, "OK", {60, y + 6, 110, y + 20}, true);
  addButton(dv::IDCANCEL, "Cancel", {120, y + 6, 170, y + 20});
}

void CProcessDlg::onOK() {
  ProcessStep typed = step_;
  for (size_t k = 0; k < typed.parameters.size(); ++k) {
    StepParameter& p = typed.parameters[k];
    if (!readNumber(text(IDC_FIRST + int(k)), p.integer, p.value)) {
      std::string label = p.caption;
      if (!label.empty() && label.back() == ':') label.pop_back();
      char b[200];
      std::snprintf(b, sizeof b, p.integer ? kMsgProcessNotAWholeNumber : kMsgProcessNotANumber,
                    label.c_str());
      warningBox(b);
      return;
    }
  }
  const std::string problem = parameterProblem(typed, dt_);
  if (!problem.empty()) {
    warningBox(problem.c_str());
    return;
  }
  step_ = std::move(typed);
  endDialog(dv::IDOK);
}

void processCommand(ProfileItem& item, StepKind kind, VersionAdded added) {
  ProfileVersion* source = shownVersion(item);
  if (!source) return;
  ProcessStep step = stepFor(kind, item, *source);
  const std::string problem = versionProblem(step, *source);
  if (!problem.empty()) {
    errorBox(problem.c_str());
    return;
  }
  if (!step.parameters.empty()) {
    CProcessDlg dlg(step, source->timeIncrement);
    if (dlg.doModal() != dv::IDOK) return;
    step = dlg.step();
  }
  if (ProfileVersion* made = processVersion(item, *source, step))
    if (added) added(item, *made);
}

// --- the batch ------------------------------------------------------------------------------

CProcessStepDlg::CProcessStepDlg() : dv::Dialog(0, "Process Selected", 200, 56) {
  addStatic(0, "Step:", {7, 9, 40, 17});
  addCombo(IDC_STEP, {42, 7, 193, 80});
  addButton(dv::IDOK, "OK", {40, 32, 90, 46}, true);
  addButton(dv::IDCANCEL, "Cancel", {110, 32, 160, 46});
}

bool CProcessStepDlg::onInitDialog() {
  std::vector<std::string> titles;
  for (const ProcessStep& s : processSteps(0.1f)) titles.push_back(s.title);
  setItems(IDC_STEP, std::move(titles));
  setSelection(IDC_STEP, chosen_);
  return true;
}

void CProcessStepDlg::onOK() {
  chosen_ = std::max(selection(IDC_STEP), 0);
  endDialog(dv::IDOK);
}

namespace {

// The version a batch step reads: the chosen number, of time where the
// step needs time, else of the chosen kind.
ProfileVersion* batchVersion(ProfileItem& item, const ProcessStep& step) {
  const int kind = step.needsTime || item.selection1 < 0 || item.selection1 >= kVersionKinds
                       ? int(kTimeVersion)
                       : int(item.selection1);
  return chosenVersion(item, kind);
}

}  // namespace

void processSelectedCommand(VersionAdded added) {
  std::vector<ProfileItem*> items;
  for (DvHandle it : childItems(profileFolder()))
    if (treeSelected(it) && !treeBad(it))
      if (ProfileItem* p = profileOf(it); p && p->header) items.push_back(p);
  if (items.empty()) return;
  CProcessStepDlg chooser;
  if (chooser.doModal() != dv::IDOK) return;
  const StepKind kind = StepKind(chooser.chosen());
  ProcessStep step = processSteps(0.1f)[size_t(kind)];
  ProfileVersion* first = batchVersion(*items.front(), step);
  const float dt = first ? first->timeIncrement : 0.1f;
  if (first) step = stepFor(kind, *items.front(), *first);
  else step = processSteps(dt)[size_t(kind)];
  if (!step.parameters.empty()) {
    CProcessDlg dlg(step, dt);
    if (dlg.doModal() != dv::IDOK) return;
    step = dlg.step();
  }
  msgBare(0, "");
  msg(DV_MSG_TIMESTAMP, kMsgBatchStart);
  for (ProfileItem* item : items) {
    const std::string name = treeName(item->tree);
    ProfileVersion* v = batchVersion(*item, step);
    std::string problem = v ? versionProblem(step, *v) : std::string(kMsgProfileHasNoVersionToProcess);
    // Corners are checked against each profile's own sampling.
    if (problem.empty()) problem = parameterProblem(step, v->timeIncrement);
    if (!problem.empty()) {
      msg(0, kMsgProcessRefused, step.title, name.c_str(), problem.c_str());
      continue;
    }
    if (ProfileVersion* made = processVersion(*item, *v, step))
      if (added) added(*item, *made);
  }
  msg(DV_MSG_TIMESTAMP, kMsgBatchEnd);
  msgBare(0, "");
}

}  // namespace quv
