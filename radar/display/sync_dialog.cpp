// The grid dialogs "Synchronize Versions" and "Synchronize Profiles": one
// row per version or profile with its "Sync Normal" and "Sync Presentation"
// check cells; the source row holds "Source" in both and cannot be ticked.
#include "display/sync.h"
#include "dv/dialog.h"

namespace quv {

namespace {

enum {
  IDC_SYNC_GRID = 21700,
  IDC_SYNC_CLEAR_ALL = 21701,
  IDC_SYNC_ALL_NORMAL = 21702,
  IDC_SYNC_ALL_PRESENTATION = 21703,
};
enum { kLabelCol = 0, kNormalCol = 1, kPresentationCol = 2 };
constexpr const char* kSource = "Source";

class CSyncDlg : public dv::Dialog {
 public:
  CSyncDlg(bool profiles, std::vector<SyncRow>& rows)
      : Dialog(profiles ? 341 : 340, profiles ? "Synchronize Profiles" : "Synchronize Versions",
               300, 160),
        profiles_(profiles),
        rows_(rows) {
    addGrid(IDC_SYNC_GRID, {7, 7, 230, 153});
    addButton(IDC_SYNC_CLEAR_ALL, "Clear All", {238, 7, 293, 21});
    addButton(IDC_SYNC_ALL_NORMAL, "All Normal", {238, 26, 293, 40});
    addButton(IDC_SYNC_ALL_PRESENTATION, "All Presentation", {238, 45, 293, 59});
    addButton(dv::IDOK, "OK", {238, 120, 293, 134}, true);
    addButton(dv::IDCANCEL, "Cancel", {238, 139, 293, 153});
  }

  bool onInitDialog() override {
    dv::GridModel* g = grid(IDC_SYNC_GRID);
    g->setSize(int(rows_.size()) + 1, 3);
    g->setFixedRows(1);
    g->setFixedCols(0);
    g->setText(0, kLabelCol, profiles_ ? "Profile" : "Version");
    g->setText(0, kNormalCol, "Sync Normal");
    g->setText(0, kPresentationCol, "Sync Presentation");
    for (int c = 0; c < 3; ++c) g->setEditable(0, c, false);
    for (size_t i = 0; i < rows_.size(); ++i) {
      const int r = int(i) + 1;
      g->setText(r, kLabelCol, rows_[i].label);
      g->setEditable(r, kLabelCol, false);
      for (int c : {kNormalCol, kPresentationCol}) {
        if (rows_[i].source) {
          g->setText(r, c, kSource);
          g->setEditable(r, c, false);
        } else {
          g->setKind(r, c, dv::GridModel::Check);
        }
      }
    }
    return true;
  }

  void onCommand(int id, int notify) override {
    if (notify != dv::BN_CLICKED) return Dialog::onCommand(id, notify);
    switch (id) {
      case IDC_SYNC_CLEAR_ALL:
        tick(kNormalCol, false), tick(kPresentationCol, false);
        break;
      case IDC_SYNC_ALL_NORMAL: tick(kNormalCol, true); break;
      case IDC_SYNC_ALL_PRESENTATION: tick(kPresentationCol, true); break;
      default: Dialog::onCommand(id, notify); return;
    }
    changed();
  }

  void onOK() override {
    const dv::GridModel* g = grid(IDC_SYNC_GRID);
    for (size_t i = 0; i < rows_.size() && int(i) + 1 < g->rows(); ++i) {
      const int r = int(i) + 1;
      SyncRow& row = rows_[i];
      row.source = isSource(*g, r);
      row.normal = !row.source && g->checked(r, kNormalCol);
      row.presentation = !row.source && g->checked(r, kPresentationCol);
    }
    endDialog(dv::IDOK);
  }

 private:
  // A row is the source when either of its cells says so.
  static bool isSource(const dv::GridModel& g, int r) {
    return g.text(r, kNormalCol) == kSource || g.text(r, kPresentationCol) == kSource;
  }
  void tick(int col, bool on) {
    dv::GridModel* g = grid(IDC_SYNC_GRID);
    for (int r = 1; r < g->rows(); ++r)
      if (!isSource(*g, r)) g->setChecked(r, col, on);
  }

  bool profiles_;
  std::vector<SyncRow>& rows_;
};

}  // namespace

bool runSyncDialog(bool profiles, std::vector<SyncRow>& rows) {
  CSyncDlg dlg(profiles, rows);
  return dlg.doModal() == dv::IDOK;
}

}  // namespace quv
