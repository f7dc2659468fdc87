// Menus: command ids, captions with & mnemonics, separators, greyed and
// checked entries, pop-ups. A menu is a plain object; the Qt backend shows
// it, the headless backend chooses from it by script.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "dv/winconst.h"

namespace dv {

class Menu;

struct MenuItem {
  int id = 0;
  std::string caption;
  bool separator = false;
  bool grayed = false;
  bool checked = false;
  std::unique_ptr<Menu> popup;
};

class Menu {
 public:
  Menu() = default;
  Menu(const Menu&) = delete;
  Menu& operator=(const Menu&) = delete;

  // AppendMenu: flags MF_STRING / MF_SEPARATOR / MF_GRAYED / MF_CHECKED.
  void append(unsigned flags, int id, const std::string& caption);
  void appendSeparator() { append(MF_SEPARATOR, 0, ""); }
  // Appends a pop-up; the menu takes ownership and returns the pop-up.
  Menu* appendPopup(const std::string& caption, std::unique_ptr<Menu> popup);
  Menu* appendPopup(const std::string& caption) {
    return appendPopup(caption, std::make_unique<Menu>());
  }

  // EnableMenuItem / CheckMenuItem by command, searching pop-ups too.
  bool enable(int id, bool enabled);
  bool check(int id, bool checked);
  MenuItem* find(int id);
  const MenuItem* find(int id) const;
  // Finds a command by its caption path ("&File/&Open/Create Project"); the
  // comparison ignores '&' and letter case. Returns 0 when absent.
  int findCommand(const std::string& captionPath) const;
  bool removeAt(size_t index);
  void clear() { items_.clear(); }

  std::vector<MenuItem>& items() { return items_; }
  const std::vector<MenuItem>& items() const { return items_; }
  size_t size() const { return items_.size(); }

  // Caption without mnemonic markers ("&Open" -> "Open", "&&" -> "&").
  static std::string plainCaption(const std::string& caption);

 private:
  std::vector<MenuItem> items_;
};

}  // namespace dv
