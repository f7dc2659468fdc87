// The four display settings sheets, and what their OK and Apply do: the
// defaults sheets store the project's defaults and write the defaults file;
// the sheets of a profile window store the version's record, rebuild its
// byte traces when gain, palette or zoom window changed, recreate its fonts
// and repaint the window.
#include <algorithm>
#include <utility>

#include "display/gain.h"
#include "display/profile_window.h"
#include "display/settings_pages.h"
#include "project/messages.h"
#include "project/preferences.h"
#include "project/quv.h"

namespace quv {

SettingsSheet::SettingsSheet(const std::string& caption, const DisplaySettings& record, SheetTarget target,
                             std::function<void(const DisplaySettings&)> store)
    : PropertySheet(caption), working_(record), target_(std::move(target)), store_(std::move(store)) {
  if (target_.values) values_ = *target_.values;
  // The pages read and change the sheet's own copy of the eight values.
  target_.values = &values_;
}

void SettingsSheet::setTitleElement(int element) {
  if (element == kTitle || element == kHorizontalLabel || element == kVerticalLabel) titleElement_ = element;
}

bool SettingsSheet::applyAll() {
  SettingsPage::warnings().clear();
  if (!PropertySheet::applyAll()) return false;
  for (auto& p : owned_) p->readLast();
  if (working_.firstTrace > working_.lastTrace) std::swap(working_.firstTrace, working_.lastTrace);
  if (working_.firstSample > working_.lastSample) std::swap(working_.firstSample, working_.lastSample);
  if (store_) store_(working_);
  // The pages show what was stored, replaced entries included.
  for (dv::Dialog* p : pages()) p->onInitDialog();
  return true;
}

std::unique_ptr<SettingsSheet> makeNormalSheet(const std::string& caption, const DisplaySettings& record,
                                               SheetTarget target,
                                               std::function<void(const DisplaySettings&)> store) {
  target.presentation = false;
  auto sheet = std::make_unique<SettingsSheet>(caption, record, std::move(target), std::move(store));
  DisplaySettings& s = sheet->working_;
  const SheetTarget& t = sheet->target_;
  sheet->owned_.push_back(makeTracesPage(s, t));
  sheet->owned_.push_back(makeAxisPage(s, t, false));
  sheet->owned_.push_back(makeAxisPage(s, t, true));
  for (auto& p : sheet->owned_) sheet->addPage(p.get());
  return sheet;
}

std::unique_ptr<SettingsSheet> makePresentationSheet(const std::string& caption, const DisplaySettings& record,
                                                     SheetTarget target,
                                                     std::function<void(const DisplaySettings&)> store) {
  target.presentation = true;
  auto sheet = std::make_unique<SettingsSheet>(caption, record, std::move(target), std::move(store));
  DisplaySettings& s = sheet->working_;
  const SheetTarget& t = sheet->target_;
  sheet->owned_.push_back(makePagePage(s, t));
  sheet->owned_.push_back(makeTitlePage(s, t, sheet->titleElement_));
  sheet->owned_.push_back(makeTracesPage(s, t));
  sheet->owned_.push_back(makeAxisPage(s, t, false));
  sheet->owned_.push_back(makeAxisPage(s, t, true));
  sheet->owned_.push_back(makeLegendPage(s, t));
  sheet->owned_.push_back(makeLogoPage(s, t));
  sheet->owned_.push_back(makeCommentPage(s, t));
  for (auto& p : sheet->owned_) sheet->addPage(p.get());
  return sheet;
}

// --- the project's defaults ------------------------------------------------------------

namespace {

void editDefaults(bool presentation) {
  ProjectDefaults* d = displayDefaults();
  if (!d) return;
  SheetTarget t;
  t.defaults = true;
  t.values = &d->values;
  t.defaultVelocity = d->normal.velocity;
  const DisplaySettings& record = presentation ? d->presentation : d->normal;
  // The store runs after every page has read back, with the sheet's values.
  SettingsSheet* shown = nullptr;
  auto store = [&shown, presentation](const DisplaySettings& next) {
    if (presentation)
      storePresentationDefaults(next, *shown->target().values);
    else
      storeNormalDefaults(next);
  };
  auto sheet = presentation
                   ? makePresentationSheet("Set Presentation Data Display Defaults", record, t, store)
                   : makeNormalSheet("Set Normal Data Display Defaults", record, t, store);
  shown = sheet.get();
  sheet->doModal();
}

}  // namespace

void editNormalDefaults() { editDefaults(false); }
void editPresentationDefaults() { editDefaults(true); }

// --- a profile window's version ------------------------------------------------------------

void editWindowSettings(CProfileWnd& w, bool presentation, int page, int titleElement) {
  ProfileVersion* v = w.version();
  if (!v) return;
  SheetTarget t;
  t.version = v;
  t.unitsPerFoot = w.item().header ? w.item().header->unitsPerFoot : 1.0f;
  ProjectDefaults* d = displayDefaults();
  DefaultsValues builtIn;
  t.values = d ? &d->values : &builtIn;
  t.defaultVelocity = d ? d->normal.velocity : 0.3f;
  CProfileWnd* window = &w;
  auto store = [window, v, presentation](const DisplaySettings& next) {
    DisplaySettings& record = presentation ? v->presentation : v->normal;
    const bool rebuild = needsNewByteTraces(record, next);
    record = next;
    recreateFonts(record);
    if (rebuild) discardByteTraces(*v, presentation);  // built again as they are drawn
    if (window->version() != v) return;
    if (!presentation) window->normalView().zoomChanged();
    window->modeChanged();
    window->refresh();
  };
  const DisplaySettings& record = presentation ? v->presentation : v->normal;
  auto sheet = presentation
                   ? makePresentationSheet("Edit Presentation Data Display Properties", record, t, store)
                   : makeNormalSheet("Edit Normal Data Display Properties", record, t, store);
  sheet->setTitleElement(titleElement);
  sheet->setActivePage(std::clamp(page, 0, int(sheet->pages().size()) - 1));
  sheet->doModal();
}

}  // namespace quv
