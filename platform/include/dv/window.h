// Document windows inside the frame's multiple-document area, and the frame
// model that the Qt view shows: menu bar, toolbar, status panes, tree bar,
// message bar and the document area.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dv/canvas.h"
#include "dv/menu.h"
#include "dv/tree.h"

namespace dv {

// --- input and the drawable areas of document windows ------------------------

// Mouse buttons (the button of an event, or or'ed: the buttons held).
enum MouseButton : unsigned { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
// Key modifiers held during an event, or'ed.
enum KeyModifier : unsigned { kShiftKey = 1, kControlKey = 2, kAltKey = 4 };

// A mouse event in client pixels of the pane it reaches, with the screen
// position for pop-up menus.
struct MouseEvent {
  int x = 0, y = 0;
  int screenX = 0, screenY = 0;
  unsigned button = 0;   // the button pressed or released (0 for a move)
  unsigned buttons = 0;  // the buttons held after the event
  unsigned modifiers = 0;
};

// A wheel turn: 120 per notch, positive away from the user (or to the right).
struct WheelEvent {
  int x = 0, y = 0;
  int delta = 0;
  bool horizontal = false;
  unsigned modifiers = 0;
};

// Key codes of the keys a display handles (the platform's virtual-key values).
enum KeyCode : int {
  kKeyBack = 0x08, kKeyTab = 0x09, kKeyReturn = 0x0D, kKeyEscape = 0x1B, kKeySpace = 0x20,
  kKeyPageUp = 0x21, kKeyPageDown = 0x22, kKeyEnd = 0x23, kKeyHome = 0x24,
  kKeyLeft = 0x25, kKeyUp = 0x26, kKeyRight = 0x27, kKeyDown = 0x28, kKeyDelete = 0x2E,
  kKeyF1 = 0x70,
};
struct KeyEvent {
  int key = 0;           // KeyCode, or the upper-case letter / digit
  unsigned modifiers = 0;
  std::string text;      // the characters typed, UTF-8
  bool autoRepeat = false;
};

// Scroll-bar actions as the bars report them (the SB_ codes).
enum ScrollAction : int {
  kScrollLineUp = 0, kScrollLineDown = 1, kScrollPageUp = 2, kScrollPageDown = 3,
  kScrollThumbPosition = 4, kScrollThumbTrack = 5, kScrollTop = 6, kScrollBottom = 7,
  kScrollEnd = 8,
};

// One scroll bar as model state: the pane sets it, the view shows a native
// bar and reports the user's scrolling back through Pane::onScroll.
struct ScrollBarState {
  int id = 0;  // control id (20401, ...)
  int minimum = 0, maximum = 100;
  int page = 1;
  int position = 0;
  bool visible = false;
  bool operator==(const ScrollBarState&) const = default;
};

enum class CursorShape { Arrow, Cross, SizeHorizontal, SizeVertical, UpArrow, Wait, Hand, IBeam };

// A drawable area of a document window: its client is painted through a
// canvas and receives mouse, wheel, key, size and scroll events in client
// pixels. A pane may have child panes (views), each at a rectangle of the
// parent's client, shown or hidden; the pane lays them out in onSize. The
// scroll bars of a pane lie over its client along the right and bottom
// edges (the client size includes them): a pane that shows them keeps its
// drawing clear of scrollBarWidth / scrollBarHeight.
class Pane {
 public:
  virtual ~Pane() = default;

  // What changed, for the view that shows the pane.
  enum Change { Repaint, Layout, ScrollBars, Cursor, Capture };
  std::function<void(Change)> onChange;  // set by the view

  // Hooks. Coordinates are the pane's client pixels.
  virtual void onPaint(Canvas& canvas) {}
  virtual void onMouseDown(const MouseEvent& e) {}
  virtual void onMouseUp(const MouseEvent& e) {}
  virtual void onMouseMove(const MouseEvent& e) {}
  virtual void onDoubleClick(const MouseEvent& e) {}
  // The mouse left the pane (readouts clear).
  virtual void onMouseLeave() {}
  virtual bool onWheel(const WheelEvent& e) { return false; }
  virtual bool onKey(const KeyEvent& e) { return false; }
  // The client has a new size; children are laid out here.
  virtual void onSize(int width, int height) {}
  virtual void onScroll(bool vertical, int action, int position) {}

