#include "screens/Screen.h"

#include <QAbstractButton>
#include <QCloseEvent>
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

void Screen::ReturnControl() { fMain::ShowMenu(); }

void Screen::SetCancelButton(QAbstractButton* button) {
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, button, &QAbstractButton::click);
}
