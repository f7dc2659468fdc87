#include "dv/headless.h"

#include <strings.h>

#include <unistd.h>

#include <cstdlib>

#include "dv/control_names.h"
#include "dv/dialog.h"
#include "dv/file.h"
#include "dv/menu.h"
#include "dv/system.h"

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

static bool parseByte(const std::string& w, int& out) { return parseInt(w, out) && out >= 0 && out <= 255; }

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
      if (!needs(2)) return fail(op + " needs a control and a text");
      a.op = op == "set" ? DialogAction::Set : op == "select" ? DialogAction::Select
                                                              : DialogAction::DblClick;
      a.control = w[i];
      a.value = w[i + 1];
      i += 2;
    } else if (op == "pick" || op == "check" || op == "tab" || op == "row") {
      if (!needs(2) || !parseInt(w[i + 1], a.row)) return fail(op + " needs a control and a number");
      a.op = op == "pick" ? DialogAction::Pick : op == "check" ? DialogAction::Check
             : op == "tab" ? DialogAction::Tab : DialogAction::Row;
      a.control = w[i];
      i += 2;
    } else if (op == "radio" || op == "press" || op == "page") {
      if (!needs(1)) return fail(op + (op == "page" ? " needs a page" : " needs a control"));
      a.op = op == "radio" ? DialogAction::Radio : op == "press" ? DialogAction::Press : DialogAction::Page;
      a.control = w[i];
      i += 1;
    } else if (op == "cell") {
      if (!needs(4) || !parseInt(w[i + 1], a.row) || !parseInt(w[i + 2], a.col))
        return fail("cell needs a grid, a row, a column and a text");
      a.op = DialogAction::Cell;
      a.control = w[i];
      a.value = w[i + 3];
      i += 4;
    } else if (op == "expect") {
      if (!needs(3) || w[i] != "value")
        return fail("expect value CONTROL TEXT or expect value GRID ROW COL TEXT");
      a.op = DialogAction::Expect;
      a.control = w[i + 1];
      // A cell when a row and a column come before the text.
      if (needs(5) && parseInt(w[i + 2], a.row) && parseInt(w[i + 3], a.col)) {
        a.value = w[i + 4];
        i += 5;
      } else {
        a.col = -1;
        a.value = w[i + 2];
        i += 3;
      }
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

bool HeadlessUi::addAnswerLine(const std::string& line, std::string* error, int scriptLine) {
  std::vector<std::string> w;
  if (!splitWords(line, w)) {
    if (error) *error = "unterminated quote";
    return false;
  }
  return addAnswerWords(w, error, scriptLine);
}

static std::string quoteWords(const std::vector<std::string>& w) {
  std::string out;
  for (const std::string& x : w) {
    bool plain = !x.empty() && x != "#" && x.find_first_of(" \t\r\n\"\\") == std::string::npos;
    std::string q;
    for (char c : x) {
      if (c == '\n') q += "\\n";
      else if (c == '\t') q += "\\t";
      else if (c == '"' || c == '\\') q += std::string("\\") + c;
      else q.push_back(c);
    }
    out += (out.empty() ? "" : " ") + (plain ? x : "\"" + q + "\"");
  }
  return out;
}

bool HeadlessUi::addAnswerWords(const std::vector<std::string>& w, std::string* error, int scriptLine) {
  auto fail = [&](const std::string& m) {
    if (error) *error = m;
    return false;
  };
  if (w.size() < 2 || w[0] != "answer") return fail("an answer line starts with 'answer KIND'");
  ScriptedAnswer a;
  a.source = quoteWords(w);
  a.line = scriptLine;
  const std::string& kind = w[1];
  const bool cancel = w.size() == 3 && w[2] == "cancel";
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
    if (cancel)
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
  } else if (kind == "font") {
    a.kind = ScriptedAnswer::Font;
    int r, g, b;
    if (cancel) {
      a.cancel = true;
    } else if ((w.size() != 4 && w.size() != 7) || w[2].empty() || !parseInt(w[3], a.font.points) ||
               a.font.points < 1 || a.font.points > 1638 ||
               (w.size() == 7 && !(parseByte(w[4], r) && parseByte(w[5], g) && parseByte(w[6], b)))) {
      return fail("answer font FACE POINTS [R G B] (1 to 1638 points, colours 0 to 255) or answer font cancel");
    } else {
      a.font.face = w[2];
      a.hasColour = w.size() == 7;
      if (a.hasColour) a.font.colour = rgb(r, g, b);
    }
  } else if (kind == "color") {
    a.kind = ScriptedAnswer::Color;
    int r, g, b;
    if (cancel)
      a.cancel = true;
    else if (w.size() != 5 || !parseByte(w[2], r) || !parseByte(w[3], g) || !parseByte(w[4], b))
      return fail("answer color R G B (0 to 255) or answer color cancel");
    else
      a.colour = rgb(r, g, b);
  } else if (kind == "progress") {
    if ((w.size() != 4 && w.size() != 5) || w[3] != "cancel" ||
        (w.size() == 5 && (!parseInt(w[4], a.command) || a.command < 0)))
      return fail("answer progress TITLE cancel [UPDATES]");
    a.kind = ScriptedAnswer::Progress;
    a.match = w[2];
    a.cancel = true;
    if (w.size() == 4) a.command = 1;
  } else if (kind == "printer") {
    if (w.size() != 3 || w[2].size() < 5 || ::strcasecmp(extension(w[2]).c_str(), ".pdf") != 0)
      return fail("printer needs a file ending in .pdf");
    a.kind = ScriptedAnswer::Printer;
    a.paths = {w[2]};
  } else {
    return fail("unknown answer kind '" + kind + "'");
  }
  answers_.push_back(std::move(a));
  return true;
}

