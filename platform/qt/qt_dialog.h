// Dialogs shown from their descriptions: DialogForm builds one widget per
// Control (objectName "ctl<id>"), keeps widgets and Controls in step and
// routes the user's actions to the Dialog's handlers; QtDialog runs a Dialog
// modally and QtSheet a PropertySheet with OK, Cancel and Apply.
#pragma once

#include <QDialog>
#include <QPointer>

#include <functional>
#include <vector>

#include "dv/dialog.h"

class QButtonGroup;
class QTabWidget;

namespace dv::qt {

class DialogForm : public QWidget {
  Q_OBJECT
 public:
  DialogForm(dv::Dialog& dialog, QWidget* parent = nullptr);
  ~DialogForm() override;

  dv::Dialog& dialog() const { return dialog_; }
  // Dialog units -> pixels, from the average character size of the font.
  QPoint toPixels(int x, int y) const;
  QSize dialogSize() const;
  // The widget of the first control with this id.
  QWidget* widgetOf(int id) const;

  // Widget values -> Controls (quietly: no handler hears of it).
  void pull();
  // Control values -> widgets, without raising notifications.
  void push();
  // Runs a handler between a pull and a push; skipped once the dialog ended.
  void dispatch(const std::function<void()>& handler);
  void command(int id, int notify);

 signals:
  // A handler ran (the host checks whether the dialog ended).
  void handled();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void build();
  QWidget* create(size_t index);
  void pushControl(size_t index);
  void pullControl(size_t index);
  dv::Dialog& dialog_;
  std::function<void()> previousOnChanged_;
  std::vector<QWidget*> widgets_;         // parallel to dialog.controls()
  std::vector<QButtonGroup*> radioGroups_;  // parallel too; null for non-radios
  double baseX_ = 6, baseY_ = 13;         // average character width, line height
  bool pushing_ = false;
};

class QtDialog : public QDialog {
  Q_OBJECT
 public:
  QtDialog(dv::Dialog& dialog, QWidget* parent = nullptr);
  DialogForm* form() const { return form_; }
  // Calls onInitDialog; false when that already ended the dialog.
  bool initialise();
  // F1: the dialog's help context.
  std::function<void(int)> onHelp;

 public slots:
  void reject() override;
  void accept() override;

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void finishIfEnded();
  dv::Dialog& dialog_;
  DialogForm* form_;
};

class QtSheet : public QDialog {
  Q_OBJECT
 public:
  QtSheet(dv::PropertySheet& sheet, QWidget* parent = nullptr);
  // The sheet's end code: IDOK or IDCANCEL.
  int code() const { return code_; }
  QTabWidget* tabs() const { return tabs_; }
  const std::vector<DialogForm*>& forms() const { return forms_; }
  std::function<void(int)> onHelp;

 public slots:
  void accept() override;  // OK
  void reject() override;  // Cancel
  void apply();

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void pullAll();
  void pushAll();
  dv::PropertySheet& sheet_;
  QTabWidget* tabs_;
  std::vector<DialogForm*> forms_;
  int code_ = IDCANCEL;
};

}  // namespace dv::qt
