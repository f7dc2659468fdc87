// The property sheets that edit display settings records: the normal and
// presentation defaults of the project and the normal and presentation
// records of one profile version. Every page copies the record's fields
// into its controls, reads them back with decimal conversion and replaces
// an invalid entry by its fallback with a warning line in the message bar;
// an invalid entry never blocks the page.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dv/dialog.h"
#include "project/defaults_file.h"
#include "project/display_settings.h"
#include "project/profile.h"

namespace quv {

// What a sheet edits and what it knows of the version behind the record.
struct SheetTarget {
  bool presentation = false;  // the presentation pages (page, title, legend, ...)
  bool defaults = false;      // a defaults record: no version, nothing to rebuild
  // The version edited (nullptr for defaults).
  ProfileVersion* version = nullptr;
  float unitsPerFoot = 1.0f;  // the profile's units (velocity in m/ns when metric)
  // The presentation defaults' eight values (box size, per-unit values,
  // scales, "Use:" modes); a profile sheet reads them for its fallbacks.
  DefaultsValues* values = nullptr;
  // The normal defaults' velocity: a profile page's fallback velocity.
  float defaultVelocity = 0.3f;
};

// One check of a read-back value: returns true (and sets v) when the value
// is invalid and replaced.
using FieldRule = std::function<bool(double& v)>;
FieldRule replaceBelow(double min, double fallback);         // v < min
FieldRule replaceNotPositive(std::function<double()> fallback);  // v <= 0
FieldRule replaceOutside(double lo, double hi, double fallback);
FieldRule clampTo(double lo, double hi);

// A page of the family: controls bound to fields of the sheet's working record.
class SettingsPage : public dv::Dialog {
 public:
  SettingsPage(int resourceId, const std::string& caption, DisplaySettings& record, const SheetTarget& target);
  bool onInitDialog() override;
  void onOK() override;
  void onCommand(int id, int notify) override;

  // Warning lines written by the last apply (also sent to the message bar).
  static std::vector<std::string>& warnings();
  // What waits until every page of the sheet has read its entries: a new
  // page unit takes effect only then, since every page's lengths are in
  // the units it shows.
  virtual void readLast() {}

 protected:
  // Bindings, filled in order and read back in order.
  void bindRadios(int32_t* field, std::vector<std::pair<int, int>> idValue);
  void bindCheck(int id, int32_t* field);
  void bindInt(int id, int32_t* field, FieldRule rule = {}, const char* warning = nullptr);
  void bindFloat(int id, float* field, const char* format, FieldRule rule = {}, const char* warning = nullptr,
                 double shownFactor = 1.0);
  void bindText(int id, std::string* field);
  // A font button: the system font dialog on the logical font, its size in
  // points clamped to 6..72 with the warning, and its colour.
  void bindFont(int buttonId, LogFont* font, float* points, ColorRef* colour, const char* warning);
  // A colour button: the system colour dialog.
  void bindColour(int buttonId, ColorRef* colour);

  // Page-specific steps around the bound fields.
  virtual void fillMore() {}
  virtual void readMore() {}
  virtual bool commandMore(int id) { return false; }

  static void warn(const char* text);
  // The system font dialog started from a logical font, its size and colour;
  // false when cancelled. The chosen face, weight, style and colour are kept
  // in `font` and `colour`, the chosen size returned in `points`.
  static bool pickFont(LogFont& font, int& points, ColorRef* colour);
  void setNumber(int id, const char* format, double v);
  double number(int id) const;

  DisplaySettings& s_;
  const SheetTarget& target_;

 private:
  struct Binding;
  std::vector<std::shared_ptr<Binding>> bindings_;
};

// A sheet over a working copy of one record. Apply (and OK) lets every page
// read back, then stores the working record with `store`, and shows the
// pages again with what was stored.
class SettingsSheet : public dv::PropertySheet {
 public:
  SettingsSheet(const std::string& caption, const DisplaySettings& record, SheetTarget target,
                std::function<void(const DisplaySettings&)> store);
  bool applyAll() override;
  DisplaySettings& working() { return working_; }
  const SheetTarget& target() const { return target_; }
  // The title page edits the title or one of the two labels.
  void setTitleElement(int element);

