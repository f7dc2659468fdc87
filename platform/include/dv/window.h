// Document windows inside the frame's multiple-document area, and the frame
// model that the Qt view shows: menu bar, toolbar, status panes, tree bar,
// message bar and the document area.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dv/menu.h"
#include "dv/tree.h"

namespace dv {

class DocWindow {
 public:
  virtual ~DocWindow() = default;
  const std::string& title() const { return title_; }
  void setTitle(const std::string& t) {
    title_ = t;
    invalidate();
  }
  bool maximized() const { return maximized_; }
  void setMaximized(bool m) { maximized_ = m; }

  // A command reaches the active document window first; true = handled.
  virtual bool onCommand(int id) { return false; }
  // Is the command available (menu greying)? -1 = no opinion.
  virtual int commandState(int id) { return -1; }
  virtual void onMessage(int msg, intptr_t wparam, intptr_t lparam) {}
  // Asked before the window closes; false keeps it open.
  virtual bool onClose() { return true; }
  // The window's own menu bar while it is active; nullptr = the frame's.
  virtual Menu* menuBar() { return nullptr; }

  void invalidate() {
    if (onInvalidate) onInvalidate();
  }
  std::function<void()> onInvalidate;  // set by the view

 private:
  std::string title_;
  bool maximized_ = false;
};

class MdiArea {
 public:
  enum Event { Added, Removed, Activated, Maximized, Cascade, TileHorizontal, TileVertical,
               ArrangeIcons };
  void add(DocWindow* w);
  void remove(DocWindow* w);
  void activate(DocWindow* w);
  void maximize(DocWindow* w, bool on = true);
  DocWindow* active() const { return active_; }
  const std::vector<DocWindow*>& windows() const { return windows_; }
  void arrange(Event how) { notify(nullptr, how); }
  // Sends a message to every document window.
  void broadcast(int msg, intptr_t wparam, intptr_t lparam);

  std::function<void(DocWindow*, Event)> onEvent;  // set by the view

 private:
  void notify(DocWindow* w, Event e) {
    if (onEvent) onEvent(w, e);
  }
  std::vector<DocWindow*> windows_;
  DocWindow* active_ = nullptr;
};

// The message bar's multi-line, read-only edit control: text, the current
// selection and a character limit.
struct LogEdit {
  std::string text;
  size_t selStart = 0, selEnd = 0;
  size_t limit = 65535;
  bool caretAtEnd() const { return selStart == selEnd && selEnd == text.size(); }
  std::function<void()> onChanged;  // set by the view
  void changed() {
    if (onChanged) onChanged();
  }
};

struct ToolButton {
  int id = 0;           // 0 = separator
  std::string icon;     // icon name (freedesktop theme name)
  std::string tooltip;
};

class FrameHandler {
 public:
  virtual ~FrameHandler() = default;
  virtual void frameCommand(int id) = 0;
  // The user closes the frame; false keeps it open.
  virtual bool frameClose() = 0;
  // Status-bar prompt of a command ("" when none).
  virtual std::string framePrompt(int id) { return ""; }
  // F1 with a dialog open: help context.
  virtual void frameHelp(int context) {}
};

class FrameModel {
 public:
  std::string title;
  Menu* menuBar = nullptr;  // owned by the frame's logic
  std::vector<ToolButton> toolbar;
  std::vector<std::string> statusPanes;  // 0 = message pane, 1..4 modules
  std::vector<int> statusWidths;
  TreeModel tree;
  LogEdit messageBar;
  MdiArea mdi;
  bool toolBarVisible = true;
  bool statusBarVisible = true;
  bool treeBarVisible = true;
  bool messageBarVisible = true;
  int treeBarWidth = 200;
  int messageBarHeight = 120;
  bool waitCursor = false;
  FrameHandler* handler = nullptr;

  enum Part { Title, MenuBar, ToolBar, StatusBar, Bars, All };
  std::function<void(Part)> onChanged;  // set by the view
  void changed(Part p) {
    if (onChanged) onChanged(p);
  }
};

}  // namespace dv
