#include "screens/dModem.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/Def_Globales.h"
#include "screens/SubscriberDataScreen.h"

dModem::dModem(QWidget* parent) : Screen(parent) {
  setObjectName(QStringLiteral("dModem"));
  setWindowTitle(QStringLiteral("Selección de Modem ADSL"));

  auto* modelFrame = new QGroupBox(QStringLiteral("Módem ADSL:"), this);
  Combo1 = new QComboBox(modelFrame);
  Combo1->setObjectName(QStringLiteral("Combo1"));
  Combo1->setEditable(false);  // a model that is not in the list cannot be chosen
  Combo1->setToolTip(QStringLiteral("Selección el modem ADSL del usuario"));
  Combo1->addItems({QStringLiteral("Alcatel Speed Touch Office"), QStringLiteral("Alcatel Speed Touch Pro"),
                    QStringLiteral("Efficient SS5660")});
  (new QVBoxLayout(modelFrame))->addWidget(Combo1);

  auto* modeFrame = new QGroupBox(QStringLiteral("Tipo de configuración:"), this);
  oDhcp = new QRadioButton(QStringLiteral("Modo M&onopuesto, con DHCP y sin NAPT"), modeFrame);
  oDhcp->setObjectName(QStringLiteral("oDhcp"));
  oNAT = new QRadioButton(QStringLiteral("Modo M&ultipuesto, sin DHCP y con NAPT"), modeFrame);
  oNAT->setObjectName(QStringLiteral("oNAT"));
  auto* modeColumn = new QVBoxLayout(modeFrame);
  modeColumn->addWidget(oDhcp);
  modeColumn->addWidget(oNAT);

  OKButton = new QPushButton(QStringLiteral("Ac&eptar"), this);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  CancelButton = new QPushButton(QStringLiteral("&Volver"), this);
  CancelButton->setObjectName(QStringLiteral("CancelButton"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKButton);
  buttons->addWidget(CancelButton);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(modelFrame);
  layout->addWidget(modeFrame);
  layout->addLayout(buttons);

  connect(Combo1, &QComboBox::currentIndexChanged, this, &dModem::Combo1_Click);
  connect(OKButton, &QPushButton::clicked, this, &dModem::OKButton_Click);
  connect(CancelButton, &QPushButton::clicked, this, &QWidget::close);
  SetCancelButton(CancelButton);
  SetDefaultButton(OKButton);
  Form_Load();
}

dModem::~dModem() {
  if (SelectionDialog == this) SelectionDialog = nullptr;
}

void dModem::Form_Load() {
  Combo1->setCurrentIndex(0);
  SelectedModel = 0;
  oDhcp->setChecked(true);
}

void dModem::Combo1_Click(int index) { SelectedModel = static_cast<std::int16_t>(index); }

void dModem::OKButton_Click() {
  SelectionDialog = this;
  SelectedModel = static_cast<std::int16_t>(Combo1->currentIndex());
  SelectedMode = oDhcp->isChecked();
  hide();
  if (SelectedMode) {
    (new fconDHCP())->show();
  } else {
    (new fConNapt())->show();
  }
}

void dModem::closeEvent(QCloseEvent* event) {
  SelectionDialog = nullptr;
  Screen::closeEvent(event);
}
