// Selection sets: the selection dialog (304) in which the user ticks the raw
// data sets or profiles a batch works on (and, for profiles, the version of
// each), the selection-set files (".sel") that save and restore a choice,
// the "Choose Version" dialog (335) of one profile's Select command, and the
// batch selection check every batch command on selected items runs first.
//
// A ".sel" file is text, one line per ticked item: the name in double
// quotes (raw data), or the name and the version text each in double
// quotes, joined by a comma (profiles). Lines beginning with "/" after
// leading blanks are comments; empty lines are ignored.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "delvar/module.h"
#include "dv/dialog.h"

namespace quv {

struct ProfileItem;

enum class SelectionMode { Raw, Profiles };

// --- pure ---------------------------------------------------------------------

// "T%i %s", "D%i %s", "E%i %s" for kinds 0, 1, 2 (number and version name).
std::string versionText(int kind, int number, const std::string& name);
// The kind and number of a version text: more than one character, its first
// letter T, D or E, the integer after it. False when the text names none.
bool parseVersionText(const std::string& text, int& kind, int& number);

struct SelectionEntry {
  std::string name;     // upper case, quotes and surrounding blanks removed
  std::string version;  // the same; empty for raw data lines
};
// The entries of a selection-set file's text (every line in upper case).
std::vector<SelectionEntry> parseSelectionSet(const std::string& text);
// One line of a selection-set file, with its line end.
std::string selectionSetLine(const std::string& name, const std::string* version);

// One row of the selection dialog's grid.
struct SelectionRow {
  std::string name;
  bool ticked = false;
  std::string version;               // profiles: the Version cell
  std::vector<std::string> choices;  // profiles: every version of the profile
};

// The selection dialog over rows given to it; OK leaves the edited rows in
// rows(). The dialog knows nothing of the tree: the caller fills the rows
// from a folder and applies them afterwards.
class CSelectDlg : public dv::Dialog {
 public:
  enum { IDC_GRID = 20600, IDC_SELECT_ALL = 20601, IDC_DESELECT_ALL = 20602,
         IDC_INVERT = 20603, IDC_LOAD = 20604, IDC_SAVE = 20605, IDC_SELECT_HIGHLIGHTED = 20606 };
  CSelectDlg(SelectionMode mode, std::vector<SelectionRow> rows, std::string startFolder);
  bool onInitDialog() override;
  void onCommand(int id, int notify) override;
  void onOK() override;
  const std::vector<SelectionRow>& rows() const { return rows_; }

 private:
  bool profiles() const { return mode_ == SelectionMode::Profiles; }
  void tickAll(int how);  // 1 tick, 0 untick, -1 toggle
  void loadSet();
  void saveSet();
  SelectionMode mode_;
  std::vector<SelectionRow> rows_;
  std::string startFolder_;
};

// The Choose Version dialog over a list of version texts; OK leaves the
// text of its field in choice().
class CChooseVersionDlg : public dv::Dialog {
 public:
  enum { IDC_VERSIONS = 22700 };
  CChooseVersionDlg(std::vector<std::string> versions, std::string current);
  bool onInitDialog() override;
  void onCommand(int id, int notify) override;
  void onOK() override;
  const std::string& choice() const { return choice_; }

 private:
  std::vector<std::string> versions_;
  std::string current_, choice_;
};

// --- with the project (module state) -----------------------------------------

// Shows the selection dialog for the "Raw Data" or "Profiles" folder and, on
// OK, applies the ticks (and the profiles' versions) to the items. Returns
// dv::IDOK or dv::IDCANCEL.
int runSelectionDialog(SelectionMode mode);
// 0 when the batch may run, 1 when not: the folder must exist and an item
// must qualify (selected; for profiles with a time version selected when one
// is needed, else a depth version when one is needed), offering the
// selection dialog when none does.
int batchSelectionCheck(SelectionMode mode, bool needTime, bool needDepth);
// The profile object's Select command: the Choose Version dialog. True when
// a choice that names one of the profile's versions was confirmed, with its
// kind and number (the caller marks the item selected and stores them).
bool chooseProfileVersion(ProfileItem& profile, int* kind, int* number);

}  // namespace quv
