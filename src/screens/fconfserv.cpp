#include "screens/fconfserv.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdint>
#include <optional>

#include "core/Def_Globales.h"
#include "core/SettingsFile.h"
#include "platform/Platform.h"
#include "screens/AdapterList.h"
#include "screens/FieldRules.h"
#include "screens/PortDiscovery.h"

namespace {

constexpr const char* kSizeTitle = "Error en el tamaño del número de abonado";
constexpr const char* kSizeText =
    "El número máximo de dígitos que forman el número de teléfono del abonado al servicio \r\n"
    "debe ser mayor o igual al número mínimo.";
constexpr const char* kSavedTitle = "Configuración guardada";
constexpr const char* kSavedText = "Se ha guardado con éxito la nueva configuración";

QString Utf8(const char* text) { return QString::fromUtf8(text); }

QLineEdit* NewBox(const QString& name, QWidget* parent) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setFixedWidth(44);
  return box;
}

// A row of four octet boxes named prefix1 to prefix4.
fconfserv::Quad AddQuad(QGridLayout* grid, int row, const QString& caption, const QString& prefix,
                        QWidget* parent) {
  grid->addWidget(new QLabel(caption, parent), row, 0);
  fconfserv::Quad quad{};
  for (int i = 0; i < 4; ++i) {
    quad[i] = NewBox(prefix + QString::number(i + 1), parent);
    AttachOctetRules(quad[i]);
    grid->addWidget(quad[i], row, i + 1);
  }
  return quad;
}

// A digit limit as the settings file holds it; nothing for an empty or unfinished box.
std::optional<int> DigitLimitValue(const QString& text) {
  std::int16_t value = 0;
  QString error;
  if (!ParseSettingsNumber(text, &value, &error)) return std::nullopt;
  return value;
}

void ShowQuad(const fconfserv::Quad& quad, const Octets& octets) {
  for (int i = 0; i < 4; ++i) SetFieldText(quad[i], QString::number(octets[i]));
}

}  // namespace

int PortEntryIndex(int comPort) { return comPort >= 1 && comPort <= kPortCount ? comPort - 1 : 0; }

fconfserv::fconfserv(QWidget* parent) : Screen(parent) {
  setObjectName(QStringLiteral("fconfserv"));
  setWindowTitle(QStringLiteral("Configuración del servicio ADSL"));
  BuildControls();
  SetTabOrder();
  connect(cboPort, &QComboBox::currentIndexChanged, this, &fconfserv::cboPort_Click);
  connect(cSalvar, &QPushButton::clicked, this, &fconfserv::cSalvar_Click);
  connect(cVolver, &QPushButton::clicked, this, &QWidget::close);
  SetCancelButton(cVolver);
  // The label shows the new link at once.
  connect(adapters, &AdapterList::PortMapped, this, [this] { cboPort_Click(cboPort->currentIndex()); });
  Form_Load();
}

void fconfserv::BuildControls() {
  auto* portFrame = new QGroupBox(QStringLiteral("Selección de puerto de comunicaciones:"), this);
  auto* portColumn = new QVBoxLayout(portFrame);
  auto* portRow = new QHBoxLayout;
  portColumn->addLayout(portRow);
  portRow->addWidget(new QLabel(QStringLiteral("Puerto de comunicaciones:"), portFrame));
  cboPort = new QComboBox(portFrame);
  cboPort->setObjectName(QStringLiteral("cboPort"));
  portRow->addWidget(cboPort);
  lDispositivo = new QLabel(portFrame);
  lDispositivo->setObjectName(QStringLiteral("lDispositivo"));
  portRow->addWidget(lDispositivo);
  portRow->addStretch();
  adapters = new AdapterList([this] { return cboPort->currentIndex() + 1; }, portFrame);
  portColumn->addWidget(adapters);

  auto* digitsFrame = new QGroupBox(QStringLiteral("Dígitos del número de teléfono"), this);
  auto* digitsRow = new QHBoxLayout(digitsFrame);
  digitsRow->addWidget(new QLabel(QStringLiteral("Mínimo:"), digitsFrame));
  cTelMin = NewBox(QStringLiteral("cTelMin"), digitsFrame);
  digitsRow->addWidget(cTelMin);
  digitsRow->addWidget(new QLabel(QStringLiteral("Máximo:"), digitsFrame));
  cTelMax = NewBox(QStringLiteral("cTelMax"), digitsFrame);
  digitsRow->addWidget(cTelMax);
  digitsRow->addStretch();
  AttachDigitRules(cTelMin, kPhoneDigitsBox);
  AttachDigitRules(cTelMax, kPhoneDigitsBox);

  auto* atmFrame = new QGroupBox(QStringLiteral("Circuito ATM de Usuario:"), this);
  auto* atmRow = new QHBoxLayout(atmFrame);
  atmRow->addWidget(new QLabel(QStringLiteral("Circuito ATM:"), atmFrame));
  tAtm1 = NewBox(QStringLiteral("tAtm1"), atmFrame);
  atmRow->addWidget(tAtm1);
  atmRow->addWidget(new QLabel(QStringLiteral("*"), atmFrame));
  tAtm2 = NewBox(QStringLiteral("tAtm2"), atmFrame);
  atmRow->addWidget(tAtm2);
  atmRow->addStretch();
  AttachDigitRules(tAtm1, kVpiBox);
  AttachDigitRules(tAtm2, kVciBox);

  auto* edcFrame = new QGroupBox(QStringLiteral("Configuración de la gestión de EDCs:"), this);
  auto* edcGrid = new QGridLayout(edcFrame);
  teIP = AddQuad(edcGrid, 0, QStringLiteral("Dirección IP:"), QStringLiteral("teIP"), edcFrame);
  teMa = AddQuad(edcGrid, 1, QStringLiteral("Máscara de red:"), QStringLiteral("teMa"), edcFrame);

  auto* dnsFrame = new QGroupBox(QStringLiteral("Configuración del DNS:"), this);
  auto* dnsGrid = new QGridLayout(dnsFrame);
  tdIP = AddQuad(dnsGrid, 0, QStringLiteral("Dirección IP:"), QStringLiteral("tdIP"), dnsFrame);

  cSalvar = new QPushButton(QStringLiteral("&Salvar"), this);
  cSalvar->setObjectName(QStringLiteral("cSalvar"));
  cSalvar->setToolTip(QStringLiteral("Iniciar la configuración del ATU-r"));
  cVolver = new QPushButton(QStringLiteral("&Volver"), this);
  cVolver->setObjectName(QStringLiteral("cVolver"));
  // Leaving without saving needs no valid box: a click on it does not take the
  // focus, so the box being edited is not judged. Tab still reaches it.
  cVolver->setFocusPolicy(Qt::TabFocus);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cSalvar);
  buttons->addWidget(cVolver);

  auto* layout = new QVBoxLayout(this);
  for (QWidget* frame : {portFrame, digitsFrame, atmFrame, edcFrame, dnsFrame}) layout->addWidget(frame);
  layout->addLayout(buttons);
}

