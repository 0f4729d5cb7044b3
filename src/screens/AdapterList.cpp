#include "screens/AdapterList.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <utility>

#include "platform/Platform.h"

AdapterList::AdapterList(std::function<int()> selectedPort, QWidget* parent)
    : QWidget(parent), selectedPort_(std::move(selectedPort)) {
  lstAdaptadores = new QListWidget(this);
  lstAdaptadores->setObjectName(QStringLiteral("lstAdaptadores"));
  lstAdaptadores->setToolTip(QStringLiteral("Adaptadores serie conectados ahora"));
  lstAdaptadores->setMaximumHeight(90);
  lstAdaptadores->setMinimumWidth(380);  // room for an adapter's name and its device
  cAsignar = new QPushButton(QStringLiteral("Asi&gnar al puerto elegido"), this);
  cAsignar->setObjectName(QStringLiteral("cAsignar"));
  cAsignar->setToolTip(QStringLiteral("Hace que el Com elegido abra el adaptador marcado"));
  cActualizar = new QPushButton(QStringLiteral("Act&ualizar lista"), this);
  cActualizar->setObjectName(QStringLiteral("cActualizar"));
  lPermiso = new QLabel(QString::fromUtf8(platform::kNoSerialPermissionText), this);
  lPermiso->setObjectName(QStringLiteral("lPermiso"));
  lPermiso->setWordWrap(true);
  lPermiso->setTextInteractionFlags(Qt::TextSelectableByMouse);  // the command can be copied
  lPermiso->hide();

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->addWidget(new QLabel(QStringLiteral("Adaptadores conectados:"), this), 0, 0, 1, 2);
  grid->addWidget(lstAdaptadores, 1, 0, 2, 1);
  grid->addWidget(cAsignar, 1, 1);
  grid->addWidget(cActualizar, 2, 1, Qt::AlignTop);
  grid->addWidget(lPermiso, 3, 0, 1, 2);
  setTabOrder(lstAdaptadores, cAsignar);
  setTabOrder(cAsignar, cActualizar);

  connect(cActualizar, &QPushButton::clicked, this, &AdapterList::Refresh);
  connect(cAsignar, &QPushButton::clicked, this, &AdapterList::MapSelected);
  connect(lstAdaptadores, &QListWidget::itemActivated, this, &AdapterList::MapSelected);
  Refresh();
}

platform::AdapterScan& AdapterList::Scan() {
  static platform::AdapterScan scan;
  return scan;
}

void AdapterList::Refresh() {
  const platform::AdapterListing listing = platform::ListSerialAdapters(Scan());
  lstAdaptadores->clear();
  for (const platform::SerialAdapter& adapter : listing.adapters) {
    const QString shown = adapter.device == adapter.path
                              ? adapter.name
                              : QStringLiteral("%1 (%2)").arg(adapter.name, adapter.device);
    auto* item = new QListWidgetItem(shown, lstAdaptadores);
    item->setData(Qt::UserRole, adapter.path);
  }
  if (listing.adapters.empty()) {
    auto* item = new QListWidgetItem(QStringLiteral("No se ha encontrado ningún adaptador serie"), lstAdaptadores);
    item->setFlags(Qt::NoItemFlags);
  } else {
    lstAdaptadores->setCurrentRow(0);
  }
  cAsignar->setEnabled(!listing.adapters.empty());
  lPermiso->setVisible(listing.accessDenied);
}

bool AdapterList::MapSelected() {
  const QListWidgetItem* item = lstAdaptadores->currentItem();
  if (!item || !(item->flags() & Qt::ItemIsEnabled)) return false;
  const int number = selectedPort_();
  QString error;
  if (!platform::MapPortToDevice(number, item->data(Qt::UserRole).toString(), &error)) {
    platform::ShowSystemWarning(error);
    return false;
  }
  emit PortMapped(number);
  return true;
}
