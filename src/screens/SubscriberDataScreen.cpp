#include "screens/SubscriberDataScreen.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "config/SaveConfiguration.h"
#include "core/Def_Globales.h"
#include "core/SettingsFile.h"
#include "screens/FieldRules.h"
#include "screens/fMain.h"

namespace {

// Four octet boxes in a row, named prefix1 to prefix4.
SubscriberDataScreen::Quad AddQuad(QGridLayout* grid, int row, const QString& caption,
                                   const QString& prefix, const TypedQuad& texts, QWidget* parent) {
  grid->addWidget(new QLabel(caption, parent), row, 0);
  SubscriberDataScreen::Quad quad{};
  for (int i = 0; i < 4; ++i) {
    auto* box = new QLineEdit(texts[i], parent);
    box->setObjectName(prefix + QString::number(i + 1));
    box->setFixedWidth(48);
    box->setAlignment(Qt::AlignRight);
    box->setCursorPosition(0);
    AttachOctetRules(box);
    grid->addWidget(box, row, i + 1);
    quad[i] = box;
  }
  return quad;
}

TypedQuad TextsOf(const SubscriberDataScreen::Quad& quad) {
  return {quad[0]->text(), quad[1]->text(), quad[2]->text(), quad[3]->text()};
}

}  // namespace

SubscriberDataScreen::SubscriberDataScreen(DataScreen kind, QWidget* parent)
    : Screen(parent), kind_(kind) {
  const bool dhcp = kind == DataScreen::Dhcp;
  setObjectName(dhcp ? QStringLiteral("fconDHCP") : QStringLiteral("fConNapt"));
  const SubscriberData initial = InitialSubscriberData(kind, -1);

  auto* phoneRow = new QHBoxLayout;
  phoneRow->addWidget(new QLabel(QStringLiteral("Teléfono:"), this));
  tTelf = new QLineEdit(this);
  tTelf->setObjectName(QStringLiteral("tTelf"));
  tTelf->setToolTip(QStringLiteral("Número de Telefono del Abonado"));
  AttachPhoneRules(tTelf);
  phoneRow->addWidget(tTelf);
  phoneRow->addStretch();

  auto* modality = new QGroupBox(QStringLiteral("Modalidad del Servicio:"), this);
  oEstandar = new QRadioButton(QStringLiteral("Estándar"), modality);
  oEstandar->setObjectName(QStringLiteral("oEstandar"));
  oClass = new QRadioButton(QStringLiteral("Class"), modality);
  oClass->setObjectName(QStringLiteral("oClass"));
  oPremium = new QRadioButton(QStringLiteral("Premium"), modality);
  oPremium->setObjectName(QStringLiteral("oPremium"));
  oEstandar->setChecked(true);
  auto* modalityRow = new QHBoxLayout(modality);
  modalityRow->addWidget(oEstandar);
  modalityRow->addWidget(oClass);
  modalityRow->addWidget(oPremium);

  auto* user = new QGroupBox(QStringLiteral("Configuración del Usuario:"), this);
  auto* userGrid = new QGridLayout(user);
  tuIP = AddQuad(userGrid, 0, QStringLiteral("Dirección IP:"), QStringLiteral("tuIP"), initial.UserIp, user);
  tuMa = AddQuad(userGrid, 1, QStringLiteral("Máscara de red:"), QStringLiteral("tuMa"), initial.UserMask, user);

  auto* modem = new QGroupBox(dhcp ? QStringLiteral("Gestión del Módem:") : QStringLiteral("Ethernet del Módem:"), this);
  auto* modemGrid = new QGridLayout(modem);
  tmIP = AddQuad(modemGrid, 0, QStringLiteral("Dirección IP:"), QStringLiteral("tmIP"), initial.ModemIp, modem);
  tmMA = AddQuad(modemGrid, 1, QStringLiteral("Máscara de red:"), QStringLiteral("tmMA"), initial.ModemMask, modem);

  cSalvar = new QPushButton(QStringLiteral("&Salvar"), this);
  cSalvar->setObjectName(QStringLiteral("cSalvar"));
  cSalvar->setToolTip(QStringLiteral("Iniciar la configuración del ATU-r"));
  cVolver = new QPushButton(QStringLiteral("&Volver"), this);
  cVolver->setObjectName(QStringLiteral("cVolver"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cSalvar);
  buttons->addWidget(cVolver);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(phoneRow);
  layout->addWidget(modality);
  layout->addWidget(user);
  layout->addWidget(modem);
  layout->addLayout(buttons);

  // Phone, the modality options, then the octets left to right, quad by quad.
  QList<QWidget*> order = {tTelf, oEstandar, oClass, oPremium};
  for (const Quad* quad : {&tuIP, &tuMa, &tmIP, &tmMA}) {
    for (QLineEdit* box : *quad) order << box;
  }
  order << cSalvar << cVolver;
  for (int i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);

  connect(cSalvar, &QPushButton::clicked, this, &SubscriberDataScreen::cSalvar_Click);
  connect(cVolver, &QPushButton::clicked, this, &QWidget::close);
  SetCancelButton(cVolver);
  Form_Load();
}

void SubscriberDataScreen::Form_Load() {
  (void)LoadServiceSettings();  // reports its own failure; the screen opens anyway
  setWindowTitle(DataScreenTitle(kind_, SelectedModel));
  tTelf->setMaxLength(ServiceSettings.PhoneMaxDigits);
}

SubscriberData SubscriberDataScreen::CurrentData() const {
  SubscriberData data;
  data.Title = windowTitle();
  data.Phone = tTelf->text();
  data.UserIp = TextsOf(tuIP);
  data.UserMask = TextsOf(tuMa);
  data.ModemIp = TextsOf(tmIP);
  data.ModemMask = TextsOf(tmMA);
  data.oEstandar = oEstandar->isChecked();
  data.oClass = oClass->isChecked();
  data.oPremium = oPremium->isChecked();
  return data;
}

// The model and mode are read again at each save, as they stand in the selection.
void SubscriberDataScreen::cSalvar_Click() {
  // Saved by its access key, the box in use has not been left: its exit rule runs
  // first, normalisation included, so the file is the same however Salvar is pressed.
  if (!CheckFocusedField(this)) return;
  (void)SaveSubscriberConfiguration(CurrentData(), kind_, SelectedModel, SelectedMode);
}

// Back to the selection dialog that opened this screen, still holding its choice.
void SubscriberDataScreen::ReturnControl() {
  if (auto* dialog = qobject_cast<QWidget*>(SelectionDialog.data())) {
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return;
  }
  fMain::ShowMenu();
}