void fconfserv::SetTabOrder() {
  QList<QWidget*> order = {cboPort, cTelMin, cTelMax, tAtm1, tAtm2};
  for (const Quad* quad : {&teIP, &teMa, &tdIP}) {
    for (QLineEdit* box : *quad) order << box;
  }
  order << cSalvar << cVolver << adapters->lstAdaptadores << adapters->cAsignar << adapters->cActualizar;
  for (qsizetype i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
}

void fconfserv::Form_Load() {
  for (int port = 1; port <= kPortCount; ++port) cboPort->addItem(QStringLiteral("Com%1").arg(port));
  cboPort->setCurrentIndex(0);
  (void)LoadServiceSettings();  // reports its own failure; the screen opens anyway
  set_defaults();
}

void fconfserv::set_defaults() {
  const int entry = PortEntryIndex(ServiceSettings.ComPort);
  cboPort->setCurrentIndex(entry);
  cboPort_Click(entry);  // an unchanged entry emits nothing, and the port must follow it
  ShowQuad(teIP, ServiceSettings.EdcNetwork);
  ShowQuad(teMa, ServiceSettings.EdcMask);
  ShowQuad(tdIP, ServiceSettings.DnsServer);
  SetFieldText(tAtm1, QString::number(ServiceSettings.AtmCircuit.Vpi));
  SetFieldText(tAtm2, QString::number(ServiceSettings.AtmCircuit.Vci));
  SetFieldText(cTelMax, QString::number(ServiceSettings.PhoneMaxDigits));
  SetFieldText(cTelMin, QString::number(ServiceSettings.PhoneMinDigits));
}

QStringList fconfserv::FieldTexts() const {
  QStringList texts;
  for (const Quad* quad : {&teIP, &teMa, &tdIP}) {
    for (const QLineEdit* box : *quad) texts << box->text();
  }
  texts << tAtm1->text() << tAtm2->text() << cTelMin->text() << cTelMax->text();
  return texts;
}

void fconfserv::cboPort_Click(int index) {
  if (index < 0) return;
  ServiceSettings.ComPort = static_cast<std::int16_t>(index + 1);
  lDispositivo->setText(PortDeviceText(index + 1, DescribePort(index + 1)));
}

void fconfserv::cSalvar_Click() {
  // Every box is judged as leaving it would judge it, in tab order: a value from a
  // damaged or hand-edited file is not written back unseen, and the box in use when
  // the access key was pressed is normalised as if left.
  if (!AllBoxesAccepted()) return;
  if (*DigitLimitValue(cTelMin->text()) > *DigitLimitValue(cTelMax->text())) {
    platform::ShowMessage(Utf8(kSizeText), Utf8(kSizeTitle), platform::MsgIcon::Exclamation);
    cTelMin->setFocus(Qt::OtherFocusReason);
    const int length = cTelMin->text().size();
    cTelMin->setSelection(length, -length);  // all of it, the caret at the start
    return;
  }
  if (!SaveServiceSettings(FieldTexts())) return;  // the failure is already reported
  platform::ShowMessage(Utf8(kSavedText), Utf8(kSavedTitle), platform::MsgIcon::Information);
}

bool fconfserv::AllBoxesAccepted() {
  QList<QLineEdit*> boxes = {cTelMin, cTelMax, tAtm1, tAtm2};
  for (const Quad* quad : {&teIP, &teMa, &tdIP}) {
    for (QLineEdit* box : *quad) boxes << box;
  }
  return std::all_of(boxes.begin(), boxes.end(), [](QLineEdit* box) { return FieldRules::Of(box)->CheckNow(); });
}
