// The message bar's view: it follows new lines while the caret is at the
// end, and otherwise keeps the user's selection in place and in view.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTextCursor>

#include <string>

#include "dv/window.h"
#include "qt_messagebar.h"

namespace dv::qt {
namespace {

// Appends a line the way the framework's message writer does: a caret at
// the end stays at the end, any other selection is kept.
void writeLine(LogEdit& log, const std::string& line) {
  bool atEnd = log.caretAtEnd();
  log.text += line + "\r\n";
  if (atEnd) log.selStart = log.selEnd = log.text.size();
  log.changed();
}

TEST(QtMessageBar, FollowsNewLinesWhileTheCaretIsAtTheEnd) {
  LogEdit log;
  MessageBarView view(log);
  view.resize(400, 80);
  for (int i = 0; i < 40; ++i) writeLine(log, "[QUV]   Create Profile: LINE" + std::to_string(i));
  EXPECT_TRUE(view.toPlainText().startsWith("[QUV]   Create Profile: LINE0\n"));
  EXPECT_TRUE(view.toPlainText().endsWith("LINE39\n"));
  EXPECT_EQ(view.textCursor().position(), view.document()->characterCount() - 1);
  EXPECT_EQ(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum());
  EXPECT_TRUE(log.caretAtEnd());
}

TEST(QtMessageBar, KeepsTheUsersSelectionWhenLinesArrive) {
  LogEdit log;
  MessageBarView view(log);
  view.resize(400, 80);
  for (int i = 0; i < 30; ++i) writeLine(log, "line " + std::to_string(i));
  // The user selects "line 2" near the top.
  QTextCursor c(view.document());
  int start = (int)view.toPlainText().indexOf("line 2\n");
  c.setPosition(start);
  c.setPosition(start + 6, QTextCursor::KeepAnchor);
  view.setTextCursor(c);
  size_t at = log.text.find("line 2\r\n");
  EXPECT_EQ(log.selStart, at);
  EXPECT_EQ(log.selEnd, at + 6);

  writeLine(log, "line 30");
  EXPECT_TRUE(view.toPlainText().endsWith("line 30\n"));
  EXPECT_EQ(view.textCursor().selectedText(), "line 2");
  EXPECT_LT(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum());

  // The oldest lines go (the framework trims the text): the selection moves
  // with its text.
  size_t cut = log.text.find("line 1\r\n");
  log.text.erase(0, cut);
  log.selStart -= cut;
  log.selEnd -= cut;
  writeLine(log, "line 31");
  EXPECT_TRUE(view.toPlainText().startsWith("line 1\n"));
  EXPECT_EQ(view.textCursor().selectedText(), "line 2");
}

TEST(QtMessageBar, MapsLogOffsetsToViewPositions) {
  // "é" is two bytes in the log and one position in the view; "\r\n" is one.
  const std::string text = "d\xc3\xa9j\xc3\xa0\r\nx";
  EXPECT_EQ(MessageBarView::viewPosition(text, 3), 2);
  EXPECT_EQ(MessageBarView::viewPosition(text, 8), 5);  // after "\r\n"
  EXPECT_EQ(MessageBarView::viewPosition(text, 99), 6);
  EXPECT_EQ(MessageBarView::logOffset(text, 2), 3u);
  EXPECT_EQ(MessageBarView::logOffset(text, 4), 6u);  // a line's end: before "\r\n"
  EXPECT_EQ(MessageBarView::logOffset(text, 5), 8u);
  EXPECT_EQ(MessageBarView::logOffset(text, 6), text.size());
}

}  // namespace
}  // namespace dv::qt
