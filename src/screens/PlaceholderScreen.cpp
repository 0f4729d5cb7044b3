#include "screens/PlaceholderScreen.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

PlaceholderScreen::PlaceholderScreen(const QString& caption, QWidget* parent) : Screen(parent) {
  setWindowTitle(caption);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Esta función aún no está disponible."), this));
  auto* back = new QPushButton(QStringLiteral("&Volver"), this);
  back->setObjectName(QStringLiteral("cVolver"));
  layout->addWidget(back);
  connect(back, &QPushButton::clicked, this, &QWidget::close);
  SetCancelButton(back);
}
