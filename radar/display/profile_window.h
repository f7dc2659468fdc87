// CProfileWnd: the document window in which a profile is viewed, one
// version at a time, chosen on a strip of version tabs. Its client holds a
// band with the "View Text" button, the "Pres." check box and the tabs;
// below it the normal view (the gained image with wiggles and axes, with
// its two scroll bars), the separator and the trace panel, or the text
// view, or the presentation view. The window's menu bar is the frame's with
// a "&Profile" pop-up for the current mode; its object toolbar is the
// module's toolbar of the frame (GetObjToolBar).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "display/image.h"
#include "display/presentation_page.h"
#include "display/profile_window_rules.h"
#include "dv/bitmap.h"
#include "dv/window.h"
#include "project/fitted_velocity.h"
#include "project/profile.h"
#include "quv/ids.h"

namespace quv {

class CProfileWnd;


// The "&Profile" pop-up of a mode (text mode: the placeholder "???").
std::unique_ptr<dv::Menu> profileMenu(bool textMode, bool presentationMode);
// The window's pop-ups by resource name: "WPRFLTRACES", "WPRFRWND",
// "WPRFPWND", "WPRFPTEXT", "WPRF3TAB", "WPRF4TAB" (nullptr otherwise).
std::unique_ptr<dv::Menu> profilePopup(const std::string& name);
// The object toolbar's buttons; those not of the mode are hidden, the
// palette and wiggle buttons of the mode pressed for the record's state.
std::vector<dv::ToolButton> profileToolBar(bool presentationMode, const DisplaySettings& normal,
                                           const DisplaySettings& presentation, int layoutMode = 0);

// The normal view (20400): image, wiggles, frame, axes, scroll bars, the
// zoom rectangle, Set Time Zero, readouts and the right-button zones.
class NormalView : public dv::Pane {
 public:
  explicit NormalView(CProfileWnd& w);
  void onPaint(dv::Canvas& c) override;
  void onMouseDown(const dv::MouseEvent& e) override;
  void onMouseUp(const dv::MouseEvent& e) override;
  void onMouseMove(const dv::MouseEvent& e) override;
  void onMouseLeave() override;
  bool onWheel(const dv::WheelEvent& e) override;
  bool onKey(const dv::KeyEvent& e) override;
  void onSize(int w, int h) override;
  void onScroll(bool vertical, int action, int position) override;

  // The image rectangle and pixel maps for the current size and zoom window.
  const dv::Rect& image() const { return image_; }
  const PixelMaps& maps() const { return maps_; }
  // The bitmap of the last paint (image, wiggles and frame).
  const dv::IndexedBitmap& bitmap() const { return bitmap_; }
  bool dragging() const { return dragging_; }
  bool draggingHyperbola() const { return draggingHyperbola_; }
  // Rebuilds the pixel maps and the scroll bars after a change of size or zoom window.
  void zoomChanged();
  // Shows the readouts for the pixel (x, y), or the panes without pane 0.
  void showReadouts(int x, int y);
  // The fitted hyperbola as pixel points over the image (in Fit Hyperbola
  // mode), empty when there is none to draw.
  std::vector<dv::Point> hyperbolaPoints() const;

 private:
  // Fit Hyperbola mode: a press near the drawn hyperbola starts a drag that
  // widens or narrows it, any other press in the image fits a new one.
  void fitPress(int x, int y);
  // The pixel's trace and sample as fractions, from the maps' linear rule.
  double traceAtColumn(double x) const;
  double sampleAtRow(double y) const;
  CProfileWnd& w_;
  dv::Rect image_;
  PixelMaps maps_;
  dv::IndexedBitmap bitmap_;
  bool dragging_ = false;
  bool draggingHyperbola_ = false;
  dv::Point anchor_, corner_;
};

// The text view (20200): the version's header fields as lines of text.
class TextView : public dv::Pane {
 public:
  explicit TextView(CProfileWnd& w) : w_(w) { id = IDC_TEXT_VIEW; }
  void onPaint(dv::Canvas& c) override;
  void onMouseUp(const dv::MouseEvent& e) override;
  std::vector<std::string> lines() const;

