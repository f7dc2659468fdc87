#include "qt_ui.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QMimeData>
#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <map>

#include "dv/dialog.h"
#include "dv/file.h"
#include "dv/menu.h"
#include "qt_canvas.h"
#include "qt_dialog.h"
#include "qt_frame.h"
#include "qt_icons.h"
#include "qt_menu.h"
#include "qt_util.h"

namespace dv::qt {

// ------------------------------------------------------------- progress ----

ProgressWindow::ProgressWindow(const QString& title, const QString& text)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      text_(new QLabel(text, this)),
      bar_(new QProgressBar(this)) {
  setObjectName(QStringLiteral("progressWindow"));
  setWindowTitle(title);
  setWindowIcon(appIcon());
  setAttribute(Qt::WA_ShowWithoutActivating);
  text_->setObjectName(QStringLiteral("ctl20008"));
  bar_->setObjectName(QStringLiteral("ctl20007"));
  bar_->setRange(0, 100);
  bar_->setValue(0);
  bar_->setTextVisible(false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(14, 12, 14, 14);
  layout->setSpacing(8);
  layout->addWidget(bar_);
  layout->addWidget(text_);
  // Steps that can stop ask for the Cancel button's click; while the window
  // is up no other window takes input.
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("ctl2"));
  connect(cancel, &QPushButton::clicked, this, [this] { cancelled_ = true; });
  layout->addWidget(cancel, 0, Qt::AlignRight);
  setWindowModality(Qt::ApplicationModal);
  setFixedSize(360, sizeHint().height());
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect r = screen->availableGeometry();
    move(r.center() - QPoint(width() / 2, height() / 2));
  }
  show();
  paintNow();
}

void ProgressWindow::update(const QString& text, int position) {
  if (text_->text() != text) text_->setText(text);
  bar_->setValue(std::clamp(position, 0, 100));
  paintNow();
}

bool ProgressWindow::cancelled() {
  if (!cancelled_) QCoreApplication::processEvents();
  return cancelled_;
}

void ProgressWindow::paintNow() {
  // The caller's loop runs on this thread: paint now, and let no user input
  // in while it works.
  repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// ------------------------------------------------------------------- ui ----

void installLook() {
  static bool done = false;
  if (done || !qApp) return;
  done = true;
  // Fonts named by stored logical fonts and page layouts map to their
  // metric-compatible Liberation faces, so text keeps its measured size.
  for (const FaceSubstitution& s : faceSubstitutions())
    QFont::insertSubstitution(QString::fromLatin1(s.from), QString::fromLatin1(s.to));
  // Without a desktop theme the toolkit falls back on a generic sans face;
  // the workbench then uses Liberation Sans at 9 points, the size its dialog
  // layouts were drawn for.
  QFont font = QApplication::font();
  if (font.family() == QStringLiteral("Sans Serif") &&
      QFontDatabase::families().contains(QStringLiteral("Liberation Sans"))) {
    font.setFamily(QStringLiteral("Liberation Sans"));
    font.setPointSize(9);
    QApplication::setFont(font);
  }
}

QtUi::QtUi() { installLook(); }

QtUi::~QtUi() {
  while (waitDepth_ > 0) setWaitCursor(false);
}

QWidget* QtUi::ownerWindow() const {
  if (QWidget* w = QApplication::activeModalWidget()) return w;
  if (QWidget* w = QApplication::activeWindow()) return w;
  return frame_.get();
}

int QtUi::messageBox(const std::string& text, const std::string& caption, unsigned style) {
  QMessageBox box(ownerWindow());
  box.setWindowTitle(toQ(caption));
  box.setTextFormat(Qt::PlainText);
  box.setText(toQ(text));
  switch (style & MB_ICONMASK) {
    case MB_ICONERROR: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
  }
  using B = QMessageBox::StandardButton;
  std::vector<std::pair<B, int>> buttons;
  switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL: buttons = {{B::Ok, IDOK}, {B::Cancel, IDCANCEL}}; break;
    case MB_ABORTRETRYIGNORE:
      buttons = {{B::Abort, IDABORT}, {B::Retry, IDRETRY}, {B::Ignore, IDIGNORE}};
      break;
    case MB_YESNOCANCEL: buttons = {{B::Yes, IDYES}, {B::No, IDNO}, {B::Cancel, IDCANCEL}}; break;
    case MB_YESNO: buttons = {{B::Yes, IDYES}, {B::No, IDNO}}; break;
    case MB_RETRYCANCEL: buttons = {{B::Retry, IDRETRY}, {B::Cancel, IDCANCEL}}; break;
    default: buttons = {{B::Ok, IDOK}}; break;
  }
  std::map<QAbstractButton*, int> results;
  for (auto [b, r] : buttons) results[box.addButton(b)] = r;
  // The first button is the default one, as in the system's boxes.
  box.setDefaultButton(static_cast<QPushButton*>(box.button(buttons.front().first)));
  // Esc answers Cancel where there is one, OK on a box with OK alone; a
  // Yes/No or Abort/Retry/Ignore box has no Esc answer.
  unsigned type = style & MB_TYPEMASK;
  if (type == MB_OK) box.setEscapeButton(box.button(B::Ok));
  else if (box.button(B::Cancel)) box.setEscapeButton(box.button(B::Cancel));
  box.exec();
  auto it = results.find(box.clickedButton());
  if (it != results.end()) return it->second;
  return type == MB_OK ? IDOK : type == MB_YESNO ? IDNO : type == MB_ABORTRETRYIGNORE ? IDABORT
                                                                                    : IDCANCEL;
}

