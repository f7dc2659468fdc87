#include "dv/control_names.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "dv/dialog.h"
#include "dv/menu.h"

namespace dv {

std::string normalName(const std::string& caption) {
  // Blanks of any kind are one blank (a tab is no accelerator here).
  std::string blanked = caption;
  std::replace(blanked.begin(), blanked.end(), '\t', ' ');
  std::string plain = Menu::plainCaption(blanked), out;
  for (char ch : plain) {
    unsigned char c = (unsigned char)ch;
    if (std::isspace(c)) {
      if (!out.empty() && out.back() != ' ') out.push_back(' ');
    } else {
      out.push_back((char)std::tolower(c));
    }
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  if (!out.empty() && out.back() == ':') out.pop_back();
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

namespace {

bool holdsValue(const Control& c) {
  return c.kind == ControlKind::Edit || c.kind == ControlKind::ComboBox ||
         c.kind == ControlKind::ListBox;
}

bool isLabel(const Control& c) {
  return c.kind == ControlKind::Static && !normalName(c.caption).empty();
}

// A label beside a control lines up with its first line (a drop-down's
// rectangle holds its open list, a list's all its lines).
int firstLineBottom(const Rect& r) { return r.top + std::min(r.height(), 14); }

const char* kindName(ControlKind k) {
  switch (k) {
    case ControlKind::Static: return "static";
    case ControlKind::Edit: return "edit";
    case ControlKind::ListBox: return "list";
    case ControlKind::ComboBox: return "drop-down";
    case ControlKind::Radio: return "radio";
    case ControlKind::Check: return "check box";
    case ControlKind::Button: return "button";
    case ControlKind::Group: return "group box";
    case ControlKind::Tab: return "tabs";
    case ControlKind::Grid: return "grid";
    case ControlKind::Progress: return "progress";
    case ControlKind::Icon: return "icon";
  }
  return "control";
}

// The nearest control (group boxes aside) found by `fits`, ordered by
// `nearness` (larger is nearer); -1 when none fits.
template <class Fits, class Near>
int nearest(const std::vector<Control>& cs, size_t self, Fits fits, Near nearness) {
  int best = -1;
  for (size_t i = 0; i < cs.size(); ++i) {
    if (i == self || cs[i].kind == ControlKind::Group || !fits(cs[i].rect)) continue;
    if (best < 0 || nearness(cs[i].rect) > nearness(cs[(size_t)best].rect)) best = (int)i;
  }
  return best;
}

}  // namespace

std::vector<std::vector<std::string>> controlNames(const Dialog& d) {
  const auto& cs = d.controls();
  std::vector<std::vector<std::string>> names(cs.size());
  std::vector<bool> labelUsed(cs.size(), false), labelled(cs.size(), false);
  for (size_t i = 0; i < cs.size(); ++i) {
    const Control& c = cs[i];
    if (c.kind == ControlKind::Button || c.kind == ControlKind::Check || c.kind == ControlKind::Radio) {
      std::string n = normalName(c.caption);
      if (!n.empty()) names[i].push_back(n);
    }
  }
  auto label = [&](size_t value, int by) {
    if (by < 0 || labelUsed[(size_t)by] || !isLabel(cs[(size_t)by])) return;
    labelUsed[(size_t)by] = true;
    labelled[value] = true;
    names[value].push_back(normalName(cs[(size_t)by].caption));
  };
  // Beside: the nearest control left of the first line is a label.
  for (size_t i = 0; i < cs.size(); ++i) {
    if (!holdsValue(cs[i])) continue;
    const Rect v = cs[i].rect;
    const int lineBottom = firstLineBottom(v);
    label(i, nearest(
                 cs, i,
                 [&](const Rect& r) { return r.right <= v.left + 2 && r.top < lineBottom && r.bottom > v.top; },
                 [](const Rect& r) { return r.right; }));
  }
  // Above: the nearest control just above, overlapping it sideways.
  for (size_t i = 0; i < cs.size(); ++i) {
    if (!holdsValue(cs[i]) || labelled[i]) continue;
    const Rect v = cs[i].rect;
    label(i, nearest(
                 cs, i,
                 [&](const Rect& r) {
                   return r.bottom <= v.top + 2 && v.top - r.bottom <= 12 && r.left < v.right &&
                          r.right > v.left;
                 },
                 [](const Rect& r) { return r.bottom; }));
  }
  // A group box's title names the only value control inside it.
  for (const Control& g : cs) {
    std::string title = normalName(g.caption);
    if (g.kind != ControlKind::Group || title.empty()) continue;
    int only = -1, count = 0;
    for (size_t i = 0; i < cs.size(); ++i) {
      const Rect v = cs[i].rect;
      if (holdsValue(cs[i]) && v.left >= g.rect.left && v.right <= g.rect.right && v.top >= g.rect.top &&
          firstLineBottom(v) <= g.rect.bottom) {
        only = (int)i;
        ++count;
      }
    }
    if (count == 1) names[(size_t)only].push_back(title);
  }
  // The only grid, tab strip or list box of the dialog.
  const std::pair<ControlKind, const char*> sole[] = {
      {ControlKind::Grid, "grid"}, {ControlKind::Tab, "tabs"}, {ControlKind::ListBox, "list"}};
  for (const auto& [kind, word] : sole) {
    int only = -1, count = 0;
    for (size_t i = 0; i < cs.size(); ++i)
      if (cs[i].kind == kind) {
        only = (int)i;
        ++count;
      }
    if (count == 1) names[(size_t)only].push_back(word);
  }
  return names;
}

std::string describeControls(const Dialog& d) {
  const auto names = controlNames(d);
  std::string out;
  for (size_t i = 0; i < d.controls().size(); ++i) {
    const Control& c = d.controls()[i];
    if (names[i].empty() && c.id <= 0) continue;
    std::string entry = std::string(kindName(c.kind)) + " " + std::to_string(c.id);
    for (const std::string& n : names[i]) entry += " \"" + n + "\"";
    out += (out.empty() ? "" : ", ") + entry;
  }
  return out.empty() ? "none" : out;
}

Control* findControl(Dialog& d, const std::string& name, std::string* error) {
  auto fail = [&](const std::string& why) -> Control* {
    if (error) *error = "dialog \"" + d.caption() + "\" " + why + "; its controls: " + describeControls(d);
    return nullptr;
  };
  char* end = nullptr;
  long id = std::strtol(name.c_str(), &end, 10);
  if (!name.empty() && *end == 0) {
    Control* c = d.control((int)id);
    return c ? c : fail("has no control " + name);
  }
  const std::string wanted = normalName(name);
  const auto names = controlNames(d);
  std::vector<size_t> found;
  for (size_t i = 0; i < names.size(); ++i)
    if (std::find(names[i].begin(), names[i].end(), wanted) != names[i].end()) found.push_back(i);
  if (found.size() == 1) return &d.controls()[found[0]];
  if (found.empty()) return fail("has no control \"" + name + "\"");
  // A button's, check box's or radio button's own text names it before a
  // label or a group title names another control ("Import" the button, not
  // the edit of the "Import:" group).
  std::vector<size_t> own;
  for (size_t i : found) {
    const Control& c = d.controls()[i];
    const bool titled = c.kind == ControlKind::Button || c.kind == ControlKind::Check ||
                        c.kind == ControlKind::Radio;
    if (titled && normalName(c.caption) == wanted) own.push_back(i);
  }
  if (own.size() == 1) return &d.controls()[own[0]];
  return fail("has " + std::to_string(found.size()) + " controls named \"" + name + "\"");
}

std::string shownValue(const Control& c) {
  auto entry = [&](int k) { return k >= 0 && k < (int)c.items.size() ? c.items[(size_t)k] : std::string(); };
  switch (c.kind) {
    case ControlKind::Edit: return c.text;
    case ControlKind::ComboBox: return c.editable || c.sel < 0 ? c.text : entry(c.sel);
    case ControlKind::ListBox: {
      if (!c.multiple || c.multiSel.empty()) return entry(c.sel);
      std::vector<int> picks = c.multiSel;
      std::sort(picks.begin(), picks.end());
      std::string out;
      for (int k : picks) out += (out.empty() ? "" : "\n") + entry(k);
      return out;
    }
    case ControlKind::Check:
    case ControlKind::Radio: return std::to_string(c.check);
    case ControlKind::Tab: return entry(c.sel);
    case ControlKind::Progress: return std::to_string(c.pos);
    default: return c.caption;
  }
}

}  // namespace dv
