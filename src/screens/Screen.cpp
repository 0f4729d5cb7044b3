#include "screens/Screen.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>

#include "screens/fMain.h"

Screen::Screen(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_DeleteOnClose); }

void Screen::closeEvent(QCloseEvent* event) {
  if (!CanClose()) {
    event->ignore();
    return;
  }
  hide();
  ReturnControl();
  event->accept();
}

bool PressFocusedButton(QWidget* window, const QKeyEvent* event) {
  if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) return false;
  if (event->modifiers() & ~Qt::KeypadModifier) return false;
  auto* button = qobject_cast<QPushButton*>(window->focusWidget());
  if (!button || !button->isEnabled()) return false;
  button->click();
  return true;
}

// A button outside a dialog leaves Enter to its window.
void Screen::keyPressEvent(QKeyEvent* event) {
  if (!PressFocusedButton(this, event)) QWidget::keyPressEvent(event);
}

void Screen::ReturnControl() { fMain::ShowMenu(); }

void Screen::SetDefaultButton(QPushButton* button) {
  for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
    connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, this, [this, button] {
      auto* focused = qobject_cast<QPushButton*>(focusWidget());
      QPushButton* target = focused ? focused : button;
      if (target->isEnabled()) target->click();
    });
  }
}

void Screen::SetCancelButton(QAbstractButton* button) {
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, button, &QAbstractButton::click);
}
