#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "core/Def_Globales.h"
#include "screens/SubscriberDataScreen.h"
#include "screens/dModem.h"
#include "screens/fMain.h"
#include "support/TestPlatform.h"

using platform::MsgAnswer;
using platform::MsgButtons;
using platform::MsgIcon;
using testing_support::ShownBox;

namespace {

QWidget* OnlyVisibleWindow() {
  QWidget* found = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (!w->isVisible()) continue;
    if (found) return nullptr;
    found = w;
  }
  return found;
}

void Settle() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

// Types into a box as a user does: click in, select all, type.
void Type(QLineEdit* box, const QString& text) {
  box->setFocus(Qt::MouseFocusReason);
  box->selectAll();
  QTest::keyClicks(box, text);
}

void TypeQuad(const SubscriberDataScreen::Quad& quad, const QString& dotted) {
  const QStringList parts = dotted.split('.');
  for (int i = 0; i < 4; ++i) Type(quad[i], parts[i]);
}

class SubscriberScreensTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fMain::ShowMenu();
    menu_ = fMain::Instance();
    menu_->cIntroDatos->click();
    dialog_ = qobject_cast<dModem*>(OnlyVisibleWindow());
    ASSERT_NE(dialog_, nullptr);
  }
  void TearDown() override {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w != menu_) delete w;
    }
    delete menu_.data();
    Settle();
  }

  // Chooses a model and mode and presses Aceptar; returns the data screen shown.
  SubscriberDataScreen* Open(int model, bool dhcp) {
    dialog_->Combo1->setCurrentIndex(model);
    (dhcp ? dialog_->oDhcp : dialog_->oNAT)->setChecked(true);
    dialog_->OKButton->click();
    auto* screen = qobject_cast<SubscriberDataScreen*>(OnlyVisibleWindow());
    if (screen) {
      screen->activateWindow();
      (void)QTest::qWaitForWindowActive(screen);
    }
    return screen;
  }

  void FillValid(SubscriberDataScreen* s, const QString& phone = "900123456") {
    Type(s->tTelf, phone);
    TypeQuad(s->tuIP, "192.0.2.13");
    TypeQuad(s->tuMa, "255.255.255.248");
    TypeQuad(s->tmIP, "10.1.1.6");
    TypeQuad(s->tmMA, "255.255.255.252");
  }

  testing_support::TestPlatform platform_;
  QPointer<fMain> menu_;
  QPointer<dModem> dialog_;
};

TEST_F(SubscriberScreensTest, AceptarAtOnceOpensTheDhcpScreenForTheOffice) {
  EXPECT_EQ(dialog_->windowTitle(), QString::fromUtf8("Selección de Modem ADSL"));
  EXPECT_FALSE(dialog_->Combo1->isEditable());
  auto* screen = Open(0, true);
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(screen->objectName(), "fconDHCP");
  EXPECT_EQ(screen->windowTitle(), QString::fromUtf8("Configuración DHCP para Alcatel Speed Touch Office"));
  EXPECT_EQ(SelectionDialog.data(), dialog_.data());
  EXPECT_EQ(screen->tmIP[0]->text(), "0");
  EXPECT_EQ(screen->tTelf->maxLength(), 9);  // from the file-less settings
}

TEST_F(SubscriberScreensTest, NaptScreenStartsWithThePrivateLanAndComesBackToTheSameChoice) {
  auto* screen = Open(2, false);
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(screen->objectName(), "fConNapt");
  EXPECT_EQ(screen->windowTitle(), QString::fromUtf8("Configuración NAPT para Efficient SS5660"));
  QStringList modem;
  for (auto* box : screen->tmIP) modem << box->text();
  for (auto* box : screen->tmMA) modem << box->text();
  EXPECT_EQ(modem.join('.'), "172.16.0.1.255.255.255.240");

  Type(screen->tTelf, "911");  // unsaved, and too short: Volver does not judge it
  screen->cVolver->click();
  Settle();
  EXPECT_EQ(OnlyVisibleWindow(), dialog_.data());
  EXPECT_EQ(dialog_->Combo1->currentIndex(), 2);
  EXPECT_TRUE(dialog_->oNAT->isChecked());

  // A new screen each time, at its first values.
  dialog_->OKButton->click();
  auto* again = qobject_cast<SubscriberDataScreen*>(OnlyVisibleWindow());
  ASSERT_NE(again, nullptr);
  EXPECT_TRUE(again->tTelf->text().isEmpty());
}

TEST_F(SubscriberScreensTest, ClosingTheDialogReturnsToTheMenuAndForgetsIt) {
  Open(1, true)->close();
  Settle();
  dialog_->close();
  Settle();
  EXPECT_EQ(OnlyVisibleWindow(), menu_.data());
  EXPECT_TRUE(SelectionDialog.isNull());
}