  // State.
  int id = 0;
  int width() const { return width_; }
  int height() const { return height_; }
  // Sets the client size and calls onSize (the view, a renderer or a test).
  void resize(int width, int height) {
    width_ = width < 0 ? 0 : width;
    height_ = height < 0 ? 0 : height;
    onSize(width_, height_);
  }

  // Child panes in drawing order; placed and shown by the parent.
  std::vector<Pane*>& children() { return children_; }
  const std::vector<Pane*>& children() const { return children_; }
  const Rect& geometry() const { return geometry_; }
  bool visible() const { return visible_; }
  // Moves a child within its parent's client (resizing it) and shows or hides it.
  void place(const Rect& r) {
    geometry_ = r;
    resize(r.right - r.left, r.bottom - r.top);
    changed(Layout);
  }
  void show(bool on) {
    if (visible_ == on) return;
    visible_ = on;
    changed(Layout);
  }

  ScrollBarState hScroll, vScroll;
  // Extent of the scroll bars in pixels (the view sets the platform's).
  int scrollBarWidth = 17, scrollBarHeight = 17;
  void setScrollBars(const ScrollBarState& h, const ScrollBarState& v) {
    if (h == hScroll && v == vScroll) return;
    hScroll = h;
    vScroll = v;
    changed(ScrollBars);
  }

  CursorShape cursor() const { return cursor_; }
  void setCursor(CursorShape c) {
    if (c == cursor_) return;
    cursor_ = c;
    changed(Cursor);
  }
  // Mouse capture: every mouse event reaches this pane until released.
  bool captured() const { return capture_; }
  void setCapture(bool on) {
    if (on == capture_) return;
    capture_ = on;
    changed(Capture);
  }

  // Asks for a repaint of the pane (and nothing else: no timers).
  void repaint() { changed(Repaint); }

 protected:
  void changed(Change c) {
    if (onChange) onChange(c);
  }

 private:
  int width_ = 0, height_ = 0;
  std::vector<Pane*> children_;
  Rect geometry_;
  bool visible_ = true;
  CursorShape cursor_ = CursorShape::Arrow;
  bool capture_ = false;
};

// The window placement: the normal rectangle in the document area and the
// show state.
struct DocPlacement {
  Rect normal;  // left, top, right, bottom in the area's pixels
  bool minimized = false, maximized = false;
  bool valid() const { return normal.right > normal.left && normal.bottom > normal.top; }
};

struct ToolButton;

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
  // The window's drawable client, or nullptr for a window that does not
  // paint (the frame shows its title then).
  virtual Pane* pane() { return nullptr; }
  // The window became the active document window, or stopped being it.
  virtual void onActivate(bool active) {}
  // The view reports where the window is (after every move, resize or
  // change of show state); `placement` is where a new window is shown.
  virtual void onPlacement(const DocPlacement& p) { placement = p; }
  DocPlacement placement;
  // The buttons of the window's object toolbar while it is active (docked
  // beside the frame's toolbar); nullptr = none.
  virtual const std::vector<ToolButton>* toolBar() { return nullptr; }

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
  bool hidden = false;   // not shown (a button of another mode)
  bool checked = false;  // shown pressed
};

// The toolbar the frame keeps for one module (GetObjToolBar hands out its
// address): the module fills the buttons and shows or hides it.
struct ObjToolBar {
  std::vector<ToolButton> buttons;
  bool visible = false;
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
  // The most recently made frame still alive: document windows of modules
  // find the frame's area and bars through it.
  FrameModel() { registry().push_back(this); }
  ~FrameModel() { std::erase(registry(), this); }
  FrameModel(const FrameModel&) = delete;
  FrameModel& operator=(const FrameModel&) = delete;
  static FrameModel* current() { return registry().empty() ? nullptr : registry().back(); }

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

 private:
  static std::vector<FrameModel*>& registry();
};

}  // namespace dv
