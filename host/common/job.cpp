#include "job.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "demo.h"
#include "dv/file.h"
#include "dv/headless.h"
#include "dv/system.h"
#include "dv/tree.h"
#include "dv/window.h"
#include "pontra/pontra.h"
#include "startup.h"

namespace cli {

namespace {

Renderer& renderer() {
  static Renderer r;
  return r;
}

struct Runner {
  std::string name;
  JobResult r;
  int lineNo = 0;

  void fail(const std::string& what) {
    ++r.failures;
    std::fprintf(stderr, "%s:%d: %s\n", name.c_str(), lineNo, what.c_str());
  }

  dv::TreeItem* item(const std::string& path) {
    dv::TreeItem* it = pontra::frame().tree.findPath(path);
    if (!it) fail("no tree item \"" + path + "\"");
    return it;
  }

  int commandId(const std::string& w) {
    char* end = nullptr;
    long id = std::strtol(w.c_str(), &end, 10);
    if (!w.empty() && *end == 0) return (int)id;
    dv::Menu* bar = pontra::currentMenuBar();
    int found = bar ? bar->findCommand(w) : 0;
    if (!found) fail("no menu command \"" + w + "\"");
    return found;
  }

  void settle() {
    dv::ui().processPosted();
    for (const std::string& p : dv::headless().takeProblems()) fail(p);
  }

  static std::string answerAt(const dv::ScriptedAnswer& a) {
    return (a.line ? "the answer at line " + std::to_string(a.line) : std::string("the answer")) +
           " (" + a.source + ")";
  }

  // A command starts: the answers queued before it are for it; those left
  // over by the command before are dropped, so no later question takes them.
  void startCommand() {
    for (const auto& a : dv::headless().startCommand(lineNo))
      fail(answerAt(a) + " was not used by the command at line " + std::to_string(a.forLine) +
           " and is dropped");
  }

  // The answers no command used, at the end of the job.
  void unusedAtEnd() {
    for (const auto& a : dv::headless().answers()) fail(answerAt(a) + " was never used");
    dv::headless().clearAnswers();
  }

  using Words = std::vector<std::string>;
  dv::TreeModel& tree() { return pontra::frame().tree; }

  // --- the statements, one method each ------------------------------------------

  void answer(const Words& w) {
    std::string err;
    Words words = w;
    if (w[0] == "printer") words = {"answer", "printer", w[1]};
    if (!dv::headless().addAnswerWords(words, &err, lineNo)) fail(err);
  }

  void menuCommand(const Words& w) {
    int id = commandId(w[1]);
    if (!id) return;
    dv::MenuItem* mi = pontra::currentMenuBar() ? pontra::currentMenuBar()->find(id) : nullptr;
    if (mi && mi->grayed)
      fail("menu command \"" + w[1] + "\" is greyed");
    else
      pontra::command(id);
  }

  void open(const Words& w) {
    std::string p = w[1][0] == '/' ? w[1] : dv::joinPath(dv::currentDir(), w[1]);
    if (!pontra::openProjectPath(p)) fail("could not open or create project " + p);
  }

  void rightClick(const Words& w) {
    if (auto* it = item(w[1])) tree().handler()->treeRightClick(it, 0, 0);
  }
  void doubleClick(const Words& w) {
    if (auto* it = item(w[1])) tree().handler()->treeDoubleClick(it);
  }
  void deleteKey(const Words& w) {
    if (auto* it = item(w[1])) {
      tree().select(it);
      tree().handler()->treeDeleteKey(it);
    }
  }
  void rename(const Words& w) {
    auto* it = item(w[1]);
    if (!it) return;
    if (!tree().handler()->treeBeginLabelEdit(it))
      fail("the label of \"" + w[1] + "\" cannot be edited");
    else if (!tree().handler()->treeEndLabelEdit(it, w[2]))
      std::fprintf(stderr, "%s:%d: the new name \"%s\" was refused\n", name.c_str(), lineNo,
                   w[2].c_str());
  }
  void select(const Words& w) {
    if (auto* it = item(w[1])) tree().select(it);
  }

  void expect(const Words& w) {
    const std::string& what = w[1];
    std::string arg = w.size() > 2 ? w[2] : "";
    std::string bar = pontra::messageBarText();
    if (what == "message") {
      if (bar.find(arg) == std::string::npos) fail("message bar lacks \"" + arg + "\"");
    } else if (what == "nomessage") {
      if (bar.find(arg) != std::string::npos) fail("message bar holds \"" + arg + "\"");
    } else if (what == "exists" || what == "missing") {
      bool there = dv::fileExists(arg);
      if (there != (what == "exists")) fail(arg + (there ? " exists" : " does not exist"));
    } else if (what == "tree" || what == "notree") {
      bool there = tree().findPath(arg) != nullptr;
      if (there != (what == "tree"))
        fail("tree " + std::string(there ? "holds" : "lacks") + " \"" + arg + "\"");
    } else if (what == "answered") {
      for (const auto& a : dv::headless().answers()) fail(answerAt(a) + " is unused");
      if (dv::headless().unscripted()) fail("a question went unscripted");
    } else {
      fail("unknown expectation \"" + what + "\"");
    }
  }

