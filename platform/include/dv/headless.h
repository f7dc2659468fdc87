// The headless backend: every question is answered from a queue of scripted
// answers. An unscripted question gets the safe answer (Cancel or No, OK for
// a box that offers nothing else) and is reported.
//
// Answer lines (the job-script syntax; words with blanks go in double quotes,
// \n \t \" \\ escapes inside quotes):
//   answer message [CAPTION] Yes|No|OK|Cancel|Retry|Abort|Ignore
//   answer file PATH [PATH ...]          (paths relative to the current folder)
//   answer file cancel
//   answer popup ID|CAPTION              (pop-up menus)
//   answer dialog CAPTION|#RESOURCE ACTION ...   (a dialog or a property sheet)
//     ACTION: set C TEXT | select C TEXT | pick C INDEX | dblclick C TEXT
//           | check C 0|1 | radio C | cell C ROW COL TEXT | row C ROW
//           | tab C INDEX | page CAPTION|INDEX | press C|OK|Cancel|Apply
//           | expect value C TEXT | expect value C ROW COL TEXT
//     C: a control id or name (dv/control_names.h); grid rows count from 1
//     below the title row, columns from 0.
//   answer sheet CAPTION [page N ACTION ...] ... ok|cancel
//   answer font FACE POINTS [R G B] | answer font cancel
//   answer color R G B | answer color cancel
//   answer printer FILE.pdf              (the next print job writes FILE.pdf)
//   answer progress TITLE cancel [N]     (Cancel in that progress window after N updates, 1 if not given)
// An action that cannot be done (a control unknown, ambiguous or not
// available, an entry or cell missing, an expected value not shown) is a
// problem: it is noted and kept for takeProblems() (the job runner fails
// the step with it), and the dialog goes on with the rest of its actions.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "dv/ui.h"

namespace dv {

struct Control;

struct DialogAction {
  enum Op {
    Set, Select, Pick, DblClick, Check, Radio, Cell, Row, Tab, Press, Page, Expect, SheetOk,
    SheetCancel
  };
  Op op = Press;
  std::string control;  // id or name, found when the dialog is up; a page's caption or index
  int row = 0, col = 0;  // pick, check and tab keep their number in row; -1: no cell
  std::string value;
};

struct ScriptedAnswer {
  enum Kind { Message, File, Dialog, Sheet, Popup, Font, Color, Printer, Progress };
  Kind kind = Message;
  std::string match;  // caption or "#resource"; empty = any
  int result = 0;     // message boxes
  bool cancel = false;
  std::vector<std::string> paths;
  std::vector<DialogAction> actions;
  int command = 0;
  std::string commandCaption;
  FontChoice font;          // face and points; the colour with hasColour
  bool hasColour = false;
  ColorRef colour = 0;      // colour answers
  std::string source;       // the script line, for reports
  int line = 0;             // its line in the script (0: not from a script)
  int forLine = 0;          // the line of the command it was queued for (0: none yet)
};

class HeadlessUi : public UiBackend {
 public:
  bool hasDisplay() const override { return false; }
  int messageBox(const std::string& text, const std::string& caption, unsigned style) override;
  FileDialogResult fileDialog(const FileDialogRequest& req) override;
  int runModal(Dialog& dialog) override;
  int runSheet(PropertySheet& sheet) override;
  int trackPopupMenu(const Menu& menu, int screenX, int screenY) override;
  bool chooseFont(FontChoice& font) override;
  bool chooseColor(ColorRef& colour) override;
  std::string printFile() override;
  // Kept for the tests to read back.
  void setClipboardBitmap(const std::vector<uint8_t>& dib) override { clipboard_ = dib; }
  const std::vector<uint8_t>& clipboardBitmap() const { return clipboard_; }
  void progressShow(const std::string& title, const std::string& text) override;
  void progressUpdate(const std::string& text, int position) override;
  void progressHide() override;
  bool progressCancelled() override;
  void setWaitCursor(bool on) override { waitDepth_ += on ? 1 : -1; }
  void post(std::function<void()> fn) override { posted_.push_back(std::move(fn)); }
  void processPosted() override;

