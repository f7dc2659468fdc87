#include "dv/dialog.h"

#include "dv/ui.h"

namespace dv {

namespace {
const std::vector<std::string> kNoItems;
}

Dialog::Dialog(int resourceId, std::string caption, int width, int height)
    : resourceId_(resourceId), caption_(std::move(caption)), width_(width), height_(height) {}

Control& Dialog::add(ControlKind kind, int id, const std::string& caption, Rect r) {
  Control c;
  c.id = id;
  c.kind = kind;
  c.caption = caption;
  c.rect = r;
  if (kind == ControlKind::Edit) c.text = caption;
  controls_.push_back(std::move(c));
  return controls_.back();
}

Control& Dialog::addButton(int id, const std::string& text, Rect r, bool def) {
  Control& c = add(ControlKind::Button, id, text, r);
  c.isDefault = def;
  return c;
}

Control& Dialog::addRadio(int id, const std::string& text, Rect r, bool startsGroup) {
  Control& c = add(ControlKind::Radio, id, text, r);
  c.group = startsGroup;
  return c;
}

Control& Dialog::addGrid(int id, Rect r) {
  Control& c = add(ControlKind::Grid, id, "", r);
  c.grid = std::make_shared<GridModel>();
  return c;
}

Control* Dialog::control(int id) {
  for (auto& c : controls_)
    if (c.id == id) return &c;
  return nullptr;
}

const Control* Dialog::control(int id) const { return const_cast<Dialog*>(this)->control(id); }

std::string Dialog::text(int id) const {
  auto* c = control(id);
  if (!c) return "";
  switch (c->kind) {
    case ControlKind::Edit: return c->text;
    case ControlKind::ComboBox:
      if (c->editable) return c->text;
      return c->sel >= 0 && c->sel < (int)c->items.size() ? c->items[(size_t)c->sel] : c->text;
    case ControlKind::ListBox:
      return c->sel >= 0 && c->sel < (int)c->items.size() ? c->items[(size_t)c->sel] : "";
    default: return c->caption;
  }
}

void Dialog::setText(int id, const std::string& t) {
  auto* c = control(id);
  if (!c) return;
  if (c->kind == ControlKind::Edit || c->kind == ControlKind::ComboBox)
    c->text = t;
  else
    c->caption = t;
  changed();
}

int Dialog::check(int id) const {
  auto* c = control(id);
  return c ? c->check : 0;
}

void Dialog::setCheck(int id, int v) {
  if (auto* c = control(id)) {
    c->check = v;
    changed();
  }
}

void Dialog::checkRadio(int id) {
  // A group runs from a radio with `group` set (or the first radio) up to the
  // next one with `group` set.
  int target = -1;
  for (size_t i = 0; i < controls_.size(); ++i)
    if (controls_[i].id == id && controls_[i].kind == ControlKind::Radio) target = (int)i;
  if (target < 0) return;
  int start = target;
  while (start > 0 && !controls_[(size_t)start].group &&
         controls_[(size_t)start - 1].kind == ControlKind::Radio)
    --start;
  for (size_t i = (size_t)start; i < controls_.size(); ++i) {
    auto& c = controls_[i];
    if (c.kind != ControlKind::Radio) break;
    if ((int)i != start && c.group) break;
    c.check = (int)i == target ? 1 : 0;
  }
  changed();
}

int Dialog::selection(int id) const {
  auto* c = control(id);
  return c ? c->sel : -1;
}

void Dialog::setSelection(int id, int index) {
  if (auto* c = control(id)) {
    c->sel = index >= -1 && index < (int)c->items.size() ? index : -1;
    changed();
  }
}

std::string Dialog::selectedText(int id) const {
  auto* c = control(id);
  if (!c || c->sel < 0 || c->sel >= (int)c->items.size()) return "";
  return c->items[(size_t)c->sel];
}

void Dialog::setItems(int id, std::vector<std::string> items) {
  if (auto* c = control(id)) {
    c->items = std::move(items);
    if (c->sel >= (int)c->items.size()) c->sel = -1;
    changed();
  }
}

void Dialog::addItem(int id, const std::string& item) {
  if (auto* c = control(id)) {
    c->items.push_back(item);
    changed();
  }
}

const std::vector<std::string>& Dialog::items(int id) const {
  auto* c = control(id);
  return c ? c->items : kNoItems;
}

void Dialog::show(int id, bool visible) {
  if (auto* c = control(id)) {
    c->visible = visible;
    changed();
  }
}

void Dialog::enable(int id, bool enabled) {
  if (auto* c = control(id)) {
    c->enabled = enabled;
    changed();
  }
}

GridModel* Dialog::grid(int id) {
  auto* c = control(id);
  return c ? c->grid.get() : nullptr;
}

void Dialog::onCommand(int id, int notify) {
  if (notify != BN_CLICKED) return;
  if (id == IDOK)
    onOK();
  else if (id == IDCANCEL)
    onCancel();
}

void Dialog::endDialog(int code) {
  ended_ = true;
  result_ = code;
}

int Dialog::doModal() {
  resetForRun();
  return ui().runModal(*this);
}

bool PropertySheet::applyAll() {
  for (auto* p : pages_) {
    p->resetForRun();
    p->onOK();
    if (!p->ended()) return false;
  }
  return true;
}

int PropertySheet::doModal() { return ui().runSheet(*this); }

}  // namespace dv
