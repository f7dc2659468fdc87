// Selection with the project: the selection dialog filled from a folder and
// applied to its items, the batch selection check, Choose Version.
#include "dv/ui.h"
#include "project/tree_items.h"
#include "project/profile.h"
#include "project/quv.h"
#include "project/selection.h"
#include "project/messages.h"

namespace quv {

namespace {

std::vector<std::string> versionTexts(const ProfileItem& p) {
  std::vector<std::string> out;
  for (const VersionChoice& v : profileVersions(p)) out.push_back(versionText(v.kind, v.number, v.name));
  return out;
}

// The profile's selected version as the dialogs show it: the letter of the
// selected kind, the selected number and the name of that version.
std::string selectedVersionText(const ProfileItem& p) {
  const ProfileVersion* v = findVersion(p, p.selection1, p.selection2);
  return versionText(p.selection1, p.selection2, v ? v->name : "");
}

// Takes a version text for a profile when it names one of its versions.
bool applyVersionText(ProfileItem& p, const std::string& text) {
  int kind = 0, number = 0;
  if (!parseVersionText(text, kind, number) || !findVersion(p, kind, number)) return false;
  p.selection1 = kind;
  p.selection2 = number;
  return true;
}

bool qualifies(DvHandle item, SelectionMode mode, bool needTime, bool needDepth) {
  if (!treeSelected(item)) return false;
  if (mode == SelectionMode::Raw) return true;
  const ProfileItem* p = profileOf(item);
  if (needTime) return p && p->selection1 == kTimeVersion;
  if (needDepth) return p && p->selection1 == kDepthVersion;
  return true;
}

bool anyQualifies(DvHandle folder, SelectionMode mode, bool needTime, bool needDepth) {
  for (DvHandle it : childItems(folder))
    if (qualifies(it, mode, needTime, needDepth)) return true;
  return false;
}

}  // namespace

int runSelectionDialog(SelectionMode mode) {
  bool profiles = mode == SelectionMode::Profiles;
  DvHandle folder = profiles ? profileFolder() : rawFolder();
  std::vector<DvHandle> items;
  std::vector<SelectionRow> rows;
  // Bad items are never listed, so OK never changes their flags.
  for (DvHandle it : childItems(folder)) {
    if (treeBad(it)) continue;
    SelectionRow row;
    row.name = treeName(it);
    row.ticked = treeSelected(it) != 0;
    if (profiles)
      if (const ProfileItem* p = profileOf(it)) {
        row.choices = versionTexts(*p);
        row.version = selectedVersionText(*p);
      }
    items.push_back(it);
    rows.push_back(std::move(row));
  }
  CSelectDlg dlg(mode, std::move(rows), projectDir());
  if (dlg.doModal() != dv::IDOK) return dv::IDCANCEL;
  auto setSelected = fw<PfnSetTreeInt>(PONTRA_SetTreeSelected);
  std::vector<DvHandle> children = childItems(folder);
  for (const SelectionRow& row : dlg.rows()) {
    DvHandle match = nullptr;
    for (DvHandle it : children)
      if (treeName(it) == row.name) {
        match = it;
        break;
      }
    if (!match) continue;
    if (setSelected) setSelected(match, row.ticked ? 1 : 0);
    if (profiles && row.version.size() > 1)
      if (ProfileItem* p = profileOf(match)) applyVersionText(*p, row.version);
  }
  return dv::IDOK;
}

int batchSelectionCheck(SelectionMode mode, bool needTime, bool needDepth) {
  DvHandle folder = mode == SelectionMode::Profiles ? profileFolder() : rawFolder();
  if (!folder) {
    // The same text for raw data.
    dv::messageBox(kMsgNoProfilesAvailable, "SelectIfNone", dv::MB_OK | dv::MB_ICONINFORMATION);
    return 1;
  }
  if (anyQualifies(folder, mode, needTime, needDepth)) return 0;
  if (runSelectionDialog(mode) != dv::IDOK) return 1;
  return anyQualifies(folder, mode, needTime, needDepth) ? 0 : 1;
}

bool chooseProfileVersion(ProfileItem& profile, int* kind, int* number) {
  CChooseVersionDlg dlg(versionTexts(profile), selectedVersionText(profile));
  if (dlg.doModal() != dv::IDOK) return false;
  int k = 0, n = 0;
  if (!parseVersionText(dlg.choice(), k, n) || !findVersion(profile, k, n)) return false;
  if (kind) *kind = k;
  if (number) *number = n;
  return true;
}

}  // namespace quv
