#include "qt_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "qt_grid.h"
#include "qt_icons.h"
#include "qt_util.h"

namespace dv::qt {

using dv::Control;
using dv::ControlKind;

namespace {

std::vector<std::string> itemsOf(const QListWidget* w) {
  std::vector<std::string> v;
  for (int i = 0; i < w->count(); ++i) v.push_back(fromQ(w->item(i)->text()));
  return v;
}

std::vector<std::string> itemsOf(const QComboBox* w) {
  std::vector<std::string> v;
  for (int i = 0; i < w->count(); ++i) v.push_back(fromQ(w->itemText(i)));
  return v;
}

std::vector<std::string> itemsOf(const QTabWidget* w) {
  std::vector<std::string> v;
  for (int i = 0; i < w->count(); ++i) v.push_back(fromQ(w->tabText(i)));
  return v;
}

// Multi-line edit controls hand their text out with "\r\n" line ends.
std::string fromQText(const QString& s, bool multiline) {
  std::string t = fromQ(s);
  if (!multiline) return t;
  std::string out;
  out.reserve(t.size() + t.size() / 16);
  for (char c : t) {
    if (c == '\n') out += "\r\n";
    else out.push_back(c);
  }
  return out;
}

bool takesFocusFromLabel(ControlKind k) {
  return k == ControlKind::Edit || k == ControlKind::ListBox || k == ControlKind::ComboBox ||
         k == ControlKind::Grid;
}

Qt::CheckState checkState(int v) {
  return v == 0 ? Qt::Unchecked : v == 2 ? Qt::PartiallyChecked : Qt::Checked;
}

int checkValue(Qt::CheckState s) { return s == Qt::Unchecked ? 0 : s == Qt::PartiallyChecked ? 2 : 1; }

// The label's own text: with a buddy the mnemonic is shown, without one it
// is removed as a static control does.
QString labelText(const QLabel* label, const std::string& caption) {
  QString q = toQ(caption);
  return label->buddy() ? q : plainText(q);
}

}  // namespace

// ------------------------------------------------------------------ form ----

DialogForm::DialogForm(dv::Dialog& dialog, QWidget* parent) : QWidget(parent), dialog_(dialog) {
  QFontMetricsF fm(font());
  baseX_ = fm.horizontalAdvance(
               QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52.0;
  baseY_ = fm.height();
  build();
  push();
  previousOnChanged_ = dialog_.onChanged;
  dialog_.onChanged = [this] {
    push();
    if (previousOnChanged_) previousOnChanged_();
  };
}

DialogForm::~DialogForm() { dialog_.onChanged = previousOnChanged_; }

QPoint DialogForm::toPixels(int x, int y) const {
  return QPoint(qRound(x * baseX_ / 4.0), qRound(y * baseY_ / 8.0));
}

QSize DialogForm::dialogSize() const {
  QPoint p = toPixels(dialog_.width(), dialog_.height());
  return QSize(p.x(), p.y());
}

QWidget* DialogForm::widgetOf(int id) const {
  const auto& cs = dialog_.controls();
  for (size_t i = 0; i < cs.size() && i < widgets_.size(); ++i)
    if (cs[i].id == id) return widgets_[i];
  return nullptr;
}

void DialogForm::build() {
  auto& cs = dialog_.controls();
  widgets_.assign(cs.size(), nullptr);
  radioGroups_.assign(cs.size(), nullptr);
  QButtonGroup* group = nullptr;
  for (size_t i = 0; i < cs.size(); ++i) {
    // A run of radio buttons is one group; a radio with `group` set, or one
    // after any other control, starts the next.
    if (cs[i].kind == ControlKind::Radio) {
      if (!group || cs[i].group) {
        group = new QButtonGroup(this);
        group->setExclusive(true);
      }
      radioGroups_[i] = group;
    } else {
      group = nullptr;
    }
    widgets_[i] = create(i);
  }
  // Labels hand their mnemonic on to the next control that takes focus.
  for (size_t i = 0; i + 1 < cs.size(); ++i)
    if (auto* label = qobject_cast<QLabel*>(widgets_[i]))
      if (cs[i].kind == ControlKind::Static && takesFocusFromLabel(cs[i + 1].kind) &&
          cs[i].caption.find('&') != std::string::npos)
        label->setBuddy(widgets_[i + 1]);
  // Frames stay behind the controls they enclose.
  for (size_t i = 0; i < cs.size(); ++i)
    if (cs[i].kind == ControlKind::Group || cs[i].kind == ControlKind::Tab) widgets_[i]->lower();
}

QWidget* DialogForm::create(size_t index) {
  const Control& c = dialog_.controls()[index];
  const int id = c.id;
  QPoint tl = toPixels(c.rect.left, c.rect.top);
  QPoint br = toPixels(c.rect.right, c.rect.bottom);
  QRect geom(tl, QSize(std::max(br.x() - tl.x(), 1), std::max(br.y() - tl.y(), 1)));
  QWidget* w = nullptr;
  switch (c.kind) {
    case ControlKind::Static: {
      auto* l = new QLabel(this);
      l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      l->setWordWrap(true);
      l->setTextFormat(Qt::PlainText);
      w = l;
      break;
    }
    case ControlKind::Edit:
      if (c.multiline) {
        auto* e = new QPlainTextEdit(this);
        e->setReadOnly(c.readOnly);
        e->setTabChangesFocus(true);
        connect(e, &QPlainTextEdit::textChanged, this, [this, id] { command(id, EN_CHANGE); });
        e->installEventFilter(this);
        w = e;
      } else {
        auto* e = new QLineEdit(this);
        e->setReadOnly(c.readOnly);
        if (c.password) e->setEchoMode(QLineEdit::Password);
        connect(e, &QLineEdit::textChanged, this, [this, id] { command(id, EN_CHANGE); });
        e->installEventFilter(this);
        w = e;
      }
      break;
    case ControlKind::ListBox: {
      auto* l = new QListWidget(this);
      l->setSelectionMode(c.multiple ? QAbstractItemView::ExtendedSelection
                                     : QAbstractItemView::SingleSelection);
      l->setUniformItemSizes(true);
      connect(l, &QListWidget::itemSelectionChanged, this, [this, id] { command(id, LBN_SELCHANGE); });
      connect(l, &QListWidget::itemDoubleClicked, this, [this, id] { command(id, LBN_DBLCLK); });
      w = l;
      break;
    }
    case ControlKind::ComboBox: {
      auto* cb = new QComboBox(this);
      cb->setEditable(c.editable);
      cb->setInsertPolicy(QComboBox::NoInsert);
      cb->setMaxVisibleItems(12);
      connect(cb, &QComboBox::currentIndexChanged, this, [this, id] { command(id, CBN_SELCHANGE); });
      if (c.editable) {
        connect(cb->lineEdit(), &QLineEdit::textEdited, this, [this, id] { command(id, EN_CHANGE); });
        cb->lineEdit()->installEventFilter(this);
      }
      // The described height includes the dropped-down list.
      geom.setHeight(std::min(geom.height(), cb->sizeHint().height()));
      w = cb;
      break;
    }
    case ControlKind::Radio: {
      auto* r = new QRadioButton(this);
      r->setAutoExclusive(false);
      radioGroups_[index]->addButton(r);
      connect(r, &QRadioButton::clicked, this, [this, id] { command(id, BN_CLICKED); });
      w = r;
      break;
    }
    case ControlKind::Check: {
      auto* b = new QCheckBox(this);
      b->setTristate(c.check == 2);
      connect(b, &QCheckBox::clicked, this, [this, id] { command(id, BN_CLICKED); });
      w = b;
      break;
    }
    case ControlKind::Button: {
      auto* b = new QPushButton(this);
      connect(b, &QPushButton::clicked, this, [this, id] { command(id, BN_CLICKED); });
      w = b;
      break;
    }
    case ControlKind::Group: w = new QGroupBox(this); break;
    case ControlKind::Tab: {
      auto* t = new QTabWidget(this);
      t->setDocumentMode(false);
      connect(t, &QTabWidget::currentChanged, this, [this, id] { command(id, TCN_SELCHANGE); });
      w = t;
      break;
    }
    case ControlKind::Grid: {
      auto* g = new GridView(c.grid.get(), this);
      connect(g, &GridView::cellEdited, this, [this, id](int row, int col) {
        dispatch([this, id, row, col] { dialog_.onGridEdited(id, row, col); });
      });
      w = g;
      break;
    }
    case ControlKind::Progress: {
      auto* p = new QProgressBar(this);
      p->setRange(0, 100);
      p->setTextVisible(false);
      w = p;
      break;
    }
    case ControlKind::Icon: {
      auto* l = new QLabel(this);
      int side = std::min({geom.width(), geom.height(), 48});
      l->setPixmap(appIcon().pixmap(std::max(side, 16)));
      l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      w = l;
      break;
    }
  }
  w->setObjectName(controlName(id));
  w->setGeometry(geom);
  return w;
}

void DialogForm::push() {
  if (pushing_) return;
  pushing_ = true;
  size_t n = std::min(widgets_.size(), dialog_.controls().size());
  for (size_t i = 0; i < n; ++i) pushControl(i);
  pushing_ = false;
}

void DialogForm::pushControl(size_t i) {
  const Control& c = dialog_.controls()[i];
  QWidget* w = widgets_[i];
  if (w->isHidden() == c.visible) w->setVisible(c.visible);
  if (w->testAttribute(Qt::WA_Disabled) == c.enabled) w->setEnabled(c.enabled);
  QString caption = toQ(c.caption);
  switch (c.kind) {
    case ControlKind::Static: {
      auto* l = static_cast<QLabel*>(w);
      QString t = labelText(l, c.caption);
      if (l->text() != t) l->setText(t);
      break;
    }
    case ControlKind::Edit: {
      QString t = toQText(c.text);
      if (auto* e = qobject_cast<QLineEdit*>(w)) {
        if (e->text() != t) e->setText(t);
      } else if (auto* e = qobject_cast<QPlainTextEdit*>(w)) {
        if (e->toPlainText() != t) e->setPlainText(t);
      }
      break;
    }
    case ControlKind::ListBox: {
      auto* l = static_cast<QListWidget*>(w);
      if (itemsOf(l) != c.items) {
        l->clear();
        for (const auto& s : c.items) l->addItem(toQ(s));
      }
      if (c.multiple) {
        for (int r = 0; r < l->count(); ++r) {
          bool on = std::find(c.multiSel.begin(), c.multiSel.end(), r) != c.multiSel.end();
          if (l->item(r)->isSelected() != on) l->item(r)->setSelected(on);
        }
        if (c.sel >= 0 && c.sel < l->count() && l->currentRow() != c.sel)
          l->setCurrentRow(c.sel, QItemSelectionModel::NoUpdate);
      } else if (c.sel >= 0 && c.sel < l->count()) {
        // A selection made by the dialog comes into view; the user's own
        // scrolling is otherwise left alone.
        if (l->currentRow() != c.sel || !l->item(c.sel)->isSelected()) {
          l->setCurrentRow(c.sel, QItemSelectionModel::ClearAndSelect);
          l->scrollToItem(l->item(c.sel));
        }
      } else if (!l->selectedItems().isEmpty() || l->currentRow() >= 0) {
        l->clearSelection();
        l->setCurrentRow(-1, QItemSelectionModel::NoUpdate);
      }
      break;
    }
    case ControlKind::ComboBox: {
      auto* cb = static_cast<QComboBox*>(w);
      if (itemsOf(cb) != c.items) {
        cb->clear();
        for (const auto& s : c.items) cb->addItem(toQ(s));
      }
      int sel = c.sel >= 0 && c.sel < cb->count() ? c.sel : -1;
      if (cb->currentIndex() != sel) cb->setCurrentIndex(sel);
      // An editable box shows its own text; with none, the chosen entry's.
      if (c.editable && (sel < 0 || !c.text.empty()) && cb->currentText() != toQ(c.text))
        cb->setEditText(toQ(c.text));
      break;
    }
    case ControlKind::Radio: {
      auto* r = static_cast<QRadioButton*>(w);
      if (r->text() != caption) r->setText(caption);
      if (r->isChecked() != (c.check != 0)) {
        // An exclusive group refuses to clear its checked button.
        QButtonGroup* g = radioGroups_[i];
        g->setExclusive(false);
        r->setChecked(c.check != 0);
        g->setExclusive(true);
      }
      break;
    }
    case ControlKind::Check: {
      auto* b = static_cast<QCheckBox*>(w);
      if (b->text() != caption) b->setText(caption);
      if (c.check == 2 && !b->isTristate()) b->setTristate(true);
      if (b->checkState() != checkState(c.check)) b->setCheckState(checkState(c.check));
      break;
    }
    case ControlKind::Button: {
      auto* b = static_cast<QPushButton*>(w);
      if (b->text() != caption) b->setText(caption);
      if (b->isDefault() != c.isDefault) b->setDefault(c.isDefault);
      break;
    }
    case ControlKind::Group: {
      auto* g = static_cast<QGroupBox*>(w);
      if (g->title() != caption) g->setTitle(caption);
      break;
    }
    case ControlKind::Tab: {
      auto* t = static_cast<QTabWidget*>(w);
      if (itemsOf(t) != c.items) {
        while (t->count() > 0) {
          QWidget* page = t->widget(0);
          t->removeTab(0);
          delete page;
        }
        for (const auto& s : c.items) {
          auto* page = new QWidget;
          page->setAttribute(Qt::WA_TransparentForMouseEvents);
          t->addTab(page, toQ(s));
        }
      }
      if (c.sel >= 0 && c.sel < t->count() && t->currentIndex() != c.sel) t->setCurrentIndex(c.sel);
      break;
    }
    case ControlKind::Progress: {
      auto* p = static_cast<QProgressBar*>(w);
      int pos = std::clamp(c.pos, 0, 100);
      if (p->value() != pos) p->setValue(pos);
      break;
    }
    case ControlKind::Grid:  // the grid view follows its model by itself
    case ControlKind::Icon: break;
  }
}

void DialogForm::pull() {
  size_t n = std::min(widgets_.size(), dialog_.controls().size());
  for (size_t i = 0; i < n; ++i) pullControl(i);
}

void DialogForm::pullControl(size_t i) {
  Control& c = dialog_.controls()[i];
  QWidget* w = widgets_[i];
  switch (c.kind) {
    case ControlKind::Edit: {
      QString t;
      if (auto* e = qobject_cast<QLineEdit*>(w)) t = e->text();
      else if (auto* e = qobject_cast<QPlainTextEdit*>(w)) t = e->toPlainText();
      // Unchanged text keeps the Control's own form (line ends included).
      if (t != toQText(c.text)) c.text = fromQText(t, c.multiline);
      break;
    }
    case ControlKind::ListBox: {
      auto* l = static_cast<QListWidget*>(w);
      std::vector<int> rows;
      for (int r = 0; r < l->count(); ++r)
        if (l->item(r)->isSelected()) rows.push_back(r);
      if (c.multiple) {
        c.multiSel = rows;
        c.sel = l->currentRow();
      } else {
        c.sel = rows.empty() ? -1 : rows.front();
      }
      break;
    }
    case ControlKind::ComboBox: {
      auto* cb = static_cast<QComboBox*>(w);
      if (c.editable) {
        QString t = cb->currentText();
        if (t != toQ(c.text)) c.text = fromQ(t);
        c.sel = cb->findText(t, Qt::MatchExactly);
      } else {
        c.sel = cb->currentIndex();
      }
      break;
    }
    case ControlKind::Radio: c.check = static_cast<QRadioButton*>(w)->isChecked() ? 1 : 0; break;
    case ControlKind::Check: c.check = checkValue(static_cast<QCheckBox*>(w)->checkState()); break;
    case ControlKind::Tab: {
      auto* t = static_cast<QTabWidget*>(w);
      if (t->count() > 0) c.sel = t->currentIndex();
      break;
    }
    default: break;
  }
}

void DialogForm::dispatch(const std::function<void()>& handler) {
  if (dialog_.ended()) return;
  pull();
  handler();
  push();
  emit handled();
}

void DialogForm::command(int id, int notify) {
  if (pushing_) return;
  dispatch([this, id, notify] { dialog_.onCommand(id, notify); });
}

bool DialogForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && !pushing_) {
    auto reason = static_cast<QFocusEvent*>(event)->reason();
    // The focus leaving for a context menu or another window is no edit's end.
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
      for (size_t i = 0; i < widgets_.size(); ++i) {
        QWidget* w = widgets_[i];
        bool mine = w == watched;
        if (auto* cb = qobject_cast<QComboBox*>(w)) mine = mine || cb->lineEdit() == watched;
        if (mine) {
          command(dialog_.controls()[i].id, EN_KILLFOCUS);
          break;
        }
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------- dialog ----

QtDialog::QtDialog(dv::Dialog& dialog, QWidget* parent)
    : QDialog(parent), dialog_(dialog), form_(new DialogForm(dialog, this)) {
  setWindowTitle(toQ(dialog.caption()));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setObjectName(QStringLiteral("dialog%1").arg(dialog.resourceId()));
  QSize size = form_->dialogSize();
  form_->setGeometry(QRect(QPoint(0, 0), size));
  setFixedSize(size);
  connect(form_, &DialogForm::handled, this, [this] {
    if (windowTitle() != toQ(dialog_.caption())) setWindowTitle(toQ(dialog_.caption()));
    finishIfEnded();
  });
}

bool QtDialog::initialise() {
  form_->pull();
  dialog_.onInitDialog();
  form_->push();
  setWindowTitle(toQ(dialog_.caption()));
  return !dialog_.ended();
}

void QtDialog::finishIfEnded() {
  if (dialog_.ended() && isVisible()) done(dialog_.result());
}

void QtDialog::reject() {
  // Esc and the window's close button reach the dialog as Cancel; the dialog
  // decides whether it ends.
  form_->command(IDCANCEL, BN_CLICKED);
}

void QtDialog::accept() { form_->command(IDOK, BN_CLICKED); }

void QtDialog::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1 && e->modifiers() == Qt::NoModifier) {
    if (dialog_.helpContext() && onHelp) onHelp(dialog_.helpContext());
    return;
  }
  if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && e->modifiers() == Qt::NoModifier) {
    for (QPushButton* b : findChildren<QPushButton*>())
      if (b->isDefault() && b->isVisible()) {
        if (b->isEnabled()) b->click();
        return;
      }
    // Without a default button, Enter means OK unless that button is off.
    const dv::Control* ok = dialog_.control(IDOK);
    if (!ok || (ok->enabled && ok->visible)) form_->command(IDOK, BN_CLICKED);
    return;
  }
  QDialog::keyPressEvent(e);
}