std::vector<ScriptedAnswer> HeadlessUi::startCommand(int scriptLine) {
  std::vector<ScriptedAnswer> dropped;
  for (auto it = answers_.begin(); it != answers_.end();) {
    if (it->forLine) {
      dropped.push_back(std::move(*it));
      it = answers_.erase(it);
    } else {
      it->forLine = scriptLine > 0 ? scriptLine : -1;
      ++it;
    }
  }
  return dropped;
}

bool HeadlessUi::take(ScriptedAnswer::Kind kind, const std::string& caption, int resourceId,
                      ScriptedAnswer& out, ScriptedAnswer::Kind orKind) {
  const std::string wanted = normalName(caption);
  for (auto it = answers_.begin(); it != answers_.end(); ++it) {
    if (it->kind != kind && it->kind != orKind) continue;
    bool fits = it->match.empty() || normalName(it->match) == wanted ||
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
  lastFileFolder_ = req.initialDir;
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

bool HeadlessUi::problem(const std::string& s) {
  problems_.push_back(s);
  note("  PROBLEM " + s);
  return false;
}

// The standard buttons a script may press by name even where the dialog
// has no such control (the Enter and Escape keys).
static int standardButton(const std::string& name) {
  std::string n = normalName(name);
  return n == "ok" || n == "1" ? IDOK : n == "cancel" || n == "2" ? IDCANCEL : 0;
}

Control* HeadlessUi::target(Dialog& d, const DialogAction& a) {
  std::string error;
  Control* c = findControl(d, a.control, &error);
  if (!c) problem(error);
  return c;
}

static std::string shown(const std::string& s) { return "\"" + oneLine(s) + "\""; }

bool HeadlessUi::expectValue(Dialog& d, const DialogAction& a) {
  Control* c = target(d, a);
  if (!c) return false;
  std::string what = "dialog \"" + d.caption() + "\": " + a.control;
  std::string value;
  if (c->kind == ControlKind::Grid) {
    if (a.col < 0) return problem(what + " is a grid: expect value GRID ROW COL TEXT");
    const GridModel::Cell* cell = c->grid ? c->grid->cell(a.row, a.col) : nullptr;
    if (!cell)
      return problem(what + " has no cell " + std::to_string(a.row) + "," + std::to_string(a.col));
    value = cell->kind == GridModel::Check ? (cell->checked ? "1" : "0") : cell->text;
    what += " cell " + std::to_string(a.row) + "," + std::to_string(a.col);
  } else {
    if (a.col >= 0) return problem(what + " is not a grid: expect value CONTROL TEXT");
    value = shownValue(*c);
  }
  if (value != a.value) return problem(what + " shows " + shown(value) + ", not " + shown(a.value));
  note("  " + what + " shows " + shown(value));
  return true;
}

bool HeadlessUi::apply(Dialog& d, const DialogAction& a) {
  const std::string where = "dialog \"" + d.caption() + "\": ";
  if (a.op == DialogAction::Expect) return expectValue(d, a);
  if (a.op == DialogAction::Page || a.op == DialogAction::SheetOk || a.op == DialogAction::SheetCancel)
    return problem(where + "not a property sheet, it has no pages");
  Control* c = nullptr;
  int id = 0;
  if (a.op == DialogAction::Press && !findControl(d, a.control, nullptr) && standardButton(a.control)) {
    // OK and Cancel work as keys too, with or without a button of their own.
    id = standardButton(a.control);
    c = d.control(id);
  } else {
    c = target(d, a);
    if (!c) return false;
    id = c->id;
  }
  const std::string name = where + a.control;
  if (c && (!c->enabled || !c->visible)) return problem(name + " is not available");
  auto needs = [&](std::initializer_list<ControlKind> kinds, const char* what) {
    for (ControlKind k : kinds)
      if (c->kind == k) return true;
    return problem(name + " is not " + what);
  };
  switch (a.op) {
    case DialogAction::Set:
      if (!needs({ControlKind::Edit, ControlKind::ComboBox}, "an edit")) return false;
      if (c->readOnly) return problem(name + " is read-only");
      c->text = a.value;
      d.onCommand(id, EN_CHANGE);
      d.onCommand(id, EN_KILLFOCUS);
      break;
    case DialogAction::Select:
    case DialogAction::DblClick: {
      if (!needs({ControlKind::ListBox, ControlKind::ComboBox}, "a list or drop-down")) return false;
      int found = -1;
      for (size_t i = 0; i < c->items.size() && found < 0; ++i)
        if (c->items[i] == a.value) found = (int)i;
      for (size_t i = 0; i < c->items.size() && found < 0; ++i)
        if (::strcasecmp(c->items[i].c_str(), a.value.c_str()) == 0) found = (int)i;
      if (found < 0) {
        if (c->kind == ControlKind::ComboBox && c->editable) {
          c->text = a.value;
          d.onCommand(id, EN_CHANGE);
          break;
        }
        return problem(name + " has no entry " + shown(a.value));
      }
      c->sel = found;
      if (c->multiple) c->multiSel = {found};
      d.onCommand(id, LBN_SELCHANGE);
      if (a.op == DialogAction::DblClick) d.onCommand(id, LBN_DBLCLK);
      break;
    }
    case DialogAction::Pick:
      if (!needs({ControlKind::ListBox, ControlKind::ComboBox}, "a list or drop-down")) return false;
      c->sel = a.row >= 0 && a.row < (int)c->items.size() ? a.row : -1;
      d.onCommand(id, LBN_SELCHANGE);
      break;
    case DialogAction::Check:
      if (!needs({ControlKind::Check, ControlKind::Radio}, "a check box")) return false;
      c->check = a.row;
      d.onCommand(id, BN_CLICKED);
      break;
    case DialogAction::Radio:
      if (!needs({ControlKind::Radio}, "a radio button")) return false;
      d.checkRadio(id);
      d.onCommand(id, BN_CLICKED);
      break;
    case DialogAction::Tab:
      if (!needs({ControlKind::Tab}, "a tab strip")) return false;
      if (a.row < 0 || a.row >= (int)c->items.size())
        return problem(name + " has no tab " + std::to_string(a.row));
      c->sel = a.row;
      d.onCommand(id, TCN_SELCHANGE);
      break;
    case DialogAction::Cell: {
      if (!needs({ControlKind::Grid}, "a grid")) return false;
      if (!c->grid->userEdit(a.row, a.col, a.value))
        return problem(where + "grid " + std::to_string(id) + " has no cell " + std::to_string(a.row) +
                       "," + std::to_string(a.col));
      d.onGridEdited(id, a.row, a.col);
      break;
    }
    case DialogAction::Row: {
      if (!needs({ControlKind::Grid}, "a grid")) return false;
      GridModel& g = *c->grid;
      if (a.row < g.fixedRows() || a.row >= g.rows())
        return problem(name + " has no row " + std::to_string(a.row) + " (rows " +
                       std::to_string(g.fixedRows()) + " to " + std::to_string(g.rows() - 1) + ")");
      g.setCurrent(a.row, std::max(g.currentCol(), g.fixedCols()));
      break;
    }
    case DialogAction::Press:
      if (c && !needs({ControlKind::Button}, "a button")) return false;
      d.onCommand(id, BN_CLICKED);
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
    apply(d, act);  // a problem is reported; the rest of the actions go on
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
  const auto& pages = sheet.pages();
  for (auto* p : pages) {
    p->resetForRun();
    p->onInitDialog();
  }
  auto cancel = [&](const std::string& how) {
    for (auto* p : pages) p->onCancel();
    note(q + how);
    return IDCANCEL;
  };
  ScriptedAnswer a;
  if (!take(ScriptedAnswer::Sheet, sheet.caption(), 0, a, ScriptedAnswer::Dialog)) {
    noteUnscripted(q + " -> Cancel");
    return cancel(" ended with Cancel");
  }
  note(q + " <- " + a.source);
  if (sheet.activePage() < 0 || sheet.activePage() >= (int)pages.size()) sheet.setActivePage(0);
  for (const auto& act : a.actions) {
    Dialog* page = pages.empty() ? nullptr : pages[(size_t)sheet.activePage()];
    DialogAction::Op op = act.op;
    // OK, Cancel and Apply are the sheet's own buttons unless the page has
    // a control of that name.
    if (op == DialogAction::Press && !(page && findControl(*page, act.control, nullptr))) {
      std::string n = normalName(act.control);
      op = n == "ok" ? DialogAction::SheetOk : n == "cancel" ? DialogAction::SheetCancel : op;
      if (n == "apply") {
        if (!sheet.applyAll()) note(q + ": a page refused Apply");
        for (auto* p : pages) p->resetForRun();
        continue;
      }
    }
    if (op == DialogAction::Page) {
      int index = -1;
      if (parseInt(act.control, index)) {
        if (index < 0 || index >= (int)pages.size()) index = -1;
      } else {
        for (size_t i = 0; i < pages.size(); ++i)
          if (normalName(pages[i]->caption()) == normalName(act.control))
            index = index == -1 ? (int)i : -2;
      }
      if (index >= 0) {
        sheet.setActivePage(index);
        continue;
      }
      std::string names;
      for (auto* p : pages) names += (names.empty() ? "\"" : ", \"") + p->caption() + "\"";
      problem(q + (index == -2 ? " has several pages " : " has no page ") + shown(act.control) +
              "; its pages: " + names);
    } else if (op == DialogAction::SheetOk) {
      if (sheet.applyAll()) {
        note(q + " ended with OK");
        return IDOK;
      }
      note(q + ": a page refused OK");
    } else if (op == DialogAction::SheetCancel) {
      return cancel(" ended with Cancel");
    } else if (page) {
      apply(*page, act);
    } else {
      problem(q + " has no pages");
    }
  }
  noteUnscripted(q + " still open after its scripted actions -> Cancel");
  return cancel(" ended with Cancel");
}

bool HeadlessUi::takeChoice(ScriptedAnswer::Kind kind, const std::string& q, ScriptedAnswer& a) {
  if (!take(kind, "", 0, a)) {
    noteUnscripted(q + " -> Cancel");
    return false;
  }
  if (a.cancel) note(q + " -> Cancel");
  return !a.cancel;
}

bool HeadlessUi::chooseFont(FontChoice& font) {
  ScriptedAnswer a;
  if (!takeChoice(ScriptedAnswer::Font, "font dialog (" + font.face + " " + std::to_string(font.points) + ")", a))
    return false;
  font.face = a.font.face;
  font.points = a.font.points;
  if (a.hasColour) font.colour = a.font.colour;
  note("font dialog -> " + font.face + " " + std::to_string(font.points));
  return true;
}

bool HeadlessUi::chooseColor(ColorRef& colour) {
  auto text = [](ColorRef c) {
    return std::to_string(c & 255) + " " + std::to_string((c >> 8) & 255) + " " +
           std::to_string((c >> 16) & 255);
  };
  ScriptedAnswer a;
  if (!takeChoice(ScriptedAnswer::Color, "colour dialog (" + text(colour) + ")", a)) return false;
  colour = a.colour;
  note("colour dialog -> " + text(colour));
  return true;
}

std::string HeadlessUi::printFile() {
  ScriptedAnswer a;
  if (!take(ScriptedAnswer::Printer, "", 0, a)) {
    note("print job -> the default printer");
    return "";
  }
  std::string p = a.paths[0][0] == '/' ? a.paths[0] : joinPath(currentDir(), a.paths[0]);
  note("print job -> " + p);
  return p;
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
  progressUpdates_ = 0;
  progressCancelAfter_ = -1;
  progressCancelNoted_ = false;
  ScriptedAnswer a;
  if (take(ScriptedAnswer::Progress, title, 0, a)) progressCancelAfter_ = a.command;
}

void HeadlessUi::progressUpdate(const std::string& text, int position) {
  progressText_ = text;
  progressPos_ = position;
  ++progressUpdates_;
}

void HeadlessUi::progressHide() {
  progressVisible_ = false;
  progressCancelAfter_ = -1;
}

bool HeadlessUi::progressCancelled() {
  if (!progressVisible_ || progressCancelAfter_ < 0 || progressUpdates_ < progressCancelAfter_) return false;
  if (!progressCancelNoted_) note("progress \"" + progressTitle_ + "\" -> Cancel");
  progressCancelNoted_ = true;
  return true;
}

void HeadlessUi::processPosted() {
  while (!posted_.empty()) {
    auto fn = std::move(posted_.front());
    posted_.pop_front();
    fn();
  }
}

}  // namespace dv
