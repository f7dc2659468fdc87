// CRawWnd: the document window that shows one raw data item as a
// radargram. The image (the item's traces through the raw gain and one of
// two palettes) lies in the rectangle from the fixed left and top margins
// to the scroll bars, with a black frame, the trace-number axis on top, the
// time axis on the left and a dotted line at every marked trace. The left
// button drags a zoom rectangle, the scroll bars move the shown part, the
// right button opens the window's pop-up menu, and the status panes read
// out the trace, sample and time under the mouse.
//
// The window is its own drawable pane: the platform's view paints it
// through a canvas and hands it mouse and scroll events; tests drive it the
// same way with a recording canvas. The shown part, the gain, the palette
// and the number of colours live in the item's raw data record, so they are
// saved with the item.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "display/image.h"
#include "display/raw_window_axes.h"
#include "display/raw_window_zoom.h"
#include "dv/bitmap.h"
#include "dv/menu.h"
#include "dv/window.h"
#include "project/raw.h"  // RawObject, RawData, WindowPlacement
#include "quv/ids.h"

namespace quv {

class GainProgress;


// The pop-up "WRAW": "&Zoom Out", the three gains, the two palettes; the
// current gain and palette checked.
std::unique_ptr<dv::Menu> rawWindowPopup(int gain, int palette);
// The entries of the "&Raw" pop-up.
std::unique_ptr<dv::Menu> rawMainMenuPopup();
// The raw object toolbar: "Zoom Out", "Gain: Trace Max", "Gain: AGC 10%",
// "Gain: AGC 25%", "Gray Scale", "Red-White-Blue"; the current gain and
// palette shown pressed.
std::vector<dv::ToolButton> rawToolBar(int gain, int palette);
// The raw object command (33120 ...) of a "&Raw" entry, 0 for other ids.
int rawObjectCommandOf(int menuCommand);

// The image rectangle of a client of width x height pixels with scroll bars
// of sbWidth / sbHeight: left 80, top 50, right and bottom one pixel inside
// the scroll bars, the client less the bars never taken below 100 pixels.
dv::Rect rawImageRect(int width, int height, int sbWidth, int sbHeight);
constexpr int kRawImageLeft = 80, kRawImageTop = 50;
constexpr int kRawHScrollId = 20401, kRawVScrollId = 20402;

// The shown palette of a stored palette value: Red-White-Blue for 2, Gray
// Scale for every other value (0 is "not chosen yet").
int rawShownPalette(int palette);

class CRawWnd : public dv::DocWindow, public dv::Pane {
 public:
  // The item's raw data must be loaded (traces read, see prepareRawDisplay);
  // the window does not own the object.
  explicit CRawWnd(RawObject& object);
  ~CRawWnd() override;
  CRawWnd(const CRawWnd&) = delete;
  CRawWnd& operator=(const CRawWnd&) = delete;

  // --- document window ---
  bool onCommand(int id) override;
  int commandState(int id) override;
  bool onClose() override;
  dv::Menu* menuBar() override;
  dv::Pane* pane() override { return this; }
  void onActivate(bool active) override;
  // The raw object toolbar while the window is active.
  const std::vector<dv::ToolButton>* toolBar() override;

  // --- pane ---
  void onPaint(dv::Canvas& canvas) override;
  void onMouseDown(const dv::MouseEvent& e) override;
  void onMouseUp(const dv::MouseEvent& e) override;
  void onMouseMove(const dv::MouseEvent& e) override;
  void onMouseLeave() override;
  void onSize(int width, int height) override;
  void onScroll(bool vertical, int action, int position) override;

  // --- commands ---
  void zoomOut();
  // Stores the gain, rebuilds every byte trace (with progress when given).
  void setGain(int gain, GainProgress* progress);
  // Stores the palette type with 64 colours and rebuilds the colour table.
  void setPalette(int palette);
  // Builds every missing byte trace (with progress when given).
  void buildByteTraces(GainProgress* progress) { buildMissingBytes(progress); }
  // Leaves the frame: the area forgets the window.
  void leaveFrame();

  // --- state, for the views and tests ---
  RawObject& object() { return obj_; }
  RawData& data();
  const dv::Rect& imageRect() const { return image_; }
  const PixelMaps& pixelMaps() const { return maps_; }
  const dv::IndexedBitmap& bitmap() const { return bitmap_; }
  ShownSpan traceSpan() const;
  ShownSpan sampleSpan() const;
  // One flag per trace: the traces marked in the recording or in the markers file.
  std::vector<uint8_t>& markers() { return markers_; }
  std::vector<std::unique_ptr<uint8_t[]>>& byteTraces() { return bytes_; }
  RawAxisFonts& fonts() { return fonts_; }
  // The zoom rectangle being dragged (empty when none).
  dv::Rect zoomBand() const;

  // Where the readouts go: (pane, text); the framework's status bar unless
  // a test sets another.
  std::function<void(int, const std::string&)> statusSink;

 private:
  void rebuildColours();
  void viewChanged();  // after zoom or scroll: maps, bars, readouts, repaint
  void updateScrollBars();
  void readouts(bool overImage, int x, int y);
  void buildMissingBytes(GainProgress* progress);
  void toolStateChanged();
  void status(int pane, const std::string& text);

  RawObject& obj_;
  dv::Rect image_;
  PixelMaps maps_;
  dv::IndexedBitmap bitmap_;
  std::vector<std::unique_ptr<uint8_t[]>> bytes_;
  std::vector<uint8_t> markers_;
  RawAxisFonts fonts_;

  // Zoom drag: the corner where the button went down and the moving one.
  bool dragging_ = false;
  dv::Point anchor_, corner_;
  // Right button: the zone where it went down (-1 none, 0 above the image,
  // 1 left of it, 2 the image and the rest).
  int rightZone_ = -1;
  // Last mouse position over the client, for readouts after a scroll.
  bool mouseIn_ = false;
  int mouseX_ = 0, mouseY_ = 0;

  std::unique_ptr<dv::Menu> bar_;
  const dv::Menu* barBase_ = nullptr;
  bool active_ = false;
  std::vector<dv::ToolButton> toolButtons_;
};

// --- the window's life with its item (module state) ---------------------------

// The traces listed in the text of a markers file, counted from 0: lines
// read with "%d %f %f" after leading blanks, empty lines and lines beginning
// with "/" skipped, the trace number read less 1.
std::vector<int> markerFileTraces(const std::string& text);

// Reads every trace of the item for display ("Loading data" progress, the
// 25-message rule) and flags the marked traces. Returns false when the item
// has no readable data.
bool prepareRawDisplay(RawObject& obj, std::vector<uint8_t>& markers);
// Double click: brings an open window to the top, else prepares the data
// and opens the window in the frame, maximised when the active document
// window is.
void showRawWindow(RawObject& obj);
// Project load: opens the window at a stored placement (the 44-byte record:
// its normal rectangle, minimised when its show command is the minimised one).
void reopenRawWindow(RawObject& obj, const WindowPlacement& placement);
// The placement to store for an open window.
WindowPlacement rawWindowPlacement(const RawObject& obj);
// Closes and destroys the window of the item (project close, delete) and
// releases the traces it held.
void destroyRawWindow(RawObject& obj);
// The window's title follows the item's name.
void retitleRawWindow(RawObject& obj, const std::string& name);

}  // namespace quv
