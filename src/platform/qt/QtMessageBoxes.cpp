#include "platform/qt/QtMessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace platform {
namespace {

QMessageBox::Icon ToQt(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Critical: return QMessageBox::Critical;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

MsgAnswer QtMessageBoxes::Show(const QString& text, const QString& title, MsgIcon icon,
                               MsgButtons buttons) {
  QMessageBox box(ToQt(icon), title.isEmpty() ? QString::fromUtf8(kApplicationTitle) : title,
                  text, QMessageBox::NoButton, QApplication::activeWindow());
  QPushButton* ok = nullptr;
  QPushButton* cancel = nullptr;
  QPushButton* yes = nullptr;
  QPushButton* no = nullptr;
  switch (buttons) {
    case MsgButtons::Ok:
      ok = box.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
      box.setEscapeButton(ok);
      break;
    case MsgButtons::OkCancel:
      ok = box.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
      cancel = box.addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole);
      box.setEscapeButton(cancel);
      break;
    case MsgButtons::YesNo:
      yes = box.addButton(QStringLiteral("Sí"), QMessageBox::YesRole);
      no = box.addButton(QStringLiteral("No"), QMessageBox::NoRole);
      box.setEscapeButton(no);
      break;
  }
  box.exec();
  const auto* pressed = box.clickedButton();
  if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
  if (buttons == MsgButtons::OkCancel) return pressed == ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
  return pressed == yes ? MsgAnswer::Yes : MsgAnswer::No;
}

}  // namespace platform
