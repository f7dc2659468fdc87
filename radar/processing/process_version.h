// Processing a version: dewow, background removal, band-pass, low-pass and
// high-pass filters, the envelope, time zero from the first break and
// Stolt migration, each reading one version and writing
// the next version of its kind (T%02i_ for a time version) named for the
// step and its parameters, with its source kept in the version header.
// The steps and their parameters are one table, used by the window's
// dialogs, by the command line and by job scripts alike.
#pragma once

#include <string>
#include <vector>

#include "dv/dialog.h"
#include "processing/convert_version.h"  // VersionAdded
#include "project/fitted_velocity.h"       // HyperbolaPick

namespace quv {

struct ProfileItem;
struct ProfileVersion;

// In the order of the window's command ids (ID_N_PROCESS_DEWOW onwards).
enum class StepKind { Dewow, Background, BandPass, LowPass, HighPass, Envelope, TimeZero, Migrate };

struct StepParameter {
  const char* key;      // on the command line: window=10
  const char* caption;  // in the dialog: "Window (ns):"
  double value;
  bool integer;
};

struct ProcessStep {
  StepKind kind;
  const char* key;    // "dewow", "bandpass", ...
  const char* title;  // "Dewow", "Band-Pass Filter", ...
  bool needsTime;     // runs on time versions only
  std::vector<StepParameter> parameters;
  // Migration: the unit its velocity is typed in, "m/ns" or "ft/ns".
  const char* velocityUnit = "m/ns";
  double get(const char* key) const;
};

// Every step with its defaults for a version sampled every `dtNs` ns:
// dewow 10 ns; background over the whole line (0 traces); filter corners a
// twentieth and a fifth of the Nyquist frequency (a recording usually
// samples its antenna's frequency about ten times a period), order 4; time
// zero at a fifth of the largest mean amplitude; migration at 0.1 m/ns.
std::vector<ProcessStep> processSteps(float dtNs);
// The step for one profile's version: as above, migration's velocity in
// the profile's units (m/ns when metric, else ft/ns), by default the
// velocity fitted to a hyperbola of the profile, else the version's own.
ProcessStep stepFor(StepKind kind, const ProfileItem& item, const ProfileVersion& source);
// The step of a key (letter case ignored), or false.
bool findStep(const std::string& key, float dtNs, ProcessStep& out);
// "dewow, background, bandpass, lowpass, highpass, envelope, timezero, migrate".
std::string stepKeys();
// "window=NS" and the like: the step's accepted parameters.
std::string stepUsage(const ProcessStep& step);

// Sets the step's parameters from "KEY=VALUE" words. An empty result when
// all were taken, else what is wrong (an unknown key or a value that is not
// a number), naming the accepted parameters.
std::string assignParameters(ProcessStep& step, const std::vector<std::string>& words);
// What keeps the step from running on a version sampled every `dtNs` ns
// (a window of 0, an order outside 1..10, corners out of order or above the
// Nyquist frequency), empty when it may run.
std::string parameterProblem(const ProcessStep& step, float dtNs);
// The name of the version a step writes: "dewow 10 ns", "background whole
// line", "background 25 traces", "band-pass 100-800 MHz order 4",
// "low-pass 800 MHz order 4", "high-pass 100 MHz order 4", "envelope",
// "time zero 0.2", "migrated 0.1 m/ns".
std::string versionNameFor(const ProcessStep& step);

// Why the step cannot run on the version ("Version must be time for
// Dewow"; for migration a line without even trace spacing, or one too
// large to transform at once), empty when it can.
std::string versionProblem(const ProcessStep& step, const ProfileVersion& source);

// Writes the step's new version of `source` and adds it to the profile;
// nullptr (with the reason written to the message bar) when nothing was made.
ProfileVersion* processVersion(ProfileItem& item, ProfileVersion& source, const ProcessStep& step);

// The "&Process" entries of the profile window: the step's dialog for the
// shown version (none for Envelope), then the new version, which `added`
// shows. A depth or elevation version is refused with a message box where
// the step needs time.
void processCommand(ProfileItem& item, StepKind kind, VersionAdded added);

// Fit Hyperbola of the profile window: the velocity of the diffraction
// hyperbola whose apex lies near (trace, sample) of a time version, found
// by semblance (fitHyperbola) over the samples after time zero between a
// tenth of the speed of light and the speed of light, remembered as the
// profile's fitted velocity and written to the message bar. False (with
// the reason there) when none fits or the line has no even trace spacing.
bool fitVersionHyperbola(ProfileItem& item, ProfileVersion& v, int trace, int sample, HyperbolaPick& out);

// "&Process Selected": the step chosen in "Process Selected", its
// parameter dialog (defaults from the first selected profile's version),
// then, between "Batch Start" and "Batch End", the step on each selected
// profile's version with the chosen number (of time for the steps that need
// time, else of the chosen kind), one "- Completed" or "- Failed" line each.
// The caller has run the batch selection check.
void processSelectedCommand(VersionAdded added);

// "Process Selected": a drop-down "Step:" of the steps' titles.
class CProcessStepDlg : public dv::Dialog {
 public:
  enum { IDC_STEP = 23420 };
  CProcessStepDlg();
  bool onInitDialog() override;
  int chosen() const { return chosen_; }
  void onOK() override;

 private:
  int chosen_ = 0;
};

// The parameter dialog of a step: one edit per parameter with its caption.
class CProcessDlg : public dv::Dialog {
 public:
  enum { IDC_FIRST = 23400 };
  CProcessDlg(ProcessStep step, float dtNs);
  void onOK() override;
  const ProcessStep& step() const { return step_; }

 private:
  ProcessStep step_;
  float dt_;
};

}  // namespace quv
