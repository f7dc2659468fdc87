// CProfileWnd: creation, modes, versions, menus, the object toolbar, the
// commands and the window state kept in the profile file.
#include "display/profile_window.h"
#include "display/settings_pages.h"

#include <algorithm>

#include "display/colortable.h"
#include "display/gain.h"
#include "dv/dialog.h"
#include "dv/file.h"
#include "dv/ui.h"
#include "project/tree_items.h"
#include "project/quv.h"
#include "display/palette_command.h"
#include "display/sync.h"
#include "display/window_commands.h"
#include "display/window_output.h"
#include "project/selection.h"
#include "project/messages.h"
#include "project/time_zero.h"

namespace quv {

namespace {

constexpr int kShowNormal = 1, kShowMinimized = 2, kShowMaximized = 3;  // window show states

dv::MdiArea* frameArea() {
  dv::FrameModel* f = dv::FrameModel::current();
  return f ? &f->mdi : nullptr;
}

void frameChanged(dv::FrameModel::Part part) {
  if (dv::FrameModel* f = dv::FrameModel::current()) f->changed(part);
}

// The Edit Version Name dialog: one edit with the version's name.
class CVersionNameDlg : public dv::Dialog {
 public:
  enum { IDC_NAME = 1000 };
  explicit CVersionNameDlg(const std::string& name) : dv::Dialog(0, "Edit Version Name", 200, 62) {
    addStatic(0, "Version Name:", {7, 7, 60, 15});
    addEdit(IDC_NAME, {62, 5, 193, 17});
    addButton(dv::IDOK, "OK", {40, 38, 90, 52}, true);
    addButton(dv::IDCANCEL, "Cancel", {110, 38, 160, 52});
    setText(IDC_NAME, name);
  }
};

}  // namespace

// --- menus and the toolbar ----------------------------------------------------------

std::unique_ptr<dv::Menu> profileMenu(bool textMode, bool presentationMode) {
  auto m = std::make_unique<dv::Menu>();
  if (textMode) {
    m->append(dv::MF_STRING, presentationMode ? ID_TEXT_MENU_PRES : ID_TEXT_MENU_NORMAL, "???");
    return m;
  }
  if (presentationMode) {
    m->append(dv::MF_STRING, ID_P_VIEW_NORMAL, "Vie&w Normal");
    m->append(dv::MF_STRING, ID_P_EDIT_LAYOUT, "&Edit Layout Mode");
    m->append(dv::MF_STRING, ID_P_ZOOM_LAYOUT, "&Zoom Layout Mode");
    m->append(dv::MF_STRING, ID_P_LOAD_LAYOUT, "Load La&yout");
    m->append(dv::MF_STRING, ID_P_SAVE_LAYOUT, "&Save Layout");
    m->append(dv::MF_STRING, ID_P_DELETE_VERSION, "De&lete Version");
    m->append(dv::MF_STRING, ID_P_VERSION_NAME, "Edit Version &Name");
    m->append(dv::MF_STRING, ID_P_SYNC_VERSIONS, "Sync &Versions");
    m->append(dv::MF_STRING, ID_P_SYNC_PROFILES, "Sync &Profiles");
    m->append(dv::MF_STRING, ID_P_USER_PALETTE, "Load &User Palette");
    m->append(dv::MF_STRING, ID_P_PROPERTIES, "Edit Pr&operties");
    return m;
  }
  m->append(dv::MF_STRING, ID_N_VIEW_PRES, "View &Presentation");
  m->append(dv::MF_STRING, ID_N_EDIT_GEOMETRY, "Edit &Geometry");
  m->append(dv::MF_STRING, ID_N_TIME_ZERO, "Set Time &Zero");
  m->append(dv::MF_STRING, ID_N_DEPTH_CONVERT, "Depth &Convert");
  m->append(dv::MF_STRING, ID_N_ELEVATION_CONVERT, "&Elevation Convert");
  dv::Menu* process = m->appendPopup("&Process");
  process->append(dv::MF_STRING, ID_N_PROCESS_DEWOW, "&Dewow");
  process->append(dv::MF_STRING, ID_N_PROCESS_BACKGROUND, "&Background Removal");
  process->append(dv::MF_STRING, ID_N_PROCESS_BAND_PASS, "Band-&Pass Filter");
  process->append(dv::MF_STRING, ID_N_PROCESS_LOW_PASS, "&Low-Pass Filter");
  process->append(dv::MF_STRING, ID_N_PROCESS_HIGH_PASS, "&High-Pass Filter");
  process->append(dv::MF_STRING, ID_N_PROCESS_ENVELOPE, "&Envelope");
  process->append(dv::MF_STRING, ID_N_PROCESS_TIME_ZERO, "&Time Zero from First Break");
  process->append(dv::MF_STRING, ID_N_PROCESS_MIGRATE, "&Migration");
  process->appendSeparator();
  process->append(dv::MF_STRING, ID_N_FIT_HYPERBOLA, "&Fit Hyperbola");
  process->append(dv::MF_STRING, ID_N_USE_FITTED_VELOCITY, "&Use Fitted Velocity");
  m->append(dv::MF_STRING, ID_N_DELETE_VERSION, "De&lete Version");
  m->append(dv::MF_STRING, ID_N_VERSION_NAME, "Edit Version &Name");
  m->append(dv::MF_STRING, ID_N_SYNC_VERSIONS, "Sync &Versions");
  m->append(dv::MF_STRING, ID_N_SYNC_PROFILES, "Sync &Profiles");
  m->append(dv::MF_STRING, ID_N_USER_PALETTE, "Load &User Palette");
  m->append(dv::MF_STRING, ID_N_PROPERTIES, "Edit Pr&operties");
  return m;
}

std::unique_ptr<dv::Menu> profilePopup(const std::string& name) {
  auto m = std::make_unique<dv::Menu>();
  auto add = [&](int id, const char* caption) { m->append(dv::MF_STRING, id, caption); };
  if (name == "WPRFLTRACES") {
    add(ID_IMG_TIME_ZERO, "&Set Time Zero");
    add(ID_IMG_ZOOM_OUT, "&Zoom Out");
    add(ID_IMG_NO_COLOR, "&No Color");
    add(ID_IMG_GRAY, "&Gray Scale");
    add(ID_IMG_RWB, "&Red-White-Blue");
    add(ID_IMG_USER, "&User Defined");
    add(ID_IMG_WIGGLES_OFF, "Wiggles &Off");
    add(ID_IMG_WIGGLES_ON, "&Wiggles On");
    add(ID_IMG_PROPERTIES, "Edit Pr&operties");
  } else if (name == "WPRFRWND") {
    add(ID_PANEL_TIME_ZERO, "&Set Time Zero");
    add(ID_PANEL_NO_FILL, "&No Fill");
    add(ID_PANEL_FILL_LEFT, "Fill &Left");
    add(ID_PANEL_FILL_RIGHT, "Fill &Right");
    add(ID_PANEL_FILL_BOTH, "Fill &Both");
  } else if (name == "WPRFPWND") {
    add(ID_PRES_ZOOM_OUT, "&Zoom Out");
    add(ID_PRES_PROPERTIES, "Edit Pr&operties");
  } else if (name == "WPRFPTEXT") {
    add(ID_TEXT_PLACEHOLDER, "???");
  } else if (name == "WPRF3TAB") {
    add(ID_TAB_SYNC_VERSIONS, "Sync &Versions");
    add(ID_TAB_SYNC_PROFILES, "Sync &Profiles");
    add(ID_TAB_VERSION_NAME, "Edit Version &Name");
    add(ID_TAB_DELETE_VERSION, "De&lete Version");
  } else if (name == "WPRF4TAB") {
    add(ID_TAB4_SYNC_VERSIONS, "Sync &Versions");
    add(ID_TAB4_SYNC_PROFILES, "Sync &Profiles");
    add(ID_TAB4_VERSION_NAME, "Edit Version &Name");
    add(ID_TAB4_DELETE_VERSION, "De&lete Version");
    add(ID_TAB4_DEPTH_CONVERT, "Depth &Convert");
    add(ID_TAB4_ELEVATION_CONVERT, "&Elevation Convert");
  } else {
    return nullptr;
  }
  return m;
}

std::vector<dv::ToolButton> profileToolBar(bool pres, const DisplaySettings& n,
                                           const DisplaySettings& p, int layoutMode) {
  std::vector<dv::ToolButton> b;
  auto add = [&](int id, const char* icon, const char* tip, bool presentation, bool checked = false) {
    dv::ToolButton t;
    t.id = id;
    t.icon = icon;
    t.tooltip = tip;
    t.hidden = presentation != pres;
    t.checked = checked;
    b.push_back(t);
  };
  const bool pw = p.wiggleLines || p.fillLeft || p.fillRight;
  const bool nw = n.wiggleLines || n.fillLeft || n.fillRight;
  add(ID_TB_EDIT_LAYOUT, "edit-select", "Edit Layout Mode", true, layoutMode == 0);
  add(ID_TB_ZOOM_LAYOUT, "zoom-in", "Zoom Layout Mode", true, layoutMode == 1);
  add(ID_TB_PRES_ZOOM_OUT, "zoom-out", "Zoom Out", true);
  const char* pages[] = {"Page Properties",         "Title Properties",
                         "Traces Properties",       "Horizontal Axis Properties",
                         "Vertical Axis Properties", "Horizontal Label Properties",
                         "Vertical Label Properties", "Legend Properties"};
  for (int k = 0; k < 8; ++k) add(ID_TB_PAGE_PROPS + k, "document-properties", pages[k], true);
  const char* palettes[] = {"NoColor", "Gray Scale", "Red-White-Blue", "User Defined"};
  for (int k = 0; k < 4; ++k) add(ID_TB_PRES_NO_COLOR + k, "", palettes[k], true, p.paletteType == k);
  add(ID_TB_PRES_USER_PALETTE, "document-open", "Load User Palette", true);
  add(ID_TB_PRES_WIGGLES, "", "Wiggles", true, pw);
  add(ID_TB_TIME_ZERO, "", "Set Time Zero", false);
  add(ID_TB_DEPTH_CONVERT, "", "Depth Convert", false);
  add(ID_TB_ELEVATION_CONVERT, "", "Elevation Convert", false);
  add(ID_TB_TRACES_PROPS, "document-properties", "Traces Properties", false);
  add(ID_TB_HAXIS_PROPS, "document-properties", "Horizontal Axis Properties", false);
  add(ID_TB_VAXIS_PROPS, "document-properties", "Vertical Axis Properties", false);
  add(ID_TB_ZOOM_OUT, "zoom-out", "Zoom Out", false);
  const char* normalPalettes[] = {"No Color", "Gray Scale", "Red-White-Blue", "User Defined"};
  for (int k = 0; k < 4; ++k) add(ID_TB_NO_COLOR + k, "", normalPalettes[k], false, n.paletteType == k);
  add(ID_TB_USER_PALETTE, "document-open", "Load User Palette", false);
  add(ID_TB_WIGGLES, "", "Wiggles", false, nw);
  return b;
}

// --- the window ---------------------------------------------------------------------

CProfileWnd::CProfileWnd(ProfileItem& item, ProfileVersion& version)
    : item_(item), version_(&version), client_(*this), normal_(*this), text_(*this),
      presentation_(*this) {
  client_.children() = {&normal_, &presentation_, &text_};
  presentation_.show(false);
  text_.show(false);
  normal_.zoomChanged();
  rebuildMenu();
}

CProfileWnd::~CProfileWnd() {
  if (!closed_) close();
}

int CProfileWnd::currentIndex() const {
  const auto& list = item_.versionList;
  auto it = std::find(list.begin(), list.end(), version_);
  return it == list.end() ? -1 : int(it - list.begin());
}

void CProfileWnd::close() {
  if (closed_) return;
  closed_ = true;
  if (dv::MdiArea* area = frameArea()) area->remove(this);
  if (toolButtons_) {
    toolButtons_->clear();
    frameChanged(dv::FrameModel::ToolBar);
  }
  for (int pane = 0; pane <= 4; ++pane) setStatus(pane, "");
  // Closing the window closes every version of the profile for display.
  for (auto& kind : item_.versions)
    for (auto& v : kind) closeVersionForDisplay(*v);
  if (item_.window == this) {
    item_.window = nullptr;
    item_.windowOpen = false;
  }
}

bool CProfileWnd::onClose() {
  close();
  // Freed once the frame has finished with it.
  dv::ui().post([this] { delete this; });
  return true;
}

dv::Menu* CProfileWnd::menuBar() { return menu_.get(); }

void CProfileWnd::rebuildMenu() {
  auto bar = std::make_unique<dv::Menu>();
  if (auto f = fw<PfnGetMainMenu>(PONTRA_GetMainMenu)) f(bar.get());
  bar->appendPopup("&Profile", profileMenu(textMode_, presentationMode_));
  bar->check(ID_N_FIT_HYPERBOLA, fitMode_);
  menu_ = std::move(bar);
}

void CProfileWnd::updateToolBar() {
  if (!toolButtons_) {
    DvHandle handle = nullptr;
    int* inUse = nullptr;
    if (auto f = fw<PfnGetObjToolBar>(PONTRA_GetObjToolBar); f && f(kModuleId, &handle, &inUse) == 0 && handle) {
      toolButtons_ = &static_cast<dv::ObjToolBar*>(handle)->buttons;
      if (inUse) *inUse = 1;
    } else {
      toolButtons_ = &ownButtons_;
    }
  }
  *toolButtons_ = profileToolBar(presentationMode_, version_->normal, version_->presentation, layoutMode_);
}

const std::vector<dv::ToolButton>* CProfileWnd::toolBar() {
  return active_ && toolButtons_ && !toolButtons_->empty() ? toolButtons_ : nullptr;
}

void CProfileWnd::onActivate(bool active) {
  active_ = active;
  if (!active) return;
  // Other modules' object toolbars go; this window's shows its state.
  if (auto hide = fw<PfnHideAllObjToolBars>(PONTRA_HideAllObjToolBars)) hide();
  updateToolBar();
  DvHandle handle = nullptr;
  if (auto f = fw<PfnGetObjToolBar>(PONTRA_GetObjToolBar); f && f(kModuleId, &handle, nullptr) == 0 && handle)
    static_cast<dv::ObjToolBar*>(handle)->visible = true;
  rebuildMenu();
  frameChanged(dv::FrameModel::ToolBar);
  normal_.showReadouts(-1, -1);
}

void CProfileWnd::onMessage(int msg, intptr_t, intptr_t) {
  if (msg != dv::WM_APP_TREE_CHANGED) return;
  rebuildMenu();
  if (active_) frameChanged(dv::FrameModel::MenuBar);
}

void CProfileWnd::modeChanged() {
  rebuildMenu();
  updateToolBar();
  if (active_) {
    frameChanged(dv::FrameModel::MenuBar);
    frameChanged(dv::FrameModel::ToolBar);
  }
  client_.relayout();
  presentation_.regionChanged();
  storeState();
  refresh();
}

void CProfileWnd::onPlacement(const dv::DocPlacement& p) {
  DocWindow::onPlacement(p);
  storeState();
}

void CProfileWnd::setTextMode(bool on) {
  if (textMode_ == on) return;
  textMode_ = on;
  modeChanged();
}

void CProfileWnd::setPresentationMode(bool on) {
  if (presentationMode_ == on) return;
  presentationMode_ = on;
  modeChanged();
}

void CProfileWnd::setSplitRatio(float ratio) {
  splitRatio_ = std::clamp(ratio, 0.0f, 1.0f);
  client_.relayout();
  storeState();
  refresh();
}

void CProfileWnd::setPanelTrace(int trace) {
  if (trace == panelTrace_) return;
  panelTrace_ = trace;
  client_.repaint();
}

void CProfileWnd::armTimeZero(bool on) {
  timeZeroArmed_ = on;
  const dv::CursorShape c = on ? dv::CursorShape::UpArrow : dv::CursorShape::Arrow;
  normal_.setCursor(c);
  client_.setCursor(c);
}

void CProfileWnd::setTimeZero(int s) {
  ProfileVersion& v = *version_;
  if (!setTimeZeroAt(v, s)) return;
  discardByteTraces(v, false);
  discardByteTraces(v, true);
  refresh();
}

void CProfileWnd::refresh() {
  client_.repaint();
  normal_.repaint();
  text_.repaint();
  presentation_.repaint();
}

void CProfileWnd::setStatus(int pane, const std::string& text) {
  if (auto f = fw<PfnSetStatusBarText>(PONTRA_SetStatusBarText)) f(pane, text.c_str());
}

bool CProfileWnd::selectVersion(int index) {
  auto& list = item_.versionList;
  if (index < 0 || size_t(index) >= list.size() || list[size_t(index)] == version_) return false;
  ProfileVersion* next = list[size_t(index)];
  closeVersionForDisplay(*version_);
  if (!openVersionForDisplay(*next)) {
    openVersionForDisplay(*version_);  // the shown version stays
    return false;
  }
  version_ = next;
  item_.shownVersion = index;
  // A hyperbola is fitted to the samples of one version.
  hyperbola_ = {};
  if (fitMode_) setFitMode(next->kind == kTimeVersion);
  recreateFonts(next->normal);
  recreateFonts(next->presentation);
  panelTrace_ = -1;
  normal_.zoomChanged();
  modeChanged();
  return true;
}

ProfileWindowState CProfileWnd::state() const {
  ProfileWindowState s;
  const dv::Rect& r = placement.normal;
  s.placement.left = r.left;
  s.placement.top = r.top;
  s.placement.right = r.right;
  s.placement.bottom = r.bottom;
  s.placement.showCmd =
      placement.maximized ? kShowMaximized : placement.minimized ? kShowMinimized : kShowNormal;
  s.splitRatio = splitRatio_;
  s.presentationMode = presentationMode_ ? 1 : 0;
  s.textMode = textMode_ ? 1 : 0;
  return s;
}

void CProfileWnd::applyState(const ProfileWindowState& s) {
  placement.normal = {s.placement.left, s.placement.top, s.placement.right, s.placement.bottom};
  placement.maximized = s.placement.showCmd == uint32_t(kShowMaximized);
  placement.minimized = s.placement.showCmd == uint32_t(kShowMinimized);
  setMaximized(placement.maximized);
  // A ratio that would leave no normal view (or a damaged value) takes the default.
  splitRatio_ = s.splitRatio >= 0.5f && s.splitRatio <= 1.0f ? s.splitRatio : 0.85f;
  textMode_ = s.textMode != 0;
  if (s.presentationMode) setPresentationMode(true);
  modeChanged();
}

void CProfileWnd::storeState() {
  if (item_.window == this) item_.windowState = state();
}

void CProfileWnd::popup(const std::string& name, int screenX, int screenY) {
  auto menu = profilePopup(name);
  if (!menu) return;
  if (name == "WPRFLTRACES") {
    const DisplaySettings& s = version_->normal;
    menu->check(ID_IMG_NO_COLOR + std::clamp(s.paletteType, 0, 3), true);
  }
  const int id = dv::ui().trackPopupMenu(*menu, screenX, screenY);
  if (id) onCommand(id);
}

// --- commands -------------------------------------------------------------------------

void CProfileWnd::setPalette(DisplaySettings& s, int type) {
  s.paletteType = type;
  // A palette with colours shows 64 of them.
  if (type != kNoColor) s.numColours = 64;
  updateToolBar();
  frameChanged(dv::FrameModel::ToolBar);
  refresh();
}

void CProfileWnd::loadUserPalette() {
  if (!loadUserPaletteCommand()) return;
  // The record of the mode shown takes the user palette ...
  DisplaySettings& s = presentationMode_ ? version_->presentation : version_->normal;
  s.paletteType = kUserDefined;
  if (!presentationMode_) s.numColours = 64;
  updateToolBar();
  frameChanged(dv::FrameModel::ToolBar);
  // ... and every open profile window showing it rebuilds its colours.
  if (dv::MdiArea* area = frameArea())
    for (dv::DocWindow* w : area->windows())
      if (auto* pw = dynamic_cast<CProfileWnd*>(w)) pw->userPaletteChanged();
}

void CProfileWnd::userPaletteChanged() {
  if (version_->normal.paletteType == kUserDefined ||
      version_->presentation.paletteType == kUserDefined)
    refresh();
}

void CProfileWnd::setWiggles(DisplaySettings& s, bool on) {
  s.wiggleLines = on ? 1 : 0;
  s.fillLeft = 0;
  s.fillRight = on ? 1 : 0;
  updateToolBar();
  frameChanged(dv::FrameModel::ToolBar);
  refresh();
}

void CProfileWnd::setPanelFills(bool left, bool right) {
  DisplaySettings& s = version_->normal;
  s.panelFillLeft = left ? 1 : 0;
  s.panelFillRight = right ? 1 : 0;
  client_.repaint();
}

void CProfileWnd::zoomOut() {
  setWholeProfile(version_->normal, header().traceCount, version_->samples);
  normal_.zoomChanged();
  refresh();
}

void CProfileWnd::depthConvert() {
  if (version_->kind != kTimeVersion) {
    dv::messageBox(kMsgVersionMustBeTimeToConvertTo, "Error", dv::MB_OK | dv::MB_ICONERROR);
    return;
  }
  if (auto handle = windowCommands().profile) handle(item_, ID_N_DEPTH_CONVERT);
}

void CProfileWnd::elevationConvert() {
  if (version_->kind != kDepthVersion) {
    dv::messageBox(kMsgVersionMustBeDepthToConvertTo, "Error",
                   dv::MB_OK | dv::MB_ICONERROR);
    return;
  }
  if (auto handle = windowCommands().profile) handle(item_, ID_N_ELEVATION_CONVERT);
}

void CProfileWnd::versionAdded(ProfileVersion& v) {
  // The new version gets its tab and is shown.
  rebuildVersionList(item_);
  const auto& list = item_.versionList;
  const auto at = std::find(list.begin(), list.end(), &v);
  if (at != list.end() && selectVersion(int(at - list.begin()))) return;
  item_.shownVersion = std::max(currentIndex(), 0);
  client_.relayout();
  refresh();
}

void CProfileWnd::editVersionName() {
  CVersionNameDlg dlg(version_->name);
  if (dlg.doModal() != dv::IDOK) return;
  std::string name = dlg.text(CVersionNameDlg::IDC_NAME);
  version_->name = name;
  client_.relayout();
  client_.repaint();
}

void CProfileWnd::deleteVersion(ProfileVersion* v) {
  if (!v || item_.versionList.size() <= 1) return;
  // Another version is shown first, then the files and the record go.
  if (v == version_) {
    const int at = currentIndex();
    selectVersion(at > 0 ? at - 1 : at + 1);
  }
  closeVersionForDisplay(*v);
  if (dv::fileExists(v->samplePath)) dv::removeFile(v->samplePath);
  if (dv::fileExists(v->headerPath)) dv::removeFile(v->headerPath);
  const std::string label = v->label();
  auto& kind = item_.versions[v->kind];
  kind.erase(std::remove_if(kind.begin(), kind.end(),
                            [v](const std::unique_ptr<ProfileVersion>& p) { return p.get() == v; }),
             kind.end());
  rebuildVersionList(item_);
  item_.shownVersion = std::max(currentIndex(), 0);
  msg(0, kMsgVersionDeleted, treeName(item_.tree).c_str(), label.c_str());
  client_.relayout();
  client_.repaint();
}

void CProfileWnd::deleteCurrentVersion() { deleteVersion(version_); }

void CProfileWnd::deleteChosenVersion() {
  if (item_.versionList.size() <= 1) return;
  int kind = 0, number = 0;
  if (!chooseProfileVersion(item_, &kind, &number)) return;
  deleteVersion(findVersion(item_, kind, number));
}

int CProfileWnd::commandState(int id) {
  switch (id) {
    case ID_N_TIME_ZERO:
    case ID_TB_TIME_ZERO: return version_->kind == kTimeVersion ? 1 : 0;
    case ID_N_DELETE_VERSION:
    case ID_P_DELETE_VERSION: return item_.versionList.size() > 1 ? 1 : 0;
    case ID_FILE_EXPORT:
    case ID_FILE_PRINT:
    case ID_EDIT_COPY: return textMode_ ? 0 : 1;
    default: return -1;
  }
}

bool CProfileWnd::onCommand(int id) {
  DisplaySettings& s = version_->normal;
  switch (id) {
    case IDC_VIEW_TEXT: setTextMode(!textMode_); return true;
    case IDC_PRES: setPresentationMode(!presentationMode_); return true;
    case ID_N_VIEW_PRES: setPresentationMode(true); return true;
    case ID_P_VIEW_NORMAL: setPresentationMode(false); return true;

    case ID_IMG_ZOOM_OUT:
    case ID_TB_ZOOM_OUT: zoomOut(); return true;
    case ID_IMG_NO_COLOR: case ID_IMG_GRAY: case ID_IMG_RWB: case ID_IMG_USER:
      setPalette(s, id - ID_IMG_NO_COLOR);
      return true;
    case ID_TB_NO_COLOR: case ID_TB_GRAY: case ID_TB_RWB: case ID_TB_USER:
      setPalette(s, id - ID_TB_NO_COLOR);
      return true;
    case ID_IMG_WIGGLES_OFF: setWiggles(s, false); return true;
    case ID_IMG_WIGGLES_ON: setWiggles(s, true); return true;
    case ID_TB_WIGGLES: setWiggles(s, !(s.wiggleLines || s.fillLeft || s.fillRight)); return true;
    case ID_PANEL_NO_FILL: setPanelFills(false, false); return true;
    case ID_PANEL_FILL_LEFT: setPanelFills(true, false); return true;
    case ID_PANEL_FILL_RIGHT: setPanelFills(false, true); return true;
    case ID_PANEL_FILL_BOTH: setPanelFills(true, true); return true;

    case ID_IMG_TIME_ZERO:
    case ID_PANEL_TIME_ZERO:
    case ID_N_TIME_ZERO:
    case ID_TB_TIME_ZERO:
      if (version_->kind == kTimeVersion) armTimeZero(true);
      return true;

    case ID_N_FIT_HYPERBOLA: setFitMode(!fitMode_); return true;
    case ID_N_USE_FITTED_VELOCITY: useFittedVelocity(); return true;

    case ID_N_DEPTH_CONVERT:
    case ID_TB_DEPTH_CONVERT:
    case ID_TAB4_DEPTH_CONVERT: depthConvert(); return true;
    case ID_N_ELEVATION_CONVERT:
    case ID_TB_ELEVATION_CONVERT:
    case ID_TAB4_ELEVATION_CONVERT: elevationConvert(); return true;
    case ID_N_VERSION_NAME:
    case ID_P_VERSION_NAME:
    case ID_TAB_VERSION_NAME:
    case ID_TAB4_VERSION_NAME: editVersionName(); return true;
    case ID_N_DELETE_VERSION:
    case ID_P_DELETE_VERSION: deleteChosenVersion(); return true;
    case ID_TAB_DELETE_VERSION:
    case ID_TAB4_DELETE_VERSION: deleteCurrentVersion(); return true;

    case ID_IMG_PROPERTIES:
    case ID_N_PROPERTIES:
    case ID_TB_TRACES_PROPS: editWindowSettings(*this, false, 0); return true;
    case ID_TB_HAXIS_PROPS: editWindowSettings(*this, false, 1); return true;
    case ID_TB_VAXIS_PROPS: editWindowSettings(*this, false, 2); return true;
    case ID_P_PROPERTIES:
    case ID_PRES_PROPERTIES: editWindowSettings(*this, true, kPageOfPage); return true;
    case ID_N_SYNC_VERSIONS: case ID_P_SYNC_VERSIONS: case ID_TAB_SYNC_VERSIONS:
    case ID_TAB4_SYNC_VERSIONS:
      syncVersionsCommand(*this);
      return true;
    case ID_N_SYNC_PROFILES: case ID_P_SYNC_PROFILES: case ID_TAB_SYNC_PROFILES:
    case ID_TAB4_SYNC_PROFILES:
      syncProfilesCommand(*this);
      return true;
    case ID_N_USER_PALETTE:
    case ID_P_USER_PALETTE:
    case ID_TB_USER_PALETTE:
    case ID_TB_PRES_USER_PALETTE:
      loadUserPalette();
      return true;
    case ID_FILE_EXPORT:
    case ID_FILE_PRINT:
    case ID_EDIT_COPY: return profileWindowOutput(*this, id);
    case ID_TEXT_MENU_PRES:
    case ID_TEXT_MENU_NORMAL:
    case ID_TEXT_PLACEHOLDER: return true;
    default: break;
  }
  // The presentation toolbar's property buttons: the sheet at the page of
  // the element, the label buttons at the title page with the label's texts.
  if (id >= ID_TB_PAGE_PROPS && id <= ID_TB_LEGEND_PROPS) {
    static const int pages[] = {kPageOfPage, kPageOfTitle, kPageOfTraces, kPageOfHAxis,
                                kPageOfVAxis, kPageOfTitle, kPageOfTitle, kPageOfLegend};
    const int k = id - ID_TB_PAGE_PROPS;
    editWindowSettings(*this, true, pages[k], k == 5 ? kHorizontalLabel : k == 6 ? kVerticalLabel : kTitle);
    return true;
  }
  if (presentationCommand(id)) return true;
  // The operations on the profile's data (Edit Geometry, ...) are the module's.
  if (auto handle = windowCommands().profile) return handle(item_, id);
  return false;
}

// --- the profile item's window --------------------------------------------------------------

CProfileWnd* openProfileWindow(ProfileItem& item, const ProfileWindowState* restore) {
  if (auto* w = static_cast<CProfileWnd*>(item.window)) {
    if (dv::MdiArea* area = frameArea()) area->activate(w);
    return w;
  }
  if (!item.header) return nullptr;
  // Opening a version for display builds its normal byte traces with progress.
  installByteTraceBuilder();
  rebuildVersionList(item);
  if (item.shownVersion < 0 || size_t(item.shownVersion) >= item.versionList.size())
    item.shownVersion = 0;
  ProfileVersion* v = shownVersion(item);
  if (!v) {
    msg(0, kMsgProfileHasNoVersionToShow, treeName(item.tree).c_str());
    return nullptr;
  }
  if (!openVersionForDisplay(*v)) return nullptr;
  auto* w = new CProfileWnd(item, *v);
  item.window = w;
  item.windowOpen = true;
  w->setTitle(treeName(item.tree));
  if (restore) w->applyState(*restore);
  item.windowState = w->state();
  if (dv::MdiArea* area = frameArea()) area->add(w);
  return w;
}

void closeProfileWindow(ProfileItem& item) {
  auto* w = static_cast<CProfileWnd*>(item.window);
  if (!w) return;
  w->close();
  delete w;
}

void showAddedVersion(ProfileItem& item, ProfileVersion& v) {
  if (auto* w = static_cast<CProfileWnd*>(item.window)) w->versionAdded(v);
}

void retitleProfileWindow(ProfileItem& item, const std::string& title) {
  if (auto* w = static_cast<CProfileWnd*>(item.window)) w->setTitle(title);
}

}  // namespace quv