TEST_F(SubscriberScreensTest, AnEmptyPhoneIsTheOnlyComplaintEvenWithOtherFieldsEmpty) {
  auto* screen = Open(2, true);
  ASSERT_NE(screen, nullptr);
  screen->tuMa[1]->setText("");
  screen->cSalvar->click();
  ASSERT_EQ(platform_.boxes.shown.size(), 1);
  EXPECT_EQ(platform_.boxes.shown[0],
            (ShownBox{"El número de teléfono del abonado no es valido o no ha sido rellenado", "Error",
                      MsgIcon::Critical, MsgButtons::Ok}));
  EXPECT_FALSE(QFile::exists(platform_.PathOf("Configuraciones")));
}

TEST_F(SubscriberScreensTest, TheProRefusesAModemMaskShorterThan24Bits) {
  auto* screen = Open(1, true);
  ASSERT_NE(screen, nullptr);
  FillValid(screen);
  TypeQuad(screen->tmMA, "255.255.254.0");
  screen->cSalvar->click();
  ASSERT_FALSE(platform_.boxes.shown.isEmpty());
  EXPECT_EQ(platform_.boxes.shown.last().text,
            QString::fromUtf8("La máscara de WAN no puede ser superior a una clase C\r\n"
                              "La máscara no puede ser inferior a 24 bits"));
  EXPECT_FALSE(QFile::exists(platform_.PathOf("Configuraciones/900123456.cfg")));

  platform_.boxes.shown.clear();
  TypeQuad(screen->tmMA, "255.255.255.0");
  screen->cSalvar->click();
  ASSERT_EQ(platform_.boxes.shown.size(), 1);
  EXPECT_EQ(platform_.boxes.shown[0].text, "Fichero de configuración almacenado");
  const QByteArray file = platform_.Read("Configuraciones/900123456.cfg");
  EXPECT_TRUE(file.startsWith("Configuraci\xF3n DHCP para Alcatel Speed Touch Pro\r\n"));
  EXPECT_TRUE(file.contains("cip ifadd addr=10.1.1.6/24\r\n"));
}

TEST_F(SubscriberScreensTest, TheOverwriteQuestionDecidesWhetherTheStoredFileIsReplaced) {
  auto* screen = Open(2, true);
  ASSERT_NE(screen, nullptr);
  FillValid(screen);
  screen->cSalvar->click();
  const QByteArray first = platform_.Read("Configuraciones/900123456.cfg");
  ASSERT_FALSE(first.isEmpty());

  screen->oPremium->setChecked(true);
  platform_.boxes.shown.clear();
  platform_.boxes.Answer(MsgAnswer::Cancel);
  screen->cSalvar->click();
  ASSERT_EQ(platform_.boxes.shown.size(), 1);
  EXPECT_EQ(platform_.boxes.shown[0],
            (ShownBox{QString::fromUtf8("Ya ha sido almacenada una configuración para este abonado, "
                                        "¿Desea sobreescribirla ?"),
                      QString::fromUtf8("Configuración ya existente"), MsgIcon::Exclamation,
                      MsgButtons::OkCancel}));
  EXPECT_EQ(platform_.Read("Configuraciones/900123456.cfg"), first);

  platform_.boxes.Answer(MsgAnswer::Ok);
  screen->cSalvar->click();
  EXPECT_TRUE(platform_.Read("Configuraciones/900123456.cfg").contains("\r\nPremium\r\n"));
}

TEST_F(SubscriberScreensTest, AnOctetNotYetLeftIsStillJudgedWhenSavingByAccessKey) {
  auto* screen = Open(2, true);
  ASSERT_NE(screen, nullptr);
  FillValid(screen);
  // "010" is a valid octet and is copied as typed; "999" is not and must not be written.
  Type(screen->tuIP[2], "010");
  screen->cSalvar->click();  // as its access key does: the focus stays in the box
  EXPECT_TRUE(platform_.Read("Configuraciones/900123456.cfg").contains("IP del Usuario: 192.0.010.13\r\n"));

  platform_.boxes.shown.clear();
  Type(screen->tuIP[2], "999");
  screen->cSalvar->click();  // as its access key does: the focus stays in the box
  ASSERT_FALSE(platform_.boxes.shown.isEmpty());
  EXPECT_EQ(platform_.boxes.shown[0].text, "Se debe introducir un número comprendido entre 0 y 255");
  EXPECT_EQ(QApplication::focusWidget(), screen->tuIP[2]);
  EXPECT_FALSE(platform_.Read("Configuraciones/900123456.cfg").contains("999"));
}

}  // namespace
