// The raw data window's life with its item: reading the traces for display
// through the format library, the marked traces, opening the window in the
// frame (on double click, or at its stored placement when the project
// opens), its placement for the item file, and closing it.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "display/gain.h"
#include "display/raw_window.h"
#include "dv/file.h"
#include "dv/ui.h"
#include "project/quv.h"
#include "scrivel/gssi.h"
#include "scrivel/pekko.h"
#include "scrivel/ramac.h"
#include "scrivel/seg2.h"
#include "scrivel/segy.h"
#include "project/messages.h"
#include "project/raw_traces.h"
#include "project/trace_progress.h"

namespace quv {

namespace {

constexpr uint32_t kShowNormal = 1, kShowMinimized = 2, kShowMaximized = 3;

// Windows closed by the user: the view still holds them while it takes its
// widget down, so they are deleted at the next open or close of a raw
// window (or when the module goes).
std::vector<std::unique_ptr<CRawWnd>>& retired() {
  static std::vector<std::unique_ptr<CRawWnd>> windows;
  return windows;
}

CRawWnd* windowOf(const RawObject& obj) { return static_cast<CRawWnd*>(obj.window); }

void releaseTraces(RawData& d) {
  for (auto& b : d.buffers) b.reset();
  std::fill(d.needed.begin(), d.needed.end(), 0);
}

// Makes the window of a prepared item and puts it into the frame's area.
CRawWnd* openWindow(RawObject& obj, const WindowPlacement* placement) {
  retired().clear();
  std::vector<uint8_t> markers;
  if (!prepareRawDisplay(obj, markers)) return nullptr;
  auto* w = new CRawWnd(obj);
  w->markers() = std::move(markers);
  w->buildByteTraces(&frameworkProgress());
  obj.window = w;
  obj.keepPlacement = false;
  dv::FrameModel* frame = dv::FrameModel::current();
  if (placement) {
    w->placement.normal = {placement->left, placement->top, placement->right, placement->bottom};
    w->placement.minimized = placement->showCmd == kShowMinimized;
  } else if (frame) {
    const dv::DocWindow* active = frame->mdi.active();
    w->setMaximized(active && active->maximized());
  }
  if (frame) frame->mdi.add(w);
  return w;
}

}  // namespace

std::vector<int> markerFileTraces(const std::string& text) {
  std::vector<int> traces;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    size_t at = line.find_first_not_of(" \t\r");
    if (at == std::string::npos || line[at] == '/') continue;
    int trace = 0;
    float easting = 0, northing = 0;
    if (std::sscanf(line.c_str() + at, "%d %f %f", &trace, &easting, &northing) >= 1)
      traces.push_back(trace - 1);
  }
  return traces;
}

bool prepareRawDisplay(RawObject& obj, std::vector<uint8_t>& markers) {
  if (!obj.data || obj.data->format == kRawUnreadable || treeBad(obj.item)) return false;
  RawData& d = *obj.data;
  const int traces = d.traces, n = d.samples;
  markers.assign(size_t(std::max(traces, 0)), 0);
  d.needed.assign(size_t(std::max(traces, 0)), 1);
  d.buffers.resize(size_t(std::max(traces, 0)));

  dv::WaitCursor wait;
  auto open = scrivel<PfnOpenFile>(SCRIVEL_OpenFileForRead);
  dv::File file;
  // A recording that cannot be opened shows zero traces (the library says why).
  const bool opened = open && open(rawSamplesPath(d).c_str(), &file) == SCRIVEL_OK;
  if (auto f = fw<PfnCreateProgress>(PONTRA_CreateProgress)) f("Loading data", "");
  auto progress = fw<PfnSetProgress>(PONTRA_SetProgress);
  int problems = 0, quiet = 0;
  for (int i = 0; i < traces; ++i) {
    if (progress) traceProgress(i, traces, progress);
    if (d.buffers[size_t(i)]) continue;
    auto* samples = static_cast<float*>(std::calloc(size_t(std::max(n, 1)), sizeof(float)));
    if (!samples) continue;
    d.buffers[size_t(i)].reset(samples);
    if (!opened) continue;
    bool marked = false;
    if (readRawTrace(d, file, i, quiet, samples, marked) != SCRIVEL_OK && ++problems == 25) {
      msg(DV_MSG_PLAIN, kMsgWarningMoreThan25TraceWarningsOr);
      quiet = 1;
    }
    markers[size_t(i)] = marked ? 1 : 0;
  }
  if (auto f = fw<PfnDestroyProgress>(PONTRA_DestroyProgress)) f();
  file.close();

  // The markers placed on the item's traces (its markers file) are marked too.
  std::string text;
  if (dv::fileExists(d.markersPath) && dv::readWholeFile(d.markersPath, text))
    for (int t : markerFileTraces(text))
      if (t >= 0 && t < traces) markers[size_t(t)] = 1;
  return true;
}

void showRawWindow(RawObject& obj) {
  if (CRawWnd* w = windowOf(obj)) {
    if (dv::FrameModel* frame = dv::FrameModel::current()) frame->mdi.activate(w);
    return;
  }
  openWindow(obj, nullptr);
}

void reopenRawWindow(RawObject& obj, const WindowPlacement& placement) {
  if (windowOf(obj)) return;
  if (!openWindow(obj, &placement)) {
    // Nothing to show now: the placement is written back, so the window
    // opens again once the data can be read.
    obj.keepPlacement = true;
    obj.placement = placement;
  }
}

WindowPlacement rawWindowPlacement(const RawObject& obj) {
  const CRawWnd* w = windowOf(obj);
  if (!w) return obj.placement;
  WindowPlacement p;
  p.length = kWindowPlacementBytes;
  p.flags = 0;
  p.showCmd = w->placement.minimized ? kShowMinimized
              : w->maximized() || w->placement.maximized ? kShowMaximized
                                                         : kShowNormal;
  p.left = w->placement.normal.left;
  p.top = w->placement.normal.top;
  p.right = w->placement.normal.right;
  p.bottom = w->placement.normal.bottom;
  return p;
}

void destroyRawWindow(RawObject& obj) {
  retired().clear();
  std::unique_ptr<CRawWnd> w(windowOf(obj));
  obj.window = nullptr;
  if (!w) return;
  w->leaveFrame();
  if (obj.data) releaseTraces(*obj.data);
}

void retitleRawWindow(RawObject& obj, const std::string& name) {
  if (CRawWnd* w = windowOf(obj)) w->setTitle(name);
}

void CRawWnd::leaveFrame() {
  active_ = false;
  if (dv::FrameModel* frame = dv::FrameModel::current()) frame->mdi.remove(this);
}

bool CRawWnd::onClose() {
  // The user closes the window: the item forgets it and its traces, and the
  // window waits for deletion until the view has let go of it.
  leaveFrame();
  if (obj_.window == this) {
    obj_.window = nullptr;
    if (obj_.data) releaseTraces(*obj_.data);
    retired().emplace_back(this);
  }
  return true;
}

}  // namespace quv
