#include "qt_messagebar.h"

#include <QScrollBar>

#include <algorithm>

#include "qt_util.h"

namespace dv::qt {

MessageBarView::MessageBarView(dv::LogEdit& log, QWidget* parent)
    : QPlainTextEdit(parent), log_(log) {
  setObjectName(QStringLiteral("ctl20001"));
  setReadOnly(true);
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setUndoRedoEnabled(false);
  connect(this, &QPlainTextEdit::selectionChanged, this, &MessageBarView::selectionToLog);
  connect(this, &QPlainTextEdit::cursorPositionChanged, this, &MessageBarView::selectionToLog);
  previous_ = log_.onChanged;
  log_.onChanged = [this] {
    refresh();
    if (previous_) previous_();
  };
  refresh();
}

MessageBarView::~MessageBarView() { log_.onChanged = previous_; }

int MessageBarView::viewPosition(const std::string& text, size_t offset) {
  if (offset > text.size()) offset = text.size();
  QString prefix = QString::fromUtf8(text.data(), (qsizetype)offset);
  return int(prefix.size() - prefix.count(QLatin1Char('\r')));
}

size_t MessageBarView::logOffset(const std::string& text, int position) {
  int count = 0;
  size_t i = 0;
  while (i < text.size() && count < position) {
    unsigned char c = (unsigned char)text[i];
    size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
    if (c != '\r') count += len == 4 ? 2 : 1;
    i += len;
  }
  // A position at a line's end stands before its "\r\n".
  return std::min(i, text.size());
}

void MessageBarView::refresh() {
  updating_ = true;
  const std::string& text = log_.text;
  if (text.size() >= shown_.size() && text.compare(0, shown_.size(), shown_) == 0) {
    if (text.size() > shown_.size()) {
      QTextCursor end(document());
      end.movePosition(QTextCursor::End);
      end.insertText(toQText(text.substr(shown_.size())));
    }
  } else {
    setPlainText(toQText(text));
  }
  shown_ = text;
  QTextCursor c(document());
  if (log_.caretAtEnd()) {
    c.movePosition(QTextCursor::End);
    setTextCursor(c);
    ensureCursorVisible();
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
  } else {
    c.setPosition(viewPosition(text, log_.selStart));
    c.setPosition(viewPosition(text, log_.selEnd), QTextCursor::KeepAnchor);
    setTextCursor(c);
    ensureCursorVisible();
  }
  updating_ = false;
}

void MessageBarView::selectionToLog() {
  if (updating_) return;
  QTextCursor c = textCursor();
  int a = std::min(c.anchor(), c.position()), b = std::max(c.anchor(), c.position());
  log_.selStart = logOffset(shown_, a);
  log_.selEnd = logOffset(shown_, b);
}

}  // namespace dv::qt