QString nameFilter(const std::string& description, const std::string& patterns) {
  QString desc = toQ(description).trimmed();
  // A description that already names its extension in brackets gets the
  // patterns in their place, so the dialog shows one bracket.
  if (desc.endsWith(QLatin1Char(')'))) {
    qsizetype open = desc.lastIndexOf(QLatin1Char('('));
    if (open >= 0) desc = desc.left(open).trimmed();
  }
  QString pats = toQ(patterns).replace(QLatin1Char(';'), QLatin1Char(' ')).simplified();
  if (pats.isEmpty()) pats = QStringLiteral("*");
  return desc.isEmpty() ? pats : desc + QStringLiteral(" (") + pats + QLatin1Char(')');
}

FileDialogResult QtUi::fileDialog(const FileDialogRequest& req) {
  FileDialogResult result;
  QFileDialog dlg(ownerWindow(), toQ(req.title));
  dlg.setAcceptMode(req.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  if (req.save) dlg.setFileMode(QFileDialog::AnyFile);
  else if (req.multiSelect) dlg.setFileMode(QFileDialog::ExistingFiles);
  else dlg.setFileMode(req.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  QStringList filters;
  for (const auto& [desc, pats] : req.filters) filters << nameFilter(desc, pats);
  if (!filters.isEmpty()) dlg.setNameFilters(filters);
  if (!req.initialDir.empty()) dlg.setDirectory(toQ(req.initialDir));
  if (!req.defaultExt.empty()) {
    std::string ext = req.defaultExt[0] == '.' ? req.defaultExt.substr(1) : req.defaultExt;
    dlg.setDefaultSuffix(toQ(ext));
  }
  if (!req.fileName.empty()) dlg.selectFile(toQ(req.fileName));
  dlg.setOption(QFileDialog::DontConfirmOverwrite, !req.overwritePrompt);
  if (dlg.exec() != QDialog::Accepted) return result;
  for (const QString& f : dlg.selectedFiles()) {
    std::string p = fromQ(f);
    // As the headless backend: a name without extension takes the default one.
    if (!req.defaultExt.empty() && extension(p).empty())
      p += (req.defaultExt[0] == '.' ? "" : ".") + req.defaultExt;
    result.paths.push_back(p);
  }
  if (!req.multiSelect && result.paths.size() > 1) result.paths.resize(1);
  result.ok = !result.paths.empty();
  return result;
}

void QtUi::help(int context) {
  if (frameModel_ && frameModel_->handler) frameModel_->handler->frameHelp(context);
}

int QtUi::runModal(Dialog& dialog) {
  dialog.resetForRun();
  QtDialog dlg(dialog, ownerWindow());
  dlg.onHelp = [this](int ctx) { help(ctx); };
  if (!dlg.initialise()) return dialog.result();
  dlg.exec();
  if (!dialog.ended()) dialog.endDialog(IDCANCEL);
  return dialog.result();
}

int QtUi::runSheet(PropertySheet& sheet) {
  for (auto* p : sheet.pages()) {
    p->resetForRun();
    p->onInitDialog();
  }
  QtSheet dlg(sheet, ownerWindow());
  dlg.onHelp = [this](int ctx) { help(ctx); };
  dlg.exec();
  return dlg.code();
}

int QtUi::trackPopupMenu(const Menu& menu, int screenX, int screenY) {
  QMenu popup(ownerWindow());
  fillMenu(&popup, menu);
  QAction* chosen = popup.exec(QPoint(screenX, screenY));
  return commandOf(chosen);
}

bool QtUi::chooseFont(FontChoice& font) {
  QFont start(toQ(font.face), std::max(font.points, 1));
  start.setWeight(QFont::Weight(std::clamp(font.weight, 100, 900)));
  start.setItalic(font.italic);
  start.setUnderline(font.underline);
  start.setStrikeOut(font.strikeOut);
  bool ok = false;
  QFont chosen = QFontDialog::getFont(&ok, start, ownerWindow());
  if (!ok) return false;
  font.face = chosen.family().toStdString();
  font.points = chosen.pointSize() > 0 ? chosen.pointSize() : font.points;
  font.weight = chosen.weight();
  font.italic = chosen.italic();
  font.underline = chosen.underline();
  font.strikeOut = chosen.strikeOut();
  return true;
}

bool QtUi::chooseColor(ColorRef& colour) {
  QColor start(int(colour & 255), int((colour >> 8) & 255), int((colour >> 16) & 255));
  QColor chosen = QColorDialog::getColor(start, ownerWindow());
  if (!chosen.isValid()) return false;
  colour = rgb(chosen.red(), chosen.green(), chosen.blue());
  return true;
}

void QtUi::progressShow(const std::string& title, const std::string& text) {
  progress_.reset();
  progress_ = std::make_unique<ProgressWindow>(toQ(title), toQ(text));
}

void QtUi::progressUpdate(const std::string& text, int position) {
  if (progress_) progress_->update(toQ(text), position);
}

void QtUi::progressHide() { progress_.reset(); }

bool QtUi::progressCancelled() { return progress_ && progress_->cancelled(); }

void QtUi::setWaitCursor(bool on) {
  if (on) {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    ++waitDepth_;
  } else if (waitDepth_ > 0) {
    QGuiApplication::restoreOverrideCursor();
    --waitDepth_;
  }
}

void QtUi::post(std::function<void()> fn) {
  QMetaObject::invokeMethod(qApp, std::move(fn), Qt::QueuedConnection);
}

void QtUi::processPosted() {
  QCoreApplication::sendPostedEvents(qApp, QEvent::MetaCall);
  QCoreApplication::processEvents();
}

void QtUi::closeFrame() {
  frame_.reset();
  frameModel_ = nullptr;
}

void QtUi::showFrame(FrameModel& frame) {
  frame_.reset();
  frameModel_ = &frame;
  frame_ = std::make_unique<QtFrameWindow>(frame);
  frame_->showMaximized();
}

void QtUi::setClipboardBitmap(const std::vector<uint8_t>& dib) {
  if (dib.size() < 40) return;
  // A file header in front of the packed bitmap makes it a BMP file.
  const uint32_t size = uint32_t(14 + dib.size()), offset = 14 + 40 + 1024;
  QByteArray bmp("BM", 2);
  for (uint32_t v : {size, 0u, offset})
    for (int k = 0; k < 4; ++k) bmp.append(char((v >> (8 * k)) & 0xFF));
  bmp.append(reinterpret_cast<const char*>(dib.data()), qsizetype(dib.size()));
  auto* data = new QMimeData;
  data->setData(QStringLiteral("image/bmp"), bmp);
  data->setImageData(QImage::fromData(bmp, "BMP"));
  QGuiApplication::clipboard()->setMimeData(data);
}

}  // namespace dv::qt