  void synthesize(const Words& w) {
    int traces = w.size() > 3 ? std::atoi(w[3].c_str()) : 60;
    int samples = w.size() > 4 ? std::atoi(w[4].c_str()) : 128;
    if (traces < 1 || traces > 1000000 || samples < 2 || samples > 65536) {
      fail("synth needs 1 to 1000000 traces and 2 to 65536 samples");
      return;
    }
    // The recording's folder is made when missing ("field/LINE01.DZT").
    std::string folder = dv::dirName(w[2]);
    if (!folder.empty() && folder != "." && !dv::isDirectory(folder)) dv::makeDirectory(folder);
    if (host::writeSynthetic(w[1], w[2], traces, samples) < 0)
      fail("could not write a synthetic " + w[1] + " recording to " + w[2]);
  }

  void render(const Words& w) {
    int width = w.size() > 4 ? std::atoi(w[3].c_str()) : 1200;
    int height = w.size() > 4 ? std::atoi(w[4].c_str()) : 800;
    dv::DocWindow* found = nullptr;
    for (auto* win : pontra::frame().mdi.windows())
      if (win->title() == w[1]) found = win;
    std::string png = w[2][0] == '/' ? w[2] : dv::joinPath(dv::currentDir(), w[2]);
    if (!found)
      fail("no document window titled \"" + w[1] + "\"");
    else if (!renderer())
      fail("this build cannot render windows (no Qt backend)");
    else if (width < 16 || height < 16 || width > 8000 || height > 8000)
      fail("render sizes run from 16 to 8000 pixels");
    else if (!renderer()(*found, width, height, png))
      fail("could not render \"" + w[1] + "\" to " + png);
    else
      std::printf("%s: rendered \"%s\" to %s\n", name.c_str(), w[1].c_str(), png.c_str());
  }

  // The document window of a title, or nullptr (reported).
  dv::DocWindow* docWindow(const std::string& title) {
    for (auto* win : pontra::frame().mdi.windows())
      if (win->title() == title && win->pane()) return win;
    fail("no document window titled \"" + title + "\"");
    return nullptr;
  }

  // The deepest shown pane under client pixel (x, y) of `top`, the point
  // made relative to it.
  static dv::Pane* paneAt(dv::Pane* top, int& x, int& y) {
    for (bool deeper = true; deeper;) {
      deeper = false;
      for (dv::Pane* c : top->children()) {
        const dv::Rect& g = c->geometry();
        if (c->visible() && x >= g.left && x < g.right && y >= g.top && y < g.bottom) {
          x -= g.left, y -= g.top, top = c, deeper = true;
          break;
        }
      }
    }
    return top;
  }

  // click TITLE X Y [W H] and drag TITLE X Y X2 Y2 [W H]: the left button
  // pressed at client pixel (X, Y) of the window laid out at W x H (as
  // render paints it, 1200 x 800 unless given), moved to (X2, Y2) for a
  // drag, and released there.
  void click(const Words& w) {
    const bool drag = w[0] == "drag";
    const size_t size = drag ? 6 : 4;
    dv::DocWindow* win = docWindow(w[1]);
    if (!win) return;
    const int width = w.size() > size + 1 ? std::atoi(w[size].c_str()) : 1200;
    const int height = w.size() > size + 1 ? std::atoi(w[size + 1].c_str()) : 800;
    if (width < 16 || height < 16 || width > 8000 || height > 8000)
      return fail("window sizes run from 16 to 8000 pixels");
    win->pane()->resize(width, height);
    int x = std::atoi(w[2].c_str()), y = std::atoi(w[3].c_str());
    const int x0 = x, y0 = y;
    dv::Pane* target = paneAt(win->pane(), x, y);
    dv::MouseEvent e;
    e.x = x, e.y = y, e.button = dv::kLeftButton, e.buttons = dv::kLeftButton;
    target->onMouseDown(e);
    if (drag) {
      // The pane keeps the press (captured); the point stays relative to it.
      e.x = x + std::atoi(w[4].c_str()) - x0, e.y = y + std::atoi(w[5].c_str()) - y0;
      e.button = 0;
      target->onMouseMove(e);
    }
    e.button = dv::kLeftButton, e.buttons = 0;
    target->onMouseUp(e);
  }

  void echo(const Words& w) {
    std::string s;
    for (size_t i = 1; i < w.size(); ++i) s += (i > 1 ? " " : "") + w[i];
    std::printf("%s\n", s.c_str());
  }