 private:
  CProfileWnd& w_;
};

// The presentation view (20300): the page of the presentation record over
// its visible region, with equal scale and two scroll bars (20302, 20303);
// in edit layout mode the elements are moved and resized by their
// trackers, in zoom layout mode a rubber band becomes the visible region.
class PresentationView : public dv::Pane {
 public:
  explicit PresentationView(CProfileWnd& w);
  void onPaint(dv::Canvas& c) override;
  void onMouseDown(const dv::MouseEvent& e) override;
  void onMouseUp(const dv::MouseEvent& e) override;
  void onMouseMove(const dv::MouseEvent& e) override;
  bool onWheel(const dv::WheelEvent& e) override;
  void onSize(int w, int h) override;
  void onScroll(bool vertical, int action, int position) override;

  // The client without the scroll bars, at least 100 x 100 pixels.
  int clientWidth() const;
  int clientHeight() const;
  // Where the last paint put the page and its elements.
  const PageLayout& layout() const { return layout_; }
  // The visible region changed (or another record is shown): equal scale,
  // scroll bars, repaint.
  void regionChanged();
  // Zoom Out: the whole page.
  void zoomOut();
  // The element under a client pixel (the last drawn first), -1 for none.
  int elementAt(int x, int y, bool trackers) const;

 private:
  CProfileWnd& w_;
  dv::IndexedBitmap bitmap_;
  PageLayout layout_;
  int oldWidth_ = 0, oldHeight_ = 0;
  // A drag: an element's tracker (edit layout mode) or the zoom band.
  int dragElement_ = -1, dragHit_ = -1;
  bool zooming_ = false;
  dv::Point anchor_, corner_;
};

// The window's client: the band, the tabs, the separator and the trace panel,
// with the three views as children.
class ProfileClient : public dv::Pane {
 public:
  explicit ProfileClient(CProfileWnd& w);
  void onPaint(dv::Canvas& c) override;
  void onMouseDown(const dv::MouseEvent& e) override;
  void onMouseUp(const dv::MouseEvent& e) override;
  void onMouseMove(const dv::MouseEvent& e) override;
  void onSize(int w, int h) override;

  // The tab rectangles of the current text extents (one per version).
  const std::vector<dv::Rect>& tabRects() const { return tabRects_; }
  int tabAt(int x, int y) const;
  const WindowLayout& layout() const { return layout_; }
  void relayout();

 private:
  void paintTracePanel(dv::Canvas& c);
  CProfileWnd& w_;
  WindowLayout layout_;
  std::vector<dv::Rect> tabRects_;
  bool splitting_ = false;
  int splitAt_ = 0;
};

class CProfileWnd : public dv::DocWindow {
 public:
  // A window for the profile showing `version`, which is open for display.
  CProfileWnd(ProfileItem& item, ProfileVersion& version);
  ~CProfileWnd() override;

  // dv::DocWindow
  bool onCommand(int id) override;
  int commandState(int id) override;
  bool onClose() override;
  dv::Menu* menuBar() override;
  dv::Pane* pane() override { return &client_; }
  void onActivate(bool active) override;
  void onPlacement(const dv::DocPlacement& p) override;
  const std::vector<dv::ToolButton>* toolBar() override;
  // The tree's folders changed: the frame's part of the menu bar follows.
  void onMessage(int msg, intptr_t wparam, intptr_t lparam) override;

  ProfileItem& item() { return item_; }
  ProfileVersion* version() { return version_; }
  const ProfileVersion* version() const { return version_; }
  DisplaySettings& normal() { return version_->normal; }
  const ProfileHeader& header() const { return *item_.header; }

  // Window state.
  bool textMode() const { return textMode_; }
  bool presentationMode() const { return presentationMode_; }
  float splitRatio() const { return splitRatio_; }
  int splitPosition() const { return client_.layout().splitPos; }
  int panelTrace() const { return panelTrace_; }
  int rightZone() const { return rightZone_; }
  bool timeZeroArmed() const { return timeZeroArmed_; }
  // Fit Hyperbola mode and the hyperbola fitted in it (over the version shown).
  bool fitMode() const { return fitMode_; }
  const HyperbolaPick& hyperbola() const { return hyperbola_; }
  int layoutMode() const { return layoutMode_; }

