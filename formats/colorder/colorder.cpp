// The "Select File Columns " dialog: which columns of a text table hold
// which quantity, asked before the Quv module imports geometry, elevation,
// marker or velocity tables.
#include <cstdlib>
#include <string>
#include <vector>

#include "dv/dialog.h"
#include "dv/file.h"
#include "dv/ui.h"
#include "scrivel_internal.h"

namespace scrivel {

namespace {

enum {
  IDC_PATH = 20000,
  IDC_LINES = 20001,
  IDC_COL_FIRST = 20002,   // five edits 20002 .. 20006
  IDC_NAME_FIRST = 20007,  // five labels 20007 .. 20011
};

class CColOrderDlg : public dv::Dialog {
 public:
  CColOrderDlg(const std::string& path, int count, const char* const names[5])
      : Dialog(100, "Select File Columns ", 186, 221), path_(path), count_(count) {
    addStatic(IDC_PATH, "", {7, 7, 179, 17});
    addList(IDC_LINES, {7, 20, 179, 80});
    addStatic(-1, "Column #:", {7, 86, 60, 96});
    addStatic(-1, "Contents:", {70, 86, 179, 96});
    for (int i = 0; i < 5; ++i) {
      int top = 100 + 18 * i;
      addEdit(IDC_COL_FIRST + i, {7, top, 50, top + 14});
      addStatic(IDC_NAME_FIRST + i, names[i] ? names[i] : "", {70, top + 2, 179, top + 12});
    }
    addButton(dv::IDOK, "OK", {40, 200, 90, 214}, true);
    addButton(dv::IDCANCEL, "Cancel", {100, 200, 150, 214});
  }

  bool onInitDialog() override {
    setText(IDC_PATH, path_);
    std::vector<std::string> lines;
    dv::File f;
    if (f.open(path_, dv::File::ReadOnly, true)) {
      std::string line;
      while ((int)lines.size() < 5 && f.readLine(line)) lines.push_back(line);
    } else {
      lines.push_back("Could not open file");
    }
    setItems(IDC_LINES, lines);
    for (int i = 0; i < 5; ++i) {
      setText(IDC_COL_FIRST + i, std::to_string(i + 1));
      bool shown = i < count_;
      show(IDC_COL_FIRST + i, shown);
      show(IDC_NAME_FIRST + i, shown);
    }
    return true;
  }

  void onOK() override {
    // Checked from the last visible box to the first; the first invalid one
    // keeps the dialog open.
    for (int i = count_ - 1; i >= 0; --i) {
      int v = columnValue(text(IDC_COL_FIRST + i));
      if (v < 1 || v > 10) {
        dv::messageBox("Column numbers must be between 1 and 10.", "Warning",
                       dv::MB_OK | dv::MB_ICONWARNING);
        return;
      }
      values[i] = v;
    }
    endDialog(dv::IDOK);
  }

  int values[5] = {0, 0, 0, 0, 0};

 private:
  // Decimal conversion; anything that is not a whole number counts as 0.
  static int columnValue(const std::string& s) {
    size_t a = s.find_first_not_of(" \t");
    if (a == std::string::npos) return 0;
    const char* start = s.c_str() + a;
    char* end = nullptr;
    long v = std::strtol(start, &end, 10);
    if (end == start) return 0;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end) return 0;
    return v < -1000000 || v > 1000000 ? 0 : (int)v;
  }
  std::string path_;
  int count_;
};

}  // namespace

}  // namespace scrivel

DV_EXPORT int GetColOrder(const char* path, int count, const char* name1, const char* name2,
                          const char* name3, const char* name4, const char* name5, int* col1,
                          int* col2, int* col3, int* col4, int* col5) {
  if (count < 1) count = 1;
  if (count > 5) count = 5;
  const char* names[5] = {name1, name2, name3, name4, name5};
  scrivel::CColOrderDlg dlg(path ? path : "", count, names);
  if (dlg.doModal() != dv::IDOK) return 1;
  int* outs[5] = {col1, col2, col3, col4, col5};
  for (int i = 0; i < count; ++i)
    if (outs[i]) *outs[i] = dlg.values[i];
  return 0;
}