  // Each statement: the words it needs at least (the verb counted), whether
  // it is a command (the answers queued before it are its own), its method.
  struct Statement {
    size_t words;
    bool isCommand;
    void (Runner::*run)(const Words&);
  };
  static const Statement* find(const std::string& verb) {
    static const std::pair<const char*, Statement> table[] = {
        {"answer", {2, false, &Runner::answer}},       {"printer", {2, false, &Runner::answer}},
        {"command", {2, true, &Runner::menuCommand}},  {"open", {2, true, &Runner::open}},
        {"popup", {3, true, &Runner::rightClick}},     {"rclick", {2, true, &Runner::rightClick}},
        {"dblclick", {2, true, &Runner::doubleClick}}, {"delete", {2, true, &Runner::deleteKey}},
        {"rename", {3, true, &Runner::rename}},        {"select", {2, true, &Runner::select}},
        {"expect", {2, false, &Runner::expect}},       {"synth", {3, false, &Runner::synthesize}},
        {"render", {3, false, &Runner::render}},       {"echo", {1, false, &Runner::echo}},
        {"click", {4, true, &Runner::click}},          {"drag", {6, true, &Runner::click}},
    };
    for (const auto& [v, st] : table)
      if (verb == v) return &st;
    return nullptr;
  }

  void statement(const Words& w) {
    const std::string& verb = w[0];
    const Statement* st = find(verb);
    if (!st) return fail("unknown statement \"" + verb + "\"");
    if (w.size() < st->words)
      return fail("\"" + verb + "\" needs " + std::to_string(st->words - 1) + " argument(s)");
    if (st->isCommand) {
      // The pop-up's own choice is one of the answers this command uses.
      if (verb == "popup" &&
          !dv::headless().addAnswerWords({"answer", "popup", w[2]}, nullptr, lineNo))
        fail("bad pop-up choice");
      startCommand();
    }
    (this->*st->run)(w);
  }
};

}  // namespace

void setRenderer(Renderer r) {
  renderer() = std::move(r);
}

JobResult runJobText(const std::string& text, const std::string& name) {
  Runner run;
  run.name = name;
  int unscriptedBefore = dv::headless().unscripted();
  size_t start = 0;
  while (start <= text.size()) {
    size_t nl = text.find('\n', start);
    std::string line = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
    start = nl == std::string::npos ? text.size() + 1 : nl + 1;
    ++run.lineNo;
    while (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> w;
    if (!dv::splitWords(line, w)) {
      run.fail("unterminated quote");
      continue;
    }
    if (w.empty()) continue;
    ++run.r.steps;
    run.statement(w);
    run.settle();
  }
  run.unusedAtEnd();
  run.r.unscripted = dv::headless().unscripted() - unscriptedBefore;
  return run.r;
}

static int finish(const JobResult& r, const std::string& name) {
  for (const auto& q : dv::headless().unscriptedQuestions())
    std::fprintf(stderr, "%s: unscripted question: %s\n", name.c_str(), q.c_str());
  std::printf("%s: %d steps, %d failed, %d unscripted question(s)\n", name.c_str(), r.steps,
              r.failures, r.unscripted);
  return r.failures || r.unscripted ? 1 : 0;
}

int runJobFile(const std::string& path) {
  std::string text;
  if (!dv::readWholeFile(path, text)) {
    std::fprintf(stderr, "delvar-cli: cannot read job file %s\n", path.c_str());
    return 1;
  }
  dv::useCNumericLocale();
  dv::headless().echo = [](const std::string& s) { std::fprintf(stderr, "  ui: %s\n", s.c_str()); };
  if (host::start() != 0) {
    std::fprintf(stderr, "delvar-cli: the framework did not start\n");
    return 1;
  }
  JobResult r = runJobText(text, dv::baseName(path));
  host::stop();
  return finish(r, dv::baseName(path));
}

int runDemo(const std::string& folder) {
  dv::useCNumericLocale();
  std::string job = host::demoJob(folder);
  if (job.empty()) {
    std::fprintf(stderr, "delvar-cli: cannot make the demo folder %s\n", folder.c_str());
    return 1;
  }
  if (host::start() != 0) {
    std::fprintf(stderr, "delvar-cli: the framework did not start\n");
    return 1;
  }
  JobResult r = runJobText(job + host::demoRenderJob(folder), "demo");
  std::printf("Demo project: %s\n", pontra::projectFile().c_str());
  std::printf("Project tree:\n");
  pontra::frame().tree.walk([](dv::TreeItem* it, int depth) {
    std::printf("  %*s%s\n", depth * 2, "", it->text.c_str());
  });
  host::stop();
  return finish(r, "demo");
}

}  // namespace cli