  void setTextMode(bool on);
  // Presentation mode: the presentation view shows the page.
  void setPresentationMode(bool on);
  void setSplitRatio(float ratio);
  void setPanelTrace(int trace);
  void setRightZone(int zone) { rightZone_ = zone; }
  // Shows another version (index into the profile's version list).
  bool selectVersion(int index);
  // A version was added to the profile (a conversion): its tab appears and
  // it is shown.
  void versionAdded(ProfileVersion& v);
  // Sets time zero at the sample s of the current (time) version.
  void setTimeZero(int sample);
  void armTimeZero(bool on);
  // Fit Hyperbola: the mode (its menu entry checked), a fit at a clicked
  // trace and sample (through the module's hook), and the fitted
  // hyperbola made to pass through (trace, sample) by a drag. The velocity
  // found or dragged to is shown in the status bar and remembered for the
  // profile.
  void setFitMode(bool on);
  bool fitHyperbolaAt(int trace, int sample);
  void dragHyperbolaTo(double trace, double sample);
  // Use Fitted Velocity: the shown time version's depth axes (normal and
  // presentation) take the profile's fitted velocity.
  void useFittedVelocity();
  void showHyperbolaStatus();

  // The stored window state, and applying one read from the profile file.
  ProfileWindowState state() const;
  void applyState(const ProfileWindowState& s);

  // Shows a pop-up at the screen point and runs the command chosen.
  void popup(const std::string& name, int screenX, int screenY);
  // Repaints every part (after a change of settings).
  void refresh();
  // Load User Palette: the file chosen, the shown record set to User Defined
  // and every window that uses the user palette repainted.
  void loadUserPalette();
  // The shared user palette changed: repaint if this window uses it.
  void userPaletteChanged();
  void setStatus(int pane, const std::string& text);
  // The settings of the window changed: the menus and the toolbar follow.
  void modeChanged();

  NormalView& normalView() { return normal_; }
  TextView& textView() { return text_; }
  PresentationView& presentationView() { return presentation_; }
  DisplaySettings& presentation() { return version_->presentation; }
  // What the page of the current version shows (names for the legend).
  PageSource pageSource();
  ProfileClient& client() { return client_; }
  int currentIndex() const;

  // Closes the window: leaves the frame, closes every version for display
  // and forgets the window in its profile item (the caller deletes it).
  void close();

 private:
  // Palette and wiggles of the normal or the presentation record.
  void setPalette(DisplaySettings& s, int type);
  void setWiggles(DisplaySettings& s, bool on);
  // The commands of the presentation mode (layout modes, Zoom Out, Load
  // and Save Layout, palettes and wiggles of the presentation record);
  // false for any other command.
  bool presentationCommand(int id);
  void setLayoutMode(int mode);
  void saveLayout();
  void loadLayout();
  void setPanelFills(bool left, bool right);
  void zoomOut();
  void deleteCurrentVersion();
  void deleteChosenVersion();
  void deleteVersion(ProfileVersion* v);
  void depthConvert();
  void elevationConvert();
  void editVersionName();
  void rebuildMenu();
  void updateToolBar();
  void storeState();

  ProfileItem& item_;
  ProfileVersion* version_;
  ProfileClient client_;
  NormalView normal_;
  TextView text_;
  PresentationView presentation_;
  std::unique_ptr<dv::Menu> menu_;
  std::vector<dv::ToolButton>* toolButtons_ = nullptr;  // the frame's, from GetObjToolBar
  std::vector<dv::ToolButton> ownButtons_;              // without a frame
  bool textMode_ = false, presentationMode_ = false;
  float splitRatio_ = 0.85f;
  int layoutMode_ = 0;
  int panelTrace_ = -1;
  int rightZone_ = -1;
  bool timeZeroArmed_ = false;
  bool fitMode_ = false;
  HyperbolaPick hyperbola_;
  bool active_ = false;
  bool closed_ = false;
};

// --- the profile item's window ----------------------------------------------------

// Opens the window of a profile showing its shown version (the version
// list rebuilt, the version opened for display with progress); activates
// an existing window instead. `restore`: the window state read from the
// profile file. Returns the window or nullptr (no version to show).
CProfileWnd* openProfileWindow(ProfileItem& item, const ProfileWindowState* restore = nullptr);
// Closes and frees the window of a profile, if it has one.
void closeProfileWindow(ProfileItem& item);
// A version was added to a profile: its open window shows it.
void showAddedVersion(ProfileItem& item, ProfileVersion& v);
// The window follows a rename of its profile.
void retitleProfileWindow(ProfileItem& item, const std::string& title);

}  // namespace quv
