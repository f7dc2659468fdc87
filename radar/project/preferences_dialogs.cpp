// The dialogs of the "&QUV Preferences" pop-up: "Specify Default File
// Locations" (300), "Set Raw Data Display Defaults" (302) and the file
// dialog of "Load External Data Display Defaults...".
#include "dv/dialog.h"
#include "dv/file.h"
#include "dv/ui.h"
#include "project/messages.h"
#include "project/preferences.h"
#include "project/quv.h"

namespace quv {

namespace {

enum {
  IDC_LOCATIONS_GRID = 21300,
  IDC_TRACE_MAX = 21400,
  IDC_AGC_10 = 21401,
  IDC_AGC_25 = 21402,
  IDC_GRAY_SCALE = 21403,
  IDC_RED_WHITE_BLUE = 21404,
};

enum { kItemCol = 0, kPathCol = 1 };

class CFileLocDlg : public dv::Dialog {
 public:
  explicit CFileLocDlg(DefaultFolders folders)
      : Dialog(300, "Specify Default File Locations", 300, 100), folders_(std::move(folders)) {
    addGrid(IDC_LOCATIONS_GRID, {7, 7, 238, 93});
    addButton(dv::IDOK, "OK", {245, 7, 293, 21}, true);
    addButton(dv::IDCANCEL, "Cancel", {245, 26, 293, 40});
    setHelpContext(3);
  }
  const DefaultFolders& folders() const { return folders_; }

  bool onInitDialog() override {
    dv::GridModel* g = grid(IDC_LOCATIONS_GRID);
    g->setSize(4, 2);
    g->setFixedRows(1);
    g->setFixedCols(0);
    g->setText(0, kItemCol, "Item");
    g->setText(0, kPathCol, "Path");
    for (int r = 0; r < 4; ++r) {
      g->setEditable(r, kItemCol, false);
      g->setEditable(r, kPathCol, r > 0);
      if (r > 0) g->setText(r, kItemCol, kItems[r - 1]);
    }
    g->setText(1, kPathCol, folders_.rawData);
    g->setText(2, kPathCol, folders_.brennicImport);
    g->setText(3, kPathCol, folders_.exportDir);
    return true;
  }
  void onOK() override {
    const dv::GridModel* g = grid(IDC_LOCATIONS_GRID);
    folders_.rawData = g->text(1, kPathCol);
    folders_.brennicImport = g->text(2, kPathCol);
    folders_.exportDir = g->text(3, kPathCol);
    endDialog(dv::IDOK);
  }

 private:
  static constexpr const char* kItems[3] = {"Raw Data", "Brennic Import", "Export"};
  DefaultFolders folders_;
};

class CRawDefDlg : public dv::Dialog {
 public:
  CRawDefDlg(int gain, int palette)
      : Dialog(302, "Set Raw Data Display Defaults", 200, 110), gain_(gain), palette_(palette) {
    add(dv::ControlKind::Group, -1, "Gain:", {7, 7, 95, 75});
    addRadio(IDC_TRACE_MAX, "Trace Max", {14, 20, 90, 32}, true);
    addRadio(IDC_AGC_10, "AGC 10%", {14, 36, 90, 48});
    addRadio(IDC_AGC_25, "AGC 25%", {14, 52, 90, 64});
    add(dv::ControlKind::Group, -1, "Color Palette:", {102, 7, 193, 75});
    addRadio(IDC_GRAY_SCALE, "Gray Scale", {109, 20, 188, 32}, true);
    addRadio(IDC_RED_WHITE_BLUE, "Red-White-Blue", {109, 36, 188, 48});
    addButton(dv::IDOK, "OK", {86, 86, 136, 100}, true);
    addButton(dv::IDCANCEL, "Cancel", {143, 86, 193, 100});
  }
  int gain() const { return gain_; }
  int palette() const { return palette_; }

  bool onInitDialog() override {
    checkRadio(gain_ == 1 ? IDC_AGC_10 : gain_ == 2 ? IDC_AGC_25 : IDC_TRACE_MAX);
    // A palette not chosen yet (0) shows no palette button on.
    if (palette_ == 1 || palette_ == 2) checkRadio(palette_ == 1 ? IDC_GRAY_SCALE : IDC_RED_WHITE_BLUE);
    return true;
  }
  void onOK() override {
    gain_ = check(IDC_TRACE_MAX) ? 0 : check(IDC_AGC_10) ? 1 : 2;
    palette_ = check(IDC_GRAY_SCALE) ? 1 : 2;
    endDialog(dv::IDOK);
  }

 private:
  int gain_, palette_;
};

std::string defaultProjectDir() {
  char buf[4096] = {0};
  if (auto f = fw<PfnGetDir>(PONTRA_GetDefProjDir)) f(buf, sizeof buf);
  return buf;
}

}  // namespace

void fileLocationsCommand() {
  CFileLocDlg dlg(defaultFolders());
  if (dlg.doModal() != dv::IDOK) return;
  storeDefaultFolders(dlg.folders(), orxDir());
}

void rawDisplayDefaultsCommand() {
  const ProjectDefaults* d = displayDefaults();
  CRawDefDlg dlg(d ? d->values.rawGain : 0, d ? d->values.rawPalette : 0);
  if (dlg.doModal() != dv::IDOK) return;
  storeRawDisplayDefaults(dlg.gain(), dlg.palette());
}

void loadDefaultsCommand() {
  dv::FileDialogRequest req;
  req.title = "Load External Data Display Defaults...";
  req.filters = {{"Defaults.quv", "defaults.quv"}};
  req.defaultExt = "QUV";
  req.initialDir = defaultProjectDir();
  req.overwritePrompt = false;
  dv::FileDialogResult r = dv::ui().fileDialog(req);
  if (!r.ok || r.paths.empty()) return;
  if (!dv::fileExists(r.paths[0])) {
    dv::messageBox(kMsgTheDefaultFileDoesNotExist, "Error", dv::MB_OK | dv::MB_ICONERROR);
    return;
  }
  loadExternalDefaults(r.paths[0]);
}

}  // namespace quv