// ----------------------------------------------------------------- sheet ----

QtSheet::QtSheet(dv::PropertySheet& sheet, QWidget* parent)
    : QDialog(parent), sheet_(sheet), tabs_(new QTabWidget(this)) {
  setWindowTitle(toQ(sheet.caption()));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  QSize pageSize(0, 0);
  for (dv::Dialog* page : sheet.pages()) {
    auto* holder = new QWidget;
    auto* form = new DialogForm(*page, holder);
    QSize s = form->dialogSize();
    form->setGeometry(QRect(QPoint(0, 0), s));
    pageSize = pageSize.expandedTo(s);
    forms_.push_back(form);
    tabs_->addTab(holder, toQ(page->caption()));
  }
  for (int i = 0; i < tabs_->count(); ++i) tabs_->widget(i)->setMinimumSize(pageSize);
  if (sheet.activePage() >= 0 && sheet.activePage() < tabs_->count())
    tabs_->setCurrentIndex(sheet.activePage());
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int i) { sheet_.setActivePage(i); });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                       QDialogButtonBox::Apply);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("sheetOk"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("sheetCancel"));
  buttons->button(QDialogButtonBox::Apply)->setObjectName(QStringLiteral("sheetApply"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QtSheet::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QtSheet::reject);
  connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this, &QtSheet::apply);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void QtSheet::pullAll() {
  for (auto* f : forms_) f->pull();
}

void QtSheet::pushAll() {
  for (auto* f : forms_) f->push();
}

void QtSheet::accept() {
  pullAll();
  bool ok = sheet_.applyAll();
  pushAll();
  if (ok) {
    code_ = IDOK;
    done(IDOK);
  }
}

void QtSheet::reject() {
  pullAll();
  for (auto* p : sheet_.pages()) p->onCancel();
  code_ = IDCANCEL;
  done(IDCANCEL);
}

void QtSheet::apply() {
  pullAll();
  sheet_.applyAll();
  // The sheet stays open: its pages take further actions again.
  for (auto* p : sheet_.pages()) p->resetForRun();
  pushAll();
}

void QtSheet::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1 && e->modifiers() == Qt::NoModifier) {
    int page = tabs_->currentIndex();
    if (page >= 0 && page < (int)sheet_.pages().size() && onHelp) {
      int ctx = sheet_.pages()[(size_t)page]->helpContext();
      if (ctx) onHelp(ctx);
    }
    return;
  }
  QDialog::keyPressEvent(e);
}

}  // namespace dv::qt
