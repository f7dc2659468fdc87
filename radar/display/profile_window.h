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
#include "display/profile_window_rules.h"
#include "dv/bitmap.h"
#include "dv/window.h"
#include "project/profile.h"

namespace quv {

class CProfileWnd;

// Command ids of the window (controls, menus, pop-ups, toolbar).
enum ProfileWindowIds {
  IDC_VIEW_TEXT = 20000,
  IDC_PRES = 20001,
  IDC_TABS = 20002,
  IDC_TEXT_VIEW = 20200,
  IDC_PRES_VIEW = 20300,
  IDC_NORMAL_VIEW = 20400,
  IDC_HSCROLL = 20401,
  IDC_VSCROLL = 20402,
  // WPRFLTRACES
  ID_IMG_TIME_ZERO = 33240, ID_IMG_ZOOM_OUT = 33241, ID_IMG_NO_COLOR = 33242,
  ID_IMG_GRAY = 33243, ID_IMG_RWB = 33244, ID_IMG_USER = 33245, ID_IMG_WIGGLES_OFF = 33246,
  ID_IMG_WIGGLES_ON = 33247, ID_IMG_PROPERTIES = 33248,
  // WPRFRWND
  ID_PANEL_TIME_ZERO = 33250, ID_PANEL_NO_FILL = 33251, ID_PANEL_FILL_LEFT = 33252,
  ID_PANEL_FILL_RIGHT = 33253, ID_PANEL_FILL_BOTH = 33254,
  // WPRFPWND
  ID_PRES_ZOOM_OUT = 33260, ID_PRES_PROPERTIES = 33261,
  ID_TEXT_PLACEHOLDER = 33270,
  // WPRF3TAB / WPRF4TAB
  ID_TAB_SYNC_VERSIONS = 33280, ID_TAB_SYNC_PROFILES = 33281, ID_TAB_VERSION_NAME = 33282,
  ID_TAB_DELETE_VERSION = 33283,
  ID_TAB4_SYNC_VERSIONS = 33290, ID_TAB4_SYNC_PROFILES = 33291, ID_TAB4_VERSION_NAME = 33292,
  ID_TAB4_DELETE_VERSION = 33293, ID_TAB4_DEPTH_CONVERT = 33294, ID_TAB4_ELEVATION_CONVERT = 33295,
  // "&Profile" in text mode
  ID_TEXT_MENU_PRES = 34100, ID_TEXT_MENU_NORMAL = 34120,
  // "&Profile" in presentation mode
  ID_P_VIEW_NORMAL = 34140, ID_P_ZOOM_LAYOUT = 34141, ID_P_EDIT_LAYOUT = 34142,
  ID_P_LOAD_LAYOUT = 34143, ID_P_SAVE_LAYOUT = 34144, ID_P_DELETE_VERSION = 34145,
  ID_P_VERSION_NAME = 34146, ID_P_SYNC_VERSIONS = 34147, ID_P_SYNC_PROFILES = 34148,
  ID_P_USER_PALETTE = 34149, ID_P_PROPERTIES = 34150,
  // "&Profile" in normal mode
  ID_N_VIEW_PRES = 34160, ID_N_EDIT_GEOMETRY = 34161, ID_N_TIME_ZERO = 34162,
  ID_N_DEPTH_CONVERT = 34163, ID_N_ELEVATION_CONVERT = 34164, ID_N_DELETE_VERSION = 34165,
  ID_N_VERSION_NAME = 34166, ID_N_SYNC_VERSIONS = 34167, ID_N_SYNC_PROFILES = 34168,
  ID_N_USER_PALETTE = 34169, ID_N_PROPERTIES = 34170,
  // Object toolbar
  ID_TB_EDIT_LAYOUT = 34182, ID_TB_ZOOM_LAYOUT = 34183, ID_TB_PRES_ZOOM_OUT = 34184,
  ID_TB_PAGE_PROPS = 34185, ID_TB_LEGEND_PROPS = 34192,
  ID_TB_PRES_NO_COLOR = 34193, ID_TB_PRES_USER = 34196, ID_TB_PRES_USER_PALETTE = 34197,
  ID_TB_PRES_WIGGLES = 34198,
  ID_TB_TIME_ZERO = 34200, ID_TB_DEPTH_CONVERT = 34201, ID_TB_ELEVATION_CONVERT = 34202,
  ID_TB_TRACES_PROPS = 34203, ID_TB_HAXIS_PROPS = 34204, ID_TB_VAXIS_PROPS = 34205,
  ID_TB_ZOOM_OUT = 34206, ID_TB_NO_COLOR = 34207, ID_TB_GRAY = 34208, ID_TB_RWB = 34209,
  ID_TB_USER = 34210, ID_TB_USER_PALETTE = 34211, ID_TB_WIGGLES = 34212,
  // Framework commands a document window handles
  ID_FILE_EXPORT = 32769, ID_FILE_PRINT = 57607,
};

// The "&Profile" pop-up of a mode (text mode: the placeholder "???").
std::unique_ptr<dv::Menu> profileMenu(bool textMode, bool presentationMode);
// The window's pop-ups by resource name: "WPRFLTRACES", "WPRFRWND",
// "WPRFPWND", "WPRFPTEXT", "WPRF3TAB", "WPRF4TAB" (nullptr otherwise).
std::unique_ptr<dv::Menu> profilePopup(const std::string& name);
// The object toolbar's buttons; those not of the mode are hidden, the
// palette and wiggle buttons of the mode pressed for the record's state.
std::vector<dv::ToolButton> profileToolBar(bool presentationMode, const DisplaySettings& normal,
                                           const DisplaySettings& presentation);

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
  // Rebuilds the pixel maps and the scroll bars after a change of size or zoom window.
  void zoomChanged();
  // Shows the readouts for the pixel (x, y), or the panes without pane 0.
  void showReadouts(int x, int y);

 private:
  CProfileWnd& w_;
  dv::Rect image_;
  PixelMaps maps_;
  dv::IndexedBitmap bitmap_;
  bool dragging_ = false;
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

// The presentation view (20300); the page itself arrives with the presentation display.
class PresentationView : public dv::Pane {
 public:
  explicit PresentationView(CProfileWnd& w) : w_(w) { id = IDC_PRES_VIEW; }
  void onPaint(dv::Canvas& c) override;

 private:
  CProfileWnd& w_;
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
  int layoutMode() const { return layoutMode_; }

  void setTextMode(bool on);
  // Presentation mode: the page arrives with the presentation display; until
  // then the window says so and stays in the normal mode.
  void setPresentationMode(bool on);
  void setSplitRatio(float ratio);
  void setPanelTrace(int trace);
  void setRightZone(int zone) { rightZone_ = zone; }
  // Shows another version (index into the profile's version list).
  bool selectVersion(int index);
  // Sets time zero at the sample s of the current (time) version.
  void setTimeZero(int sample);
  void armTimeZero(bool on);

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
  ProfileClient& client() { return client_; }
  int currentIndex() const;

  // Closes the window: leaves the frame, closes every version for display
  // and forgets the window in its profile item (the caller deletes it).
  void close();

 private:
  void setPalette(int type);
  void setWiggles(bool on);
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
// The window follows a rename of its profile.
void retitleProfileWindow(ProfileItem& item, const std::string& title);

}  // namespace quv
