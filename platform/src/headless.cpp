#include "dv/headless.h"

#include <strings.h>

#include <unistd.h>

#include <cstdlib>

#include "dv/dialog.h"
#include "dv/file.h"
#include "dv/menu.h"

namespace dv {

bool splitWords(const std::string& line, std::vector<std::string>& words) {
  words.clear();
  size_t i = 0, n = line.size();
  while (i < n) {
    while (i < n && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    if (i >= n) break;
    // A comment runs to the end of the line: '#' first on the line, or a
    // '#' word of its own ("#107" names a dialog resource).
    if (line[i] == '#' && (words.empty() || i + 1 >= n || line[i + 1] == ' ' || line[i + 1] == '\t'))
      break;
    std::string w;
    if (line[i] == '"') {
      ++i;
      bool closed = false;
      while (i < n) {
        char c = line[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c == '\\' && i < n) {
          char e = line[i++];
          w.push_back(e == 'n' ? '\n' : e == 't' ? '\t' : e);
        } else {
          w.push_back(c);
        }
      }
      if (!closed) return false;
    } else {
      while (i < n && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') w.push_back(line[i++]);
    }
    words.push_back(w);
  }
  return true;
}

static int parseResult(const std::string& w) {
  static const std::pair<const char*, int> names[] = {
      {"ok", IDOK},     {"cancel", IDCANCEL}, {"abort", IDABORT}, {"retry", IDRETRY},
      {"ignore", IDIGNORE}, {"yes", IDYES},   {"no", IDNO}};
  for (auto& [n, v] : names)
    if (::strcasecmp(w.c_str(), n) == 0) return v;
  return 0;
}

static bool parseInt(const std::string& w, int& out) {
  if (w.empty()) return false;
  char* end = nullptr;
  long v = std::strtol(w.c_str(), &end, 10);
  if (*end) return false;
  out = (int)v;
  return true;
}

static bool parseButton(const std::string& w, int& id) {
  int r = parseResult(w);
  if (r) {
    id = r;
    return true;
  }
  return parseInt(w, id);
}

// Parses dialog actions from words[i..].
static bool parseActions(const std::vector<std::string>& w, size_t i,
                         std::vector<DialogAction>& out, std::string* err) {
  auto fail = [&](const std::string& m) {
    if (err) *err = m;
    return false;
  };
  while (i < w.size()) {
    const std::string& op = w[i++];
    DialogAction a;
    auto needs = [&](size_t k) { return i + k <= w.size(); };
    if (op == "set" || op == "select" || op == "dblclick") {
      if (!needs(2) || !parseInt(w[i], a.id)) return fail(op + " needs a control id and a text");
      a.op = op == "set" ? DialogAction::Set : op == "select" ? DialogAction::Select
                                                              : DialogAction::DblClick;
      a.value = w[i + 1];
      i += 2;
    } else if (op == "pick" || op == "check" || op == "tab") {
      int v;
      if (!needs(2) || !parseInt(w[i], a.id) || !parseInt(w[i + 1], v))
        return fail(op + " needs a control id and a number");
      a.op = op == "pick" ? DialogAction::Pick : op == "check" ? DialogAction::Check
                                                               : DialogAction::Tab;
      a.row = v;
      i += 2;
    } else if (op == "radio") {
      if (!needs(1) || !parseInt(w[i], a.id)) return fail("radio needs a control id");
      a.op = DialogAction::Radio;
      i += 1;
    } else if (op == "cell") {
      if (!needs(4) || !parseInt(w[i], a.id) || !parseInt(w[i + 1], a.row) ||
          !parseInt(w[i + 2], a.col))
        return fail("cell needs a grid id, a row, a column and a text");
      a.op = DialogAction::Cell;
      a.value = w[i + 3];
      i += 4;
    } else if (op == "press") {
      if (!needs(1) || !parseButton(w[i], a.id)) return fail("press needs a button id, OK or Cancel");
      a.op = DialogAction::Press;
      i += 1;
    } else if (op == "page") {
      if (!needs(1) || !parseInt(w[i], a.id)) return fail("page needs a page number");
      a.op = DialogAction::Page;
      i += 1;
    } else if (::strcasecmp(op.c_str(), "ok") == 0) {
      a.op = DialogAction::SheetOk;
    } else if (::strcasecmp(op.c_str(), "cancel") == 0) {
      a.op = DialogAction::SheetCancel;
    } else {
      return fail("unknown dialog action '" + op + "'");
    }
    out.push_back(std::move(a));
  }
  return true;
}

bool HeadlessUi::addAnswerLine(const std::string& line, std::string* error) {
  std::vector<std::string> w;
  if (!splitWords(line, w)) {
    if (error) *error = "unterminated quote";
    return false;
  }
  auto fail = [&](const std::string& m) {
    if (error) *error = m;
    return false;
  };
  if (w.size() < 2 || w[0] != "answer") return fail("an answer line starts with 'answer KIND'");
  ScriptedAnswer a;
  a.source = line;
  const std::string& kind = w[1];
  if (kind == "message") {
    if (w.size() == 3) {
      a.result = parseResult(w[2]);
    } else if (w.size() == 4) {
      a.match = w[2];
      a.result = parseResult(w[3]);
    }
    if (!a.result) return fail("answer message [CAPTION] Yes|No|OK|Cancel|Retry|Abort|Ignore");
    a.kind = ScriptedAnswer::Message;
  } else if (kind == "file") {
    if (w.size() < 3) return fail("answer file PATH... or answer file cancel");
    a.kind = ScriptedAnswer::File;
    if (w.size() == 3 && w[2] == "cancel")
      a.cancel = true;
    else
      a.paths.assign(w.begin() + 2, w.end());
  } else if (kind == "popup") {
    if (w.size() != 3) return fail("answer popup ID|CAPTION");
    a.kind = ScriptedAnswer::Popup;
    if (!parseInt(w[2], a.command)) a.commandCaption = w[2];
  } else if (kind == "dialog" || kind == "sheet") {
    if (w.size() < 3) return fail("answer " + kind + " CAPTION ACTION...");
    a.kind = kind == "dialog" ? ScriptedAnswer::Dialog : ScriptedAnswer::Sheet;
    a.match = w[2];
    if (!parseActions(w, 3, a.actions, error)) return false;
  } else {
    return fail("unknown answer kind '" + kind + "'");
  }
  answers_.push_back(std::move(a));
  return true;
}

bool HeadlessUi::take(ScriptedAnswer::Kind kind, const std::string& caption, int resourceId,
                      ScriptedAnswer& out) {
  for (auto it = answers_.begin(); it != answers_.end(); ++it) {
    if (it->kind != kind) continue;
    bool fits = it->match.empty() || it->match == caption ||
                (it->match.size() > 1 && it->match[0] == '#' &&
                 std::atoi(it->match.c_str() + 1) == resourceId && resourceId != 0);
    if (!fits) continue;
    out = std::move(*it);
    answers_.erase(it);
    return true;
  }
  return false;
}

void HeadlessUi::note(const std::string& s) {
  log_.push_back(s);
  if (echo) echo(s);
}

void HeadlessUi::noteUnscripted(const std::string& s) {
  ++unscripted_;
  unscriptedList_.push_back(s);
  note("UNSCRIPTED " + s);
}

static const char* resultName(int r) {
  switch (r) {
    case IDOK: return "OK";
    case IDCANCEL: return "Cancel";
    case IDABORT: return "Abort";
    case IDRETRY: return "Retry";
    case IDIGNORE: return "Ignore";
    case IDYES: return "Yes";
    case IDNO: return "No";
  }
  return "?";
}

static std::string oneLine(const std::string& s) {
  std::string o;
  for (char c : s) {
    if (c == '\n') o += "\\n";
    else if (c != '\r') o.push_back(c);
  }
  return o;
}

int HeadlessUi::messageBox(const std::string& text, const std::string& caption, unsigned style) {
  unsigned type = style & MB_TYPEMASK;
  ScriptedAnswer a;
  std::string q = "message box \"" + caption + "\": \"" + oneLine(text) + "\"";
  if (take(ScriptedAnswer::Message, caption, 0, a)) {
    note(q + " -> " + resultName(a.result));
    return a.result;
  }
  int safe = IDOK;
  switch (type) {
    case MB_OK: safe = IDOK; break;
    case MB_YESNO: safe = IDNO; break;
    case MB_ABORTRETRYIGNORE: safe = IDABORT; break;
    default: safe = IDCANCEL; break;
  }
  if (type == MB_OK)
    note(q + " -> OK");
  else
    noteUnscripted(q + " -> " + resultName(safe));
  return safe;
}

FileDialogResult HeadlessUi::fileDialog(const FileDialogRequest& req) {
  FileDialogResult r;
  ScriptedAnswer a;
  std::string q = std::string(req.save ? "save" : "open") + " dialog \"" + req.title + "\"";
  if (!take(ScriptedAnswer::File, req.title, 0, a)) {
    noteUnscripted(q + " -> Cancel");
    return r;
  }
  if (a.cancel) {
    note(q + " -> Cancel");
    return r;
  }
  for (std::string p : a.paths) {
    // Relative names resolve against the current folder; a name without
    // extension takes the default extension, as the dialog does.
    if (!req.defaultExt.empty() && extension(p).empty()) p += "." + req.defaultExt;
    if (p.empty() || p[0] != '/') {
      char cwd[4096];
      if (::getcwd(cwd, sizeof cwd)) p = joinPath(cwd, p);
    }
    r.paths.push_back(p);
  }
  if (!req.multiSelect && r.paths.size() > 1) r.paths.resize(1);
  r.ok = !r.paths.empty();
  std::string shown;
  for (auto& p : r.paths) shown += (shown.empty() ? "" : " ") + p;
  note(q + " -> " + shown);
  return r;
}

bool HeadlessUi::apply(Dialog& d, const DialogAction& a) {
  Control* c = a.op == DialogAction::Press ? d.control(a.id) : d.control(a.id);
  auto missing = [&]() {
    note("  dialog \"" + d.caption() + "\" has no control " + std::to_string(a.id));
    return false;
  };
  switch (a.op) {
    case DialogAction::Set:
      if (!c) return missing();
      c->text = a.value;
      d.onCommand(a.id, EN_CHANGE);
      d.onCommand(a.id, EN_KILLFOCUS);
      break;
    case DialogAction::Select:
    case DialogAction::DblClick: {
      if (!c) return missing();
      int found = -1;
      for (size_t i = 0; i < c->items.size() && found < 0; ++i)
        if (c->items[i] == a.value) found = (int)i;
      for (size_t i = 0; i < c->items.size() && found < 0; ++i)
        if (::strcasecmp(c->items[i].c_str(), a.value.c_str()) == 0) found = (int)i;
      if (found < 0) {
        if (c->kind == ControlKind::ComboBox && c->editable) {
          c->text = a.value;
          d.onCommand(a.id, EN_CHANGE);
          break;
        }
        note("  dialog \"" + d.caption() + "\": control " + std::to_string(a.id) + " has no entry \"" +
             a.value + "\"");
        return false;
      }
      c->sel = found;
      if (c->multiple) c->multiSel = {found};
      d.onCommand(a.id, LBN_SELCHANGE);
      if (a.op == DialogAction::DblClick) d.onCommand(a.id, LBN_DBLCLK);
      break;
    }
    case DialogAction::Pick:
      if (!c) return missing();
      c->sel = a.row >= 0 && a.row < (int)c->items.size() ? a.row : -1;
      d.onCommand(a.id, LBN_SELCHANGE);
      break;
    case DialogAction::Check:
      if (!c) return missing();
      c->check = a.row;
      d.onCommand(a.id, BN_CLICKED);
      break;
    case DialogAction::Radio:
      if (!c) return missing();
      d.checkRadio(a.id);
      d.onCommand(a.id, BN_CLICKED);
      break;
    case DialogAction::Tab:
      if (!c) return missing();
      c->sel = a.row;
      d.onCommand(a.id, TCN_SELCHANGE);
      break;
    case DialogAction::Cell: {
      if (!c || !c->grid) return missing();
      if (!c->grid->userEdit(a.row, a.col, a.value)) {
        note("  grid " + std::to_string(a.id) + " has no cell " + std::to_string(a.row) + "," +
             std::to_string(a.col));
        return false;
      }
      d.onGridEdited(a.id, a.row, a.col);
      break;
    }
    case DialogAction::Press:
      if (!c && a.id != IDOK && a.id != IDCANCEL) return missing();
      if (c && (!c->enabled || !c->visible)) {
        note("  dialog \"" + d.caption() + "\": button " + std::to_string(a.id) + " is not available");
        return false;
      }
      d.onCommand(a.id, BN_CLICKED);
      break;
    default: break;
  }
  d.changed();
  return true;
}

int HeadlessUi::runModal(Dialog& d) {
  d.resetForRun();
  if (!d.onInitDialog() && d.ended()) return d.result();
  if (d.ended()) return d.result();
  std::string q = "dialog \"" + d.caption() + "\"";
  ScriptedAnswer a;
  if (!take(ScriptedAnswer::Dialog, d.caption(), d.resourceId(), a)) {
    noteUnscripted(q + " -> Cancel");
    d.onCancel();
    if (!d.ended()) d.endDialog(IDCANCEL);
    return d.result();
  }
  note(q + " <- " + a.source);
  for (const auto& act : a.actions) {
    if (d.ended()) break;
    apply(d, act);
  }
  if (!d.ended()) {
    noteUnscripted(q + " still open after its scripted actions -> Cancel");
    d.onCancel();
    if (!d.ended()) d.endDialog(IDCANCEL);
  }
  note(q + " ended with " + resultName(d.result()));
  return d.result();
}

int HeadlessUi::runSheet(PropertySheet& sheet) {
  std::string q = "property sheet \"" + sheet.caption() + "\"";
  for (auto* p : sheet.pages()) {
    p->resetForRun();
    p->onInitDialog();
  }
  ScriptedAnswer a;
  if (!take(ScriptedAnswer::Sheet, sheet.caption(), 0, a)) {
    noteUnscripted(q + " -> Cancel");
    return IDCANCEL;
  }
  note(q + " <- " + a.source);
  Dialog* page = sheet.pages().empty() ? nullptr : sheet.pages()[0];
  for (const auto& act : a.actions) {
    if (act.op == DialogAction::Page) {
      if (act.id >= 0 && act.id < (int)sheet.pages().size()) {
        sheet.setActivePage(act.id);
        page = sheet.pages()[(size_t)act.id];
      }
    } else if (act.op == DialogAction::SheetOk) {
      if (sheet.applyAll()) {
        note(q + " ended with OK");
        return IDOK;
      }
      note(q + ": a page refused OK");
    } else if (act.op == DialogAction::SheetCancel) {
      for (auto* p : sheet.pages()) p->onCancel();
      note(q + " ended with Cancel");
      return IDCANCEL;
    } else if (page) {
      apply(*page, act);
    }
  }
  noteUnscripted(q + " still open after its scripted actions -> Cancel");
  return IDCANCEL;
}

static int findCaption(const Menu& m, const std::string& caption) {
  int id = m.findCommand(caption);
  if (id) return id;
  for (const auto& it : m.items()) {
    if (it.popup) {
      if (int sub = findCaption(*it.popup, caption)) return sub;
    } else if (!it.separator &&
               ::strcasecmp(Menu::plainCaption(it.caption).c_str(),
                            Menu::plainCaption(caption).c_str()) == 0) {
      return it.id;
    }
  }
  return 0;
}

int HeadlessUi::trackPopupMenu(const Menu& menu, int, int) {
  ScriptedAnswer a;
  if (!take(ScriptedAnswer::Popup, "", 0, a)) {
    noteUnscripted("pop-up menu -> nothing chosen");
    return 0;
  }
  int id = a.command ? a.command : findCaption(menu, a.commandCaption);
  const MenuItem* item = id ? menu.find(id) : nullptr;
  if (!item) {
    note("pop-up menu has no entry \"" + a.source + "\" -> nothing chosen");
    return 0;
  }
  if (item->grayed) {
    note("pop-up menu entry \"" + Menu::plainCaption(item->caption) + "\" is greyed -> nothing chosen");
    return 0;
  }
  note("pop-up menu -> " + Menu::plainCaption(item->caption) + " (" + std::to_string(id) + ")");
  return id;
}

void HeadlessUi::progressShow(const std::string& title, const std::string& text) {
  progressVisible_ = true;
  progressTitle_ = title;
  progressText_ = text;
  progressPos_ = 0;
  ++progressCreated_;
}

void HeadlessUi::progressUpdate(const std::string& text, int position) {
  progressText_ = text;
  progressPos_ = position;
}

void HeadlessUi::progressHide() { progressVisible_ = false; }

void HeadlessUi::processPosted() {
  while (!posted_.empty()) {
    auto fn = std::move(posted_.front());
    posted_.pop_front();
    fn();
  }
}

}  // namespace dv