  // Script.
  // `scriptLine` is the line's number in its script, for reports.
  bool addAnswerLine(const std::string& line, std::string* error, int scriptLine = 0);
  // The same from the words of the line ("answer", KIND, ...).
  bool addAnswerWords(const std::vector<std::string>& words, std::string* error,
                      int scriptLine = 0);
  void addAnswer(ScriptedAnswer a) { answers_.push_back(std::move(a)); }
  size_t pendingAnswers() const { return answers_.size(); }
  const std::deque<ScriptedAnswer>& answers() const { return answers_; }
  void clearAnswers() { answers_.clear(); }
  // A command of the script (line `scriptLine`) starts: the answers queued
  // for the command before it and not used by it are dropped and returned;
  // those queued since are this command's.
  std::vector<ScriptedAnswer> startCommand(int scriptLine);
  // Actions that could not be done since the last call, one message each.
  std::vector<std::string> takeProblems() { return std::move(problems_); }

  // What happened: one line per question, with the answer given.
  const std::vector<std::string>& log() const { return log_; }
  // Questions with a choice that no answer was scripted for.
  int unscripted() const { return unscripted_; }
  const std::vector<std::string>& unscriptedQuestions() const { return unscriptedList_; }
  void resetLog() {
    log_.clear();
    problems_.clear();
    unscripted_ = 0;
    unscriptedList_.clear();
  }
  // Progress state (tests look at it).
  bool progressVisible() const { return progressVisible_; }
  const std::string& progressTitle() const { return progressTitle_; }
  const std::string& progressText() const { return progressText_; }
  int progressPosition() const { return progressPos_; }
  int progressWindowsCreated() const { return progressCreated_; }
  // The folder the last file dialog was to start in (tests look at it).
  const std::string& lastFileDialogFolder() const { return lastFileFolder_; }
  // Where log lines also go as they happen (stderr in the job runner).
  std::function<void(const std::string&)> echo;

 private:
  bool take(ScriptedAnswer::Kind kind, const std::string& caption, int resourceId,
            ScriptedAnswer& out, ScriptedAnswer::Kind orKind);
  bool take(ScriptedAnswer::Kind kind, const std::string& caption, int resourceId,
            ScriptedAnswer& out) {
    return take(kind, caption, resourceId, out, kind);
  }
  // The answer to a font or colour dialog: false when none or cancelled.
  bool takeChoice(ScriptedAnswer::Kind kind, const std::string& question, ScriptedAnswer& a);
  void note(const std::string& s);
  void noteUnscripted(const std::string& s);
  bool problem(const std::string& s);
  Control* target(Dialog& d, const DialogAction& a);
  bool apply(Dialog& d, const DialogAction& a);
  bool expectValue(Dialog& d, const DialogAction& a);
  std::deque<ScriptedAnswer> answers_;
  std::vector<uint8_t> clipboard_;
  std::vector<std::string> problems_;
  std::deque<std::function<void()>> posted_;
  std::vector<std::string> log_;
  std::string lastFileFolder_;
  std::vector<std::string> unscriptedList_;
  int unscripted_ = 0;
  int waitDepth_ = 0;
  bool progressVisible_ = false;
  std::string progressTitle_, progressText_;
  int progressPos_ = 0;
  int progressCreated_ = 0;
  int progressUpdates_ = 0, progressCancelAfter_ = -1;
  bool progressCancelNoted_ = false;
};

// The process's headless backend (always exists; installed by default).
HeadlessUi& headless();

// Splits a script line into words: blanks separate, double quotes group,
// backslash escapes inside quotes. Returns false on an unterminated quote.
bool splitWords(const std::string& line, std::vector<std::string>& words);

}  // namespace dv
