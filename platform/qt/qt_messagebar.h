// The message bar's view: a read-only text view mirroring a dv::LogEdit.
// When the log changes, a caret at the end follows the newest line; any
// other selection is restored and kept in view, so a user reading older
// lines keeps his place. The user's own selection is written back.
#pragma once

#include <QPlainTextEdit>

#include <functional>
#include <string>

#include "dv/window.h"

namespace dv::qt {

class MessageBarView : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit MessageBarView(dv::LogEdit& log, QWidget* parent = nullptr);
  ~MessageBarView() override;
  // Shows the log again (also run on LogEdit::onChanged).
  void refresh();

  // Offsets in the log's text (UTF-8 bytes, "\r\n" line ends) and positions
  // in the view's text (UTF-16 units, "\n" line ends).
  static int viewPosition(const std::string& text, size_t offset);
  static size_t logOffset(const std::string& text, int position);

 private:
  void selectionToLog();
  dv::LogEdit& log_;
  std::function<void()> previous_;
  std::string shown_;  // the log text the view holds
  bool updating_ = false;
};

}  // namespace dv::qt
