#include "dv/window.h"

#include <algorithm>

namespace dv {

void MdiArea::add(DocWindow* w) {
  if (!w || std::find(windows_.begin(), windows_.end(), w) != windows_.end()) return;
  windows_.push_back(w);
  notify(w, Added);
  activate(w);
}

void MdiArea::remove(DocWindow* w) {
  auto it = std::find(windows_.begin(), windows_.end(), w);
  if (it == windows_.end()) return;
  windows_.erase(it);
  const bool wasActive = active_ == w;
  if (wasActive) active_ = windows_.empty() ? nullptr : windows_.back();
  if (wasActive) w->onActivate(false);
  notify(w, Removed);
  if (active_) {
    if (wasActive) active_->onActivate(true);
    notify(active_, Activated);
  }
}

void MdiArea::activate(DocWindow* w) {
  if (std::find(windows_.begin(), windows_.end(), w) == windows_.end()) return;
  DocWindow* before = active_;
  active_ = w;
  if (before != w) {
    if (before) before->onActivate(false);
    w->onActivate(true);
  }
  notify(w, Activated);
}

void MdiArea::maximize(DocWindow* w, bool on) {
  if (!w) return;
  w->setMaximized(on);
  notify(w, Maximized);
}

std::vector<FrameModel*>& FrameModel::registry() {
  static std::vector<FrameModel*> frames;
  return frames;
}

void MdiArea::broadcast(int msg, intptr_t wparam, intptr_t lparam) {
  auto copy = windows_;
  for (auto* w : copy) w->onMessage(msg, wparam, lparam);
}

}  // namespace dv
