// Adding recordings: the add list dialog (303) with its checks, and the
// stored copies and item file of each new item.
#include <strings.h>

#include <algorithm>
#include <filesystem>

#include "dv/dialog.h"
#include "dv/file.h"
#include "dv/ui.h"
#include "module/callbacks.h"
#include "project/defaults_file.h"
#include "project/messages.h"
#include "project/preferences_folders.h"
#include "project/quv.h"
#include "project/raw.h"
#include "project/tree_items.h"
#include "scrivel/scrivel.h"
#include "processing/positions.h"

namespace quv {

namespace {

enum { IDC_LIST = 20500, IDC_ADD_FILES = 20501, IDC_DELETE_FILES = 20502, IDC_SIDECARS = 20503 };

// A recording another tool named in its own way ("00001034.sgy_first_trace",
// "LINE7.seg") is known by its contents: the SEG-Y binary header first, the
// strongest test, then the SEG-2 and GSSI file tags. The two-file formats
// need their header's extension to find the data file.
int formatOfContents(const std::string& path) {
  const std::pair<int, int> tests[] = {
      {SCRIVEL_IsSegyFile, kRawSegy}, {SCRIVEL_IsSeg2File, kRawSeg2}, {SCRIVEL_IsGssiFile, kRawGssi}};
  for (auto [slot, format] : tests) {
    auto is = scrivel<PfnIsFile>(slot);
    if (is && is(path.c_str()) == 0) return format;
  }
  return kRawUnreadable;
}

// The same folder, also when one of the two is written another way
// ("Site/../Site", a link to it).
bool sameFolder(const std::string& a, const std::string& b) {
  if (a == b) return true;
  std::error_code e1, e2;
  auto ca = std::filesystem::weakly_canonical(a, e1), cb = std::filesystem::weakly_canonical(b, e2);
  return !e1 && !e2 && ca == cb;
}

// The sorted list box orders its entries without regard to letter case.
bool listOrder(const std::string& a, const std::string& b) {
  int c = ::strcasecmp(a.c_str(), b.c_str());
  return c != 0 ? c < 0 : a < b;
}

class CRawAddDlg : public dv::Dialog {
 public:
  CRawAddDlg() : Dialog(303, "List of QUV Raw Data File(s) to Add", 290, 150) {
    dv::Control& list = addList(IDC_LIST, {7, 7, 220, 143});
    list.multiple = true;
    addButton(IDC_ADD_FILES, "Add File(s)", {228, 7, 283, 21});
    addButton(IDC_DELETE_FILES, "Delete File(s)", {228, 26, 283, 40});
    // The position sidecars that will go with the listed recordings.
    addStatic(IDC_SIDECARS, "", {228, 45, 288, 105});
    addButton(dv::IDOK, "OK", {228, 110, 283, 124}, true);
    addButton(dv::IDCANCEL, "Cancel", {228, 129, 283, 143});
  }

  void onCommand(int id, int notify) override {
    if (id == IDC_ADD_FILES && notify == dv::BN_CLICKED) return addFiles();
    if (id == IDC_DELETE_FILES && notify == dv::BN_CLICKED) return deleteFiles();
    Dialog::onCommand(id, notify);
  }

  void onOK() override {
    for (const std::string& path : items(IDC_LIST)) addRawRecording(path);
    endDialog(dv::IDOK);
  }

 private:
  void addFiles() {
    dv::FileDialogRequest req;
    req.title = "Add QUV - Raw Data File(s)...";
    req.multiSelect = true;
    req.fileMustExist = true;
    req.initialDir = defaultFolders().rawData;
    req.filters = {
        {"All Types (.dzt;.hd;.rad;.sg2;.dat;.sgy)", "*.dzt;*.hd;*.rad;*.sg2;*.dat;*.sgy"},
        {"GSSI (.dzt)", "*.dzt"},
        {"Pulse Ekko (.hd)", "*.hd"},
        {"Ramac (.rad)", "*.rad"},
        {"SEG-2 (.sg2;.dat)", "*.sg2;*.dat"},
        {"SEG-Y (.sgy)", "*.sgy"},
        // Recordings other tools named in their own way are known by their contents.
        {"All Files (*.*)", "*"}};
    dv::FileDialogResult r = dv::ui().fileDialog(req);
    if (!r.ok) return;
    std::string project = projectDir();
    std::vector<DvHandle> rawItems = childItems(rawFolder());
    for (const std::string& path : r.paths) {
      std::string folder = dv::dirName(path);
      defaultFolders().rawData = folder;
      if (sameFolder(folder, project)) {
        dv::messageBox(kMsgCannotAddRawDataFilesFromCurrent, "Warning",
                       dv::MB_OK | dv::MB_ICONWARNING);
        continue;
      }
      std::string name = fileNameOf(path);
      if (formatOfExtension(upperExtension(name)) == kRawUnreadable &&
          formatOfContents(path) == kRawUnreadable) {
        dv::messageBox(kMsgCannotAddRawDataFilesWithImproper, "Warning",
                       dv::MB_OK | dv::MB_ICONWARNING);
        continue;
      }
      if (!usableRawName(name)) {
        dv::messageBox("Cannot add " + name +
                           ", a raw data name may not begin or end with a blank or hold double "
                           "quotes, commas, \"..\" or control characters",
                       "Warning", dv::MB_OK | dv::MB_ICONWARNING);
        continue;
      }
      std::string upper = upperCase(name);
      // Items are stored by title: two recordings with one title (LINE01.DZT
      // and LINE01.HD) would share one item file, so the second is refused.
      std::string upperStored = upperCase(recordingTitle(name) + ".QUV");
      bool refused = false;
      for (const std::string& entry : items(IDC_LIST)) {
        std::string entryName = fileNameOf(entry);
        if (upperCase(entryName) == upper) {
          dv::messageBox(entry + " already added", "Error", dv::MB_OK | dv::MB_ICONERROR);
          refused = true;
        } else if (upperCase(recordingTitle(entryName) + ".QUV") == upperStored) {
          dv::messageBox("Cannot add " + entryName + ", raw data name is already used", "Error",
                         dv::MB_OK | dv::MB_ICONERROR);
          refused = true;
        }
      }
      for (DvHandle it : rawItems) {
        std::string itemName = treeName(it);
        if (upperCase(itemName) == upper || upperCase(treeFileExt(it)) == upperStored) {
          dv::messageBox("Cannot add " + itemName + ", raw data name is already used", "Error",
                         dv::MB_OK | dv::MB_ICONERROR);
          refused = true;
        }
      }
      if (refused) continue;
      std::vector<std::string> list = items(IDC_LIST);
      list.insert(std::upper_bound(list.begin(), list.end(), path, listOrder), path);
      setItems(IDC_LIST, std::move(list));
    }
    showSidecars();
  }

