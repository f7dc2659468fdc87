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
//   answer dialog CAPTION|#RESOURCE ACTION ...
//     ACTION: set ID TEXT | select ID TEXT | pick ID INDEX | dblclick ID TEXT
//           | check ID 0|1 | radio ID | cell ID ROW COL TEXT | tab ID INDEX
//           | press ID|OK|Cancel
//   answer sheet CAPTION [page N ACTION ...] ... ok|cancel
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "dv/ui.h"

namespace dv {

struct DialogAction {
  enum Op { Set, Select, Pick, DblClick, Check, Radio, Cell, Tab, Press, Page, SheetOk, SheetCancel };
  Op op = Press;
  int id = 0;
  int row = 0, col = 0;
  std::string value;
};

struct ScriptedAnswer {
  enum Kind { Message, File, Dialog, Sheet, Popup };
  Kind kind = Message;
  std::string match;  // caption or "#resource"; empty = any
  int result = 0;     // message boxes
  bool cancel = false;
  std::vector<std::string> paths;
  std::vector<DialogAction> actions;
  int command = 0;
  std::string commandCaption;
  std::string source;  // the script line, for reports
};

class HeadlessUi : public UiBackend {
 public:
  bool hasDisplay() const override { return false; }
  int messageBox(const std::string& text, const std::string& caption, unsigned style) override;
  FileDialogResult fileDialog(const FileDialogRequest& req) override;
  int runModal(Dialog& dialog) override;
  int runSheet(PropertySheet& sheet) override;
  int trackPopupMenu(const Menu& menu, int screenX, int screenY) override;
  void progressShow(const std::string& title, const std::string& text) override;
  void progressUpdate(const std::string& text, int position) override;
  void progressHide() override;
  void setWaitCursor(bool on) override { waitDepth_ += on ? 1 : -1; }
  void post(std::function<void()> fn) override { posted_.push_back(std::move(fn)); }
  void processPosted() override;

  // Script.
  bool addAnswerLine(const std::string& line, std::string* error);
  void addAnswer(ScriptedAnswer a) { answers_.push_back(std::move(a)); }
  size_t pendingAnswers() const { return answers_.size(); }
  void clearAnswers() { answers_.clear(); }

  // What happened: one line per question, with the answer given.
  const std::vector<std::string>& log() const { return log_; }
  // Questions with a choice that no answer was scripted for.
  int unscripted() const { return unscripted_; }
  const std::vector<std::string>& unscriptedQuestions() const { return unscriptedList_; }
  void resetLog() {
    log_.clear();
    unscripted_ = 0;
    unscriptedList_.clear();
  }
  // Progress state (tests look at it).
  bool progressVisible() const { return progressVisible_; }
  const std::string& progressTitle() const { return progressTitle_; }
  const std::string& progressText() const { return progressText_; }
  int progressPosition() const { return progressPos_; }
  int progressWindowsCreated() const { return progressCreated_; }
  // Where log lines also go as they happen (stderr in the job runner).
  std::function<void(const std::string&)> echo;

 private:
  bool take(ScriptedAnswer::Kind kind, const std::string& caption, int resourceId,
            ScriptedAnswer& out);
  void note(const std::string& s);
  void noteUnscripted(const std::string& s);
  bool apply(Dialog& d, const DialogAction& a);
  std::deque<ScriptedAnswer> answers_;
  std::deque<std::function<void()>> posted_;
  std::vector<std::string> log_;
  std::vector<std::string> unscriptedList_;
  int unscripted_ = 0;
  int waitDepth_ = 0;
  bool progressVisible_ = false;
  std::string progressTitle_, progressText_;
  int progressPos_ = 0;
  int progressCreated_ = 0;
};

// The process's headless backend (always exists; installed by default).
HeadlessUi& headless();

// Splits a script line into words: blanks separate, double quotes group,
// backslash escapes inside quotes. Returns false on an unterminated quote.
bool splitWords(const std::string& line, std::vector<std::string>& words);

}  // namespace dv
