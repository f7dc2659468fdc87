// The Qt widgets backend of the UI service: message boxes, file dialogs,
// dialogs and property sheets built from their descriptions, pop-up menus,
// the progress window, the wait cursor, posted calls and the main frame.
// Needs a QApplication.
#pragma once

#include <QPointer>
#include <QWidget>

#include <memory>

#include "dv/ui.h"

class QLabel;
class QProgressBar;

namespace dv::qt {

class QtFrameWindow;

// The progress window: caption, a bar from 0 to 100 and a text line.
class ProgressWindow : public QWidget {
  Q_OBJECT
 public:
  ProgressWindow(const QString& title, const QString& text);
  void update(const QString& text, int position);
  QLabel* textLine() const { return text_; }
  QProgressBar* bar() const { return bar_; }
  // Lets a click on Cancel in; true once it was clicked.
  bool cancelled();

 private:
  void paintNow();
  QLabel* text_;
  QProgressBar* bar_;
  bool cancelled_ = false;
};

class QtUi : public dv::UiBackend {
 public:
  QtUi();
  ~QtUi() override;

  bool hasDisplay() const override { return true; }
  int messageBox(const std::string& text, const std::string& caption, unsigned style) override;
  FileDialogResult fileDialog(const FileDialogRequest& req) override;
  int runModal(Dialog& dialog) override;
  int runSheet(PropertySheet& sheet) override;
  int trackPopupMenu(const Menu& menu, int screenX, int screenY) override;
  // QFontDialog offers no colour: the colour stays as it was.
  bool chooseFont(FontChoice& font) override;
  bool chooseColor(ColorRef& colour) override;
  // The desktop prints on the default printer.
  std::string printFile() override { return ""; }
  // The bitmap goes on the system clipboard as an image and as "image/bmp".
  void setClipboardBitmap(const std::vector<uint8_t>& packedDib) override;

  void progressShow(const std::string& title, const std::string& text) override;
  bool progressCancelled() override;
  void progressUpdate(const std::string& text, int position) override;
  void progressHide() override;

  void setWaitCursor(bool on) override;
  void post(std::function<void()> fn) override;
  void processPosted() override;

  bool playSound(const std::string&) override { return false; }
  bool playVideo(const std::string&) override { return false; }
  bool showHelp(int) override { return false; }
  void showFrame(FrameModel& frame) override;

  QtFrameWindow* frameWindow() const { return frame_.get(); }
  // Destroys the frame's window. The FrameModel shown must outlive the
  // window: a host that destroys its model first closes the frame before.
  void closeFrame();
  ProgressWindow* progressWindow() const { return progress_.get(); }
  // The window that owns a new dialog or message box: the open modal
  // window, else the active window, else the frame.
  QWidget* ownerWindow() const;

 private:
  void help(int context);
  std::unique_ptr<QtFrameWindow> frame_;
  FrameModel* frameModel_ = nullptr;
  std::unique_ptr<ProgressWindow> progress_;
  int waitDepth_ = 0;
};

// Font substitutions for the faces stored settings name, and the
// workbench's own font where the desktop gives none. QtUi calls it.
void installLook();

// Turns a filter pair into a file dialog name filter:
// {"DELVAR Project (.orx)", "*.orx"} -> "DELVAR Project (*.orx)".
QString nameFilter(const std::string& description, const std::string& patterns);

}  // namespace dv::qt
