// Modal dialogs described by their controls, addressed by control id, like
// the dialog templates they stand for. A dialog class derives from Dialog,
// adds its controls in its constructor and overrides the handlers. The Qt
// backend builds widgets from the description; the headless backend drives
// the same object from a script.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dv/grid.h"
#include "dv/winconst.h"

namespace dv {

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

enum class ControlKind {
  Static,    // text label
  Edit,      // one line, or several with `multiline`
  ListBox,   // `items`, `sel` (or `multiSel` with `multiple`)
  ComboBox,  // drop-down list: `items`, `sel`; `editable` lets the user type `text`
  Radio,     // `check`; a radio with `group` starts a new group
  Check,     // check box: `check`
  Button,    // push button; `isDefault` for the default button
  Group,     // group box frame with caption
  Tab,       // tab strip: `items`, `sel`
  Grid,      // the grid control: `grid`
  Progress,  // progress bar: `pos` 0..100
  Icon,      // the application icon
};

struct Control {
  int id = 0;
  ControlKind kind = ControlKind::Static;
  std::string caption;  // label, button text or initial edit text
  Rect rect;            // dialog units
  bool visible = true;
  bool enabled = true;
  // Values.
  std::string text;  // edits (and editable combo boxes)
  std::vector<std::string> items;
  int sel = -1;
  std::vector<int> multiSel;
  int check = 0;
  int pos = 0;
  // Styles.
  bool multiline = false;
  bool readOnly = false;
  bool multiple = false;
  bool group = false;
  bool isDefault = false;
  bool editable = false;
  bool password = false;
  std::shared_ptr<GridModel> grid;
};

class Dialog {
 public:
  Dialog(int resourceId, std::string caption, int width, int height);
  virtual ~Dialog() = default;

  int resourceId() const { return resourceId_; }
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& c) { caption_ = c; changed(); }
  int width() const { return width_; }
  int height() const { return height_; }
  int helpContext() const { return helpContext_; }
  void setHelpContext(int h) { helpContext_ = h; }

  // Building the description.
  Control& add(ControlKind kind, int id, const std::string& caption, Rect r);
  Control& addStatic(int id, const std::string& text, Rect r) {
    return add(ControlKind::Static, id, text, r);
  }
  Control& addEdit(int id, Rect r) { return add(ControlKind::Edit, id, "", r); }
  Control& addButton(int id, const std::string& text, Rect r, bool def = false);
  Control& addList(int id, Rect r) { return add(ControlKind::ListBox, id, "", r); }
  Control& addCombo(int id, Rect r) { return add(ControlKind::ComboBox, id, "", r); }
  Control& addCheck(int id, const std::string& text, Rect r) {
    return add(ControlKind::Check, id, text, r);
  }
  Control& addRadio(int id, const std::string& text, Rect r, bool startsGroup = false);
  Control& addGrid(int id, Rect r);
  std::vector<Control>& controls() { return controls_; }
  const std::vector<Control>& controls() const { return controls_; }
  Control* control(int id);
  const Control* control(int id) const;

  // Value access by id (GetDlgItemText and friends).
  std::string text(int id) const;
  void setText(int id, const std::string& t);
  int check(int id) const;
  void setCheck(int id, int v);
  // Ticks one radio of its group and clears the others.
  void checkRadio(int id);
  int selection(int id) const;
  void setSelection(int id, int index);
  std::string selectedText(int id) const;
  void setItems(int id, std::vector<std::string> items);
  void addItem(int id, const std::string& item);
  const std::vector<std::string>& items(int id) const;
  void show(int id, bool visible);
  void enable(int id, bool enabled);
  GridModel* grid(int id);

  // Handlers. onCommand receives every button press (ids IDOK and IDCANCEL
  // included) and every notification (EN_CHANGE, LBN_SELCHANGE, ...).
  virtual bool onInitDialog() { return true; }
  virtual void onCommand(int id, int notify);
  virtual void onOK() { endDialog(IDOK); }
  virtual void onCancel() { endDialog(IDCANCEL); }
  virtual void onGridEdited(int gridId, int row, int col) {}
  // Called by the backend after each handler so the view can refresh.
  void changed() {
    if (onChanged) onChanged();
  }

  // Runs the dialog through the UI service; returns the end code.
  int doModal();
  void endDialog(int code);
  bool ended() const { return ended_; }
  int result() const { return result_; }
  void resetForRun() {
    ended_ = false;
    result_ = 0;
  }

  std::function<void()> onChanged;

 private:
  int resourceId_;
  std::string caption_;
  int width_, height_;
  int helpContext_ = 0;
  std::vector<Control> controls_;
  bool ended_ = false;
  int result_ = 0;
};

// A property sheet: pages (each a Dialog) under one caption with OK, Cancel
// and Apply. OK asks every page to accept, in page order.
class PropertySheet {
 public:
  explicit PropertySheet(std::string caption) : caption_(std::move(caption)) {}
  virtual ~PropertySheet() = default;
  void addPage(Dialog* page) { pages_.push_back(page); }
  const std::vector<Dialog*>& pages() const { return pages_; }
  const std::string& caption() const { return caption_; }
  int activePage() const { return active_; }
  void setActivePage(int i) { active_ = i; }
  // Each page's onOK is called; a page that does not end itself keeps the
  // sheet open.
  virtual bool applyAll();
  int doModal();

 private:
  std::string caption_;
  std::vector<Dialog*> pages_;
  int active_ = 0;
};

}  // namespace dv