 private:
  friend std::unique_ptr<SettingsSheet> makeNormalSheet(const std::string&, const DisplaySettings&, SheetTarget,
                                                        std::function<void(const DisplaySettings&)>);
  friend std::unique_ptr<SettingsSheet> makePresentationSheet(const std::string&, const DisplaySettings&,
                                                              SheetTarget,
                                                              std::function<void(const DisplaySettings&)>);
  DisplaySettings working_;
  SheetTarget target_;
  DefaultsValues values_;
  int titleElement_ = kTitle;
  std::function<void(const DisplaySettings&)> store_;
  std::vector<std::unique_ptr<SettingsPage>> owned_;
};

// The pages, each bound to the sheet's working record.
std::unique_ptr<SettingsPage> makeTracesPage(DisplaySettings& s, const SheetTarget& t);
std::unique_ptr<SettingsPage> makeAxisPage(DisplaySettings& s, const SheetTarget& t, bool vertical);
std::unique_ptr<SettingsPage> makePagePage(DisplaySettings& s, const SheetTarget& t);
// The title page edits the element `element` names when the sheet opens.
std::unique_ptr<SettingsPage> makeTitlePage(DisplaySettings& s, const SheetTarget& t, int& element);
std::unique_ptr<SettingsPage> makeLegendPage(DisplaySettings& s, const SheetTarget& t);
std::unique_ptr<SettingsPage> makeLogoPage(DisplaySettings& s, const SheetTarget& t);
std::unique_ptr<SettingsPage> makeCommentPage(DisplaySettings& s, const SheetTarget& t);

// The pages of the presentation sheet, in order.
enum PresentationPage {
  kPageOfPage = 0, kPageOfTitle, kPageOfTraces, kPageOfHAxis, kPageOfVAxis, kPageOfLegend, kPageOfLogo,
  kPageOfComments,
};

// The four sheets. The pages in order are those of the sheet's caption.
std::unique_ptr<SettingsSheet> makeNormalSheet(const std::string& caption, const DisplaySettings& record,
                                               SheetTarget target,
                                               std::function<void(const DisplaySettings&)> store);
std::unique_ptr<SettingsSheet> makePresentationSheet(const std::string& caption,
                                                     const DisplaySettings& record, SheetTarget target,
                                                     std::function<void(const DisplaySettings&)> store);

// "Set Normal Data Display Defaults" and "Set Presentation Data Display
// Defaults": OK stores the project's defaults and writes the defaults file.
void editNormalDefaults();
void editPresentationDefaults();

// "Edit Normal/Presentation Data Display Properties" of the version a
// profile window shows, opened at `page`; the title page edits
// `titleElement` (the title or one of the axis labels). OK and Apply store
// the record in the version and the window follows.
class CProfileWnd;
void editWindowSettings(CProfileWnd& w, bool presentation, int page, int titleElement = kTitle);

// What a version's record change asks of its display: the byte traces
// rebuilt when gain, palette or zoom window changed.
bool needsNewByteTraces(const DisplaySettings& before, const DisplaySettings& after);

// Velocity as shown on the vertical axis page: m/ns for metric profiles.
double shownVelocity(float feetPerNs, float unitsPerFoot);
float storedVelocity(double shown, float unitsPerFoot);

// The horizontal and vertical "Use:" values derived from the traces box of
// a presentation record (page units: inches or millimetres).
struct BoxScales {
  double tracesPerUnit = 0, horizontalScale = 0;
  double samplesPerUnit = 0, depthScale = 0;
};
BoxScales boxScales(const DisplaySettings& s, const ProfileVersion* v);

}  // namespace quv
