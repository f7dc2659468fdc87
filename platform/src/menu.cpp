#include "dv/menu.h"

#include <algorithm>
#include <cctype>

namespace dv {

void Menu::append(unsigned flags, int id, const std::string& caption) {
  MenuItem it;
  it.id = id;
  it.caption = caption;
  it.separator = (flags & MF_SEPARATOR) != 0;
  it.grayed = (flags & (MF_GRAYED | MF_DISABLED)) != 0;
  it.checked = (flags & MF_CHECKED) != 0;
  items_.push_back(std::move(it));
}

Menu* Menu::appendPopup(const std::string& caption, std::unique_ptr<Menu> popup) {
  MenuItem it;
  it.caption = caption;
  it.popup = std::move(popup);
  items_.push_back(std::move(it));
  return items_.back().popup.get();
}

MenuItem* Menu::find(int id) {
  for (auto& it : items_) {
    if (it.popup) {
      if (auto* f = it.popup->find(id)) return f;
    } else if (!it.separator && it.id == id) {
      return &it;
    }
  }
  return nullptr;
}

const MenuItem* Menu::find(int id) const { return const_cast<Menu*>(this)->find(id); }

bool Menu::enable(int id, bool enabled) {
  auto* it = find(id);
  if (!it) return false;
  it->grayed = !enabled;
  return true;
}

bool Menu::check(int id, bool checked) {
  auto* it = find(id);
  if (!it) return false;
  it->checked = checked;
  return true;
}

bool Menu::removeAt(size_t index) {
  if (index >= items_.size()) return false;
  items_.erase(items_.begin() + (long)index);
  return true;
}

std::string Menu::plainCaption(const std::string& caption) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') {
        out.push_back('&');
        ++i;
      }
      continue;
    }
    if (caption[i] == '\t') break;  // accelerator text
    out.push_back(caption[i]);
  }
  return out;
}

static std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

// Splits "A/B/C" where a caption itself may hold "/" ("Open/Create Project"):
// tries the longest caption match at each level.
static int findIn(const Menu& m, const std::string& path) {
  std::string p = lower(path);
  for (const auto& it : m.items()) {
    if (it.separator) continue;
    std::string c = lower(Menu::plainCaption(it.caption));
    if (it.popup) {
      if (p.size() > c.size() && p.compare(0, c.size(), c) == 0 && p[c.size()] == '/') {
        int id = findIn(*it.popup, path.substr(c.size() + 1));
        if (id) return id;
      }
    } else if (p == c) {
      return it.id;
    }
  }
  return 0;
}

int Menu::findCommand(const std::string& captionPath) const {
  std::string plain;
  for (size_t i = 0; i < captionPath.size(); ++i) {
    if (captionPath[i] == '&') {
      if (i + 1 < captionPath.size() && captionPath[i + 1] == '&') {
        plain.push_back('&');
        ++i;
      }
      continue;
    }
    plain.push_back(captionPath[i]);
  }
  return findIn(*this, plain);
}

}  // namespace dv
