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
  if (active_ == w) active_ = windows_.empty() ? nullptr : windows_.back();
  notify(w, Removed);
  if (active_) notify(active_, Activated);
}

void MdiArea::activate(DocWindow* w) {
  if (std::find(windows_.begin(), windows_.end(), w) == windows_.end()) return;
  active_ = w;
  notify(w, Activated);
}

void MdiArea::maximize(DocWindow* w, bool on) {
  if (!w) return;
  w->setMaximized(on);
  notify(w, Maximized);
}

void MdiArea::broadcast(int msg, intptr_t wparam, intptr_t lparam) {
  auto copy = windows_;
  for (auto* w : copy) w->onMessage(msg, wparam, lparam);
}

}  // namespace dv
