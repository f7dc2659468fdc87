// The UI service: every modal question (message boxes, file dialogs,
// dialogs, property sheets, pop-up menus), the progress window, the wait
// cursor and the posted-call queue go through one backend. The Qt backend
// shows them; the headless backend answers them from a script.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "dv/grid.h"
#include "dv/winconst.h"

namespace dv {

class Dialog;
class PropertySheet;
class Menu;
class FrameModel;
class TreeModel;

struct FileDialogRequest {
  bool save = false;
  std::string title;
  // (description, patterns separated by ';'), e.g. {"DELVAR Project (.orx)", "*.orx"}.
  std::vector<std::pair<std::string, std::string>> filters;
  std::string initialDir;
  std::string defaultExt;  // added when the typed name has no extension
  std::string fileName;    // proposed name
  bool multiSelect = false;
  bool overwritePrompt = true;
  bool fileMustExist = false;
  bool hideReadOnly = true;
};

struct FileDialogResult {
  bool ok = false;
  std::vector<std::string> paths;  // full paths
};

// What the system font dialog starts from and answers: the face, the size
// in points, weight and effects, and the text colour.
struct FontChoice {
  std::string face = "Arial";
  int points = 10;
  int weight = 400;  // 400 regular, 700 bold
  bool italic = false, underline = false, strikeOut = false;
  ColorRef colour = 0;
  bool operator==(const FontChoice&) const = default;
};

class UiBackend {
 public:
  virtual ~UiBackend() = default;
  virtual bool hasDisplay() const = 0;
  // MessageBox: returns IDOK, IDCANCEL, IDYES, IDNO, ...
  virtual int messageBox(const std::string& text, const std::string& caption, unsigned style) = 0;
  virtual FileDialogResult fileDialog(const FileDialogRequest& req) = 0;
  // Runs the dialog until a handler ends it; returns the end code.
  virtual int runModal(Dialog& dialog) = 0;
  virtual int runSheet(PropertySheet& sheet) = 0;
  // Shows a pop-up menu and returns the command chosen (0 = none).
  virtual int trackPopupMenu(const Menu& menu, int screenX, int screenY) = 0;
  // The system font dialog, started from `font`: true with the choice left
  // in `font`, false (and `font` as it was) when cancelled.
  virtual bool chooseFont(FontChoice& font) = 0;
  // The system colour dialog, started from `colour`; likewise.
  virtual bool chooseColor(ColorRef& colour) = 0;
  // Asked once by every print job as it starts: the PDF file to write
  // instead of printing, or empty to print on the default printer.
  virtual std::string printFile() = 0;
  // Places a packed device-independent bitmap (the 40-byte header, the
  // colour table and the pixel rows) on the clipboard.
  virtual void setClipboardBitmap(const std::vector<uint8_t>& packedDib) {}

  // Progress window (one at a time).
  virtual void progressShow(const std::string& title, const std::string& text) = 0;
  virtual void progressUpdate(const std::string& text, int position) = 0;
  virtual void progressHide() = 0;
  // True once the user asked the step the progress window shows to stop
  // (its Cancel button); the step then undoes what it did.
  virtual bool progressCancelled() { return false; }

  virtual void setWaitCursor(bool on) = 0;
  // Runs `fn` later on the user-interface thread, after the current handler.
  virtual void post(std::function<void()> fn) = 0;
  // Runs everything posted so far (the headless event loop).
  virtual void processPosted() = 0;

  // Sound and video; false when playback is not available.
  virtual bool playSound(const std::string& path) { return false; }
  virtual bool playVideo(const std::string& path) { return false; }
  // Opens help at a context number; false when there is no help to show.
  virtual bool showHelp(int context) { return false; }
  // The main frame's view; the headless backend shows nothing.
  virtual void showFrame(FrameModel& frame) {}
  // Ends the event loop (File > Exit after the project closed).
  virtual void quit() { quitRequested_ = true; }
  bool quitRequested() const { return quitRequested_; }

 protected:
  bool quitRequested_ = false;
};

// The current backend (the headless one until a host installs another).
UiBackend& ui();
// Installs a backend; the caller keeps ownership. nullptr restores headless.
void setUi(UiBackend* backend);

// Convenience calls in the system's own terms.
inline int messageBox(const std::string& text, const std::string& caption, unsigned style = MB_OK) {
  return ui().messageBox(text, caption, style);
}

// Shows `menu` for the tree control: the command chosen reaches the tree's
// handler after the caller returns, as a posted command.
void trackPopupForTree(const Menu& menu, int screenX, int screenY, TreeModel* tree);

class WaitCursor {
 public:
  WaitCursor() { ui().setWaitCursor(true); }
  ~WaitCursor() { ui().setWaitCursor(false); }
};

}  // namespace dv
