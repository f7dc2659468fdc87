// The two "Join" dialogs (the items to join with the profile name, then
// their order, trace ranges and coordinates) and the command on a raw item.
#include <cstdio>
#include <cstdlib>

#include "dv/ui.h"
#include "processing/convert_version.h"  // warningBox
#include "processing/create_profile.h"
#include "processing/join.h"
#include "project/messages.h"
#include "project/quv.h"
#include "project/raw.h"
#include "project/tree_items.h"

namespace quv {

namespace {

std::string fixed(const char* format, double v) { return numberText(format, v); }
void warn(const std::string& text) { warningBox(text.c_str()); }

}  // namespace

// --- second step: order, ranges, coordinates -------------------------------------------

CJoinOrderDlg::CJoinOrderDlg(std::vector<JoinItem> items)
    : Dialog(364, "Join", 470, 160), items_(std::move(items)) {
  addGrid(IDC_GRID, {7, 7, 400, 153});
  addButton(IDC_UP, "Move Up", {408, 7, 463, 21});
  addButton(IDC_DOWN, "Move Down", {408, 26, 463, 40});
  addButton(dv::IDOK, "OK", {408, 120, 463, 134}, true);
  addButton(dv::IDCANCEL, "Cancel", {408, 139, 463, 153});
}

bool CJoinOrderDlg::onInitDialog() {
  showAll();
  return true;
}

void CJoinOrderDlg::showAll() {
  dv::GridModel* g = grid(IDC_GRID);
  const int current = g->currentRow();
  g->setSize(1 + (int)items_.size(), kCols);
  g->setFixedRows(1);
  g->setFixedCols(0);
  const char* heads[kCols] = {"Raw Data",  "# of Traces",  "Start Trace",
                              "Start Easting", "Start Northing", "End Trace",
                              "End Easting", "End Northing", "Increment"};
  for (int c = 0; c < kCols; ++c) {
    g->setText(0, c, heads[c]);
    g->setEditable(0, c, false);
  }
  for (size_t k = 0; k < items_.size(); ++k) {
    const int r = 1 + (int)k;
    const JoinItem& it = items_[k];
    const std::string cells[kCols] = {
        it.name, std::to_string(it.traces), std::to_string(it.start + 1),
        fixed("%.2f", it.startEasting), fixed("%.2f", it.startNorthing),
        std::to_string(it.end + 1), fixed("%.2f", it.endEasting), fixed("%.2f", it.endNorthing),
        fixed("%.3f", joinIncrement(it))};
    for (int c = 0; c < kCols; ++c) {
      g->setText(r, c, cells[c]);
      g->setEditable(r, c, c != kRawCol && c != kTracesCol && c != kIncrementCol);
    }
  }
  g->setCurrent(current >= 1 && current < g->rows() ? current : -1);
}

void CJoinOrderDlg::onGridEdited(int gridId, int row, int col) {
  if (gridId != IDC_GRID || row < 1 || row > (int)items_.size()) return;
  JoinItem& it = items_[(size_t)row - 1];
  const std::string t = grid(IDC_GRID)->text(row, col);
  if (col == kStartCol || col == kEndCol) {
    const long long typed = std::atoll(t.c_str()) - 1;
    const long long last = std::max(it.traces - 1, 0);
    if (typed < 0 || typed > last) msg(0, kMsgWarningJoinTraceNumberSetToLimit);
    (col == kStartCol ? it.start : it.end) = int(std::clamp(typed, 0LL, last));
  } else if (col == kStartEastCol || col == kStartNorthCol || col == kEndEastCol ||
             col == kEndNorthCol) {
    double v = 0;
    if (!typedNumber(t, v)) {
      msg(0, kMsgWarningJoinIsNotANumber, t.c_str());
    } else {
      double* fields[] = {&it.startEasting, &it.startNorthing, nullptr, &it.endEasting,
                          &it.endNorthing};
      *fields[col - kStartEastCol] = v;
    }
  }
  showAll();  // the increment follows the coordinates
}

void CJoinOrderDlg::move(int by) {
  dv::GridModel* g = grid(IDC_GRID);
  const int r = g->currentRow();
  const int to = r + by;
  if (r < 1 || r > (int)items_.size() || to < 1 || to > (int)items_.size()) return;
  std::swap(items_[(size_t)r - 1], items_[(size_t)to - 1]);
  g->setCurrent(to);
  showAll();
}

void CJoinOrderDlg::onCommand(int id, int notify) {
  if (notify == dv::BN_CLICKED && (id == IDC_UP || id == IDC_DOWN)) {
    move(id == IDC_UP ? -1 : 1);
    return changed();
  }
  Dialog::onCommand(id, notify);
}

void CJoinOrderDlg::onOK() {
  const JoinPlan plan = planJoin(items_);
  if (!plan.refusal.empty()) return warn(plan.refusal);
  if (join) join(items_, plan);
  endDialog(dv::IDOK);
}

// --- first step: items and name -------------------------------------------------------

CJoinDlg::CJoinDlg(std::vector<JoinItem> items, std::string profileName,
                   std::vector<std::string> existingProfiles)
    : Dialog(363, "Join", 250, 180), items_(std::move(items)), name_(std::move(profileName)),
      existing_(std::move(existingProfiles)) {
  addStatic(IDC_TITLE, "Join With", {7, 7, 180, 17});
  addGrid(IDC_GRID, {7, 20, 180, 150});
  addStatic(0, "Profile Name:", {7, 158, 55, 168});
  addEdit(IDC_NAME, {58, 156, 180, 168});
  addButton(dv::IDOK, "OK", {188, 7, 243, 21}, true);
  addButton(dv::IDCANCEL, "Cancel", {188, 26, 243, 40});
  ticked_.assign(items_.size(), false);
  if (!ticked_.empty()) ticked_[0] = true;
}

bool CJoinDlg::onInitDialog() {
  if (!items_.empty()) setText(IDC_TITLE, "Join " + items_[0].name + " with ...");
  setText(IDC_NAME, name_);
  dv::GridModel* g = grid(IDC_GRID);
  g->setSize(1 + (int)items_.size(), 2);
  g->setFixedRows(1);
  g->setFixedCols(0);
  g->setText(0, kRawCol, "Raw Data");
  g->setText(0, kTickCol, "Join");
  g->setColWidth(kRawCol, 120);
  g->setColWidth(kTickCol, 30);
  for (int c = 0; c < 2; ++c) g->setEditable(0, c, false);
  for (size_t k = 0; k < items_.size(); ++k) {
    const int r = 1 + (int)k;
    g->setText(r, kRawCol, items_[k].name);
    g->setEditable(r, kRawCol, false);
    g->setKind(r, kTickCol, dv::GridModel::Check);
    g->setChecked(r, kTickCol, ticked_[k]);
    // The item Join was called on is always joined.
    g->setEditable(r, kTickCol, k != 0);
  }
  return true;
}

void CJoinDlg::onGridEdited(int gridId, int row, int col) {
  if (gridId != IDC_GRID || row < 1 || row > (int)items_.size()) return;
  dv::GridModel* g = grid(IDC_GRID);
  if (col == kTickCol && row > 1) ticked_[(size_t)row - 1] = g->checked(row, col);
  g->setChecked(row, kTickCol, ticked_[(size_t)row - 1]);
  g->setText(row, kRawCol, items_[(size_t)row - 1].name);
}

void CJoinDlg::onOK() {
  std::vector<std::string> cleaned;
  ProfileNameTexts texts;
  texts.blank = kMsgNameCanNotBeBlank;
  texts.used = kMsgProfileNameAlreadyUsed;
  bool blank = false;
  const std::string refusal = checkProfileNames({text(IDC_NAME)}, existing_, &cleaned, texts, &blank);
  if (!refusal.empty()) {
    dv::messageBox(refusal, blank ? "Warning" : "Error",
                   dv::MB_OK | (blank ? dv::MB_ICONWARNING : dv::MB_ICONERROR));
    return;
  }
  std::vector<JoinItem> chosen;
  for (size_t k = 0; k < items_.size(); ++k)
    if (ticked_[k]) chosen.push_back(items_[k]);
  if (chosen.empty()) return;
  // One question at the most; No creates nothing.
  for (size_t k = 1; k < chosen.size(); ++k)
    if (timingDiffers(chosen[0], chosen[k])) {
      if (dv::messageBox(kMsgJoinSampleBySample, "Join Sample by Sample?",
                         dv::MB_YESNO | dv::MB_ICONQUESTION) != dv::IDYES)
        return endDialog(dv::IDCANCEL);
      break;
    }
  CJoinOrderDlg order(std::move(chosen));
  const std::string name = cleaned[0];
  order.join = [&](const std::vector<JoinItem>& list, const JoinPlan& plan) {
    if (join) join(name, list, plan);
  };
  if (order.doModal() == dv::IDOK) endDialog(dv::IDOK);
}

// --- with the project ------------------------------------------------------------------

void joinCommand(DvHandle rawItem) {
  if (!rawItem || treeBad(rawItem)) return;
  std::vector<JoinItem> items;
  auto add = [&](DvHandle it) {
    const RawObject* obj = rawObjectOf(it);
    if (treeBad(it) || !obj || !obj->data || obj->data->format == kRawUnreadable) return;
    const RawData& d = *obj->data;
    JoinItem j;
    j.name = treeName(it);
    j.tree = it;
    j.traces = d.traces, j.samples = d.samples;
    j.firstTime = d.firstTime, j.interval = d.interval;
    j.start = 0, j.end = std::max(d.traces - 1, 0);
    // Each item starts on the straight line Create Profile would give it.
    const StraightLine l = deriveStraightLine(d.format, d.header, d.traces);
    j.startEasting = l.startEasting, j.startNorthing = l.startNorthing;
    j.endEasting = l.endEasting, j.endNorthing = l.endNorthing;
    items.push_back(std::move(j));
  };
  add(rawItem);
  if (items.empty()) return;
  for (DvHandle it : childItems(rawFolder()))
    if (it != rawItem) add(it);
  std::vector<std::string> existing;
  for (DvHandle it : childItems(profileFolder())) existing.push_back(treeName(it));
  CJoinDlg dlg(std::move(items), defaultProfileName(treeName(rawItem)), std::move(existing));
  dlg.join = [](const std::string& name, const std::vector<JoinItem>& list, const JoinPlan& plan) {
    joinToProfile(name, list, plan);
  };
  dlg.doModal();
}

}  // namespace quv