  void showSidecars() {
    std::string text;
    for (const std::string& path : items(IDC_LIST)) {
      const std::string sidecar = sidecarBeside(path);
      if (!sidecar.empty()) text += (text.empty() ? "With positions: " : ", ") + fileNameOf(sidecar);
    }
    setText(IDC_SIDECARS, text);
  }

  void deleteFiles() {
    const dv::Control* c = control(IDC_LIST);
    if (!c) return;
    std::vector<int> chosen = c->multiSel;
    if (chosen.empty() && c->sel >= 0) chosen.push_back(c->sel);
    std::vector<std::string> kept;
    const auto& all = c->items;
    for (int i = 0; i < (int)all.size(); ++i)
      if (std::find(chosen.begin(), chosen.end(), i) == chosen.end())
        kept.push_back(all[(size_t)i]);
    dv::Control* m = control(IDC_LIST);
    m->multiSel.clear();
    m->sel = -1;
    setItems(IDC_LIST, std::move(kept));
    showSidecars();
  }
};

}  // namespace

void addRawRecording(const std::string& path) {
  std::string name = fileNameOf(path);
  std::string title = recordingTitle(name);
  std::string ext = upperExtension(name);
  int format = formatOfExtension(ext);
  // Stored under the extension it came with, or under its format's own
  // prefix where the contents told the format.
  std::string prefix = ext + "_";
  if (format == kRawUnreadable) {
    format = formatOfContents(path);
    prefix = storedPrefix(format);
  }

  RawItemFile f;
  f.stamp = versionStamp();
  f.windowOpen = 0;
  f.firstName = prefix + title + ".QUV";
  dv::copyFile(path, projectPath(f.firstName));
  if (format == kRawPekko || format == kRawRamac) {
    const char* dataExt = format == kRawPekko ? "DT1" : "RD3";
    f.secondName = std::string(dataExt) + "_" + title + ".QUV";
    // The data file beside its header, in whatever letter case it was written.
    std::string companion = dv::companionFile(path, dataExt);
    if (dv::fileExists(companion)) dv::copyFile(companion, projectPath(f.secondName));
  } else {
    f.secondName = f.firstName;
  }
  // A position sidecar beside it under its base name goes with it.
  const std::string sidecar = sidecarBeside(path);
  if (!sidecar.empty()) dv::copyFile(sidecar, projectPath("GPS_" + f.firstName));
  f.windowSet = 0;
  f.reserved = -1;
  if (const ProjectDefaults* d = displayDefaults()) {
    f.gain = d->values.rawGain;
    f.palette = d->values.rawPalette;
  }
  f.colours = 64;
  // Copy and write failures are not reported here: an item whose files are
  // missing is marked bad when it loads.
  dv::writeFileAtomic(projectPath("RAW_" + title + ".QUV"), encodeRawItemFile(f));

  auto insert = fw<PfnInsertTreeObject>(PONTRA_InsertTreeObject);
  if (!insert) return;
  auto* obj = new RawObject;
  DvHandle item = nullptr;
  if (insert(rawTypeIndex(), name.c_str(), (title + ".QUV").c_str(), 0, obj, &item) != 0 || !item) {
    delete obj;
    return;
  }
  obj->item = item;
  loadRawItem(*obj);
  msg(DV_MSG_PLAIN,
      treeBad(item) ? quv::kMsgRawDataAddedFailed : quv::kMsgRawDataAddedCompleted,
      name.c_str());
  if (!sidecar.empty() && obj->data)
    msg(DV_MSG_PLAIN, kMsgRawDataPositionsStored, name.c_str(), fileNameOf(sidecar).c_str(),
        describeSidecar(*obj->data).c_str());
}

void runRawAddDialog() {
  if (projectDir().empty()) return;
  CRawAddDlg dlg;
  dlg.doModal();
}

}  // namespace quv
