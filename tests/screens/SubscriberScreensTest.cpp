#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

#include "core/Def_Globales.h"
#include "screens/SubscriberDataScreen.h"
#include "screens/dModem.h"
#include "WindowDriving.h"

using namespace window_driving;
using platform::MsgAnswer;
using platform::MsgButtons;
using platform::MsgIcon;
using testing_support::ShownBox;

namespace {

const QString kFile = QStringLiteral("Configuraciones/900123456.cfg");

QStringList TextsOf(const SubscriberDataScreen::Quad& quad) {
  QStringList texts;
  for (const QLineEdit* box : quad) texts << box->text();
  return texts;
}

void TypeQuad(const SubscriberDataScreen::Quad& quad, const QString& dotted) {
  const QStringList parts = dotted.split('.');
  for (int i = 0; i < 4; ++i) TypeInto(quad[i], parts[i]);
}

class SubscriberScreensTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    menu_->cIntroDatos->click();
    dialog_ = qobject_cast<dModem*>(OnlyVisibleWindow());
    ASSERT_NE(dialog_, nullptr);
  }

  // Chooses a model and mode and presses Aceptar; returns the data screen shown.
  SubscriberDataScreen* Open(int model, bool dhcp, bool fill = false) {
    dialog_->Combo1->setCurrentIndex(model);
    (dhcp ? dialog_->oDhcp : dialog_->oNAT)->setChecked(true);
    dialog_->OKButton->click();
    auto* screen = qobject_cast<SubscriberDataScreen*>(OnlyVisibleWindow());
    if (!screen || !ShowActive(screen) || !fill) return screen;
    TypeInto(screen->tTelf, "900123456");
    TypeQuad(screen->tuIP, "192.0.2.13");
    TypeQuad(screen->tuMa, "255.255.255.248");
    TypeQuad(screen->tmIP, "10.1.1.6");
    TypeQuad(screen->tmMA, "255.255.255.252");
    return screen;
  }
  [[nodiscard]] QByteArray Saved() const { return platform_.Read(kFile); }

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

  TypeInto(screen->tTelf, "911");  // unsaved, and too short: Volver does not judge it
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
  EXPECT_EQ(Shown(), QList<ShownBox>{Box("El número de teléfono del abonado no es valido o no ha sido rellenado",
                                         "Error", MsgIcon::Critical)});
  EXPECT_FALSE(QFile::exists(platform_.PathOf("Configuraciones")));
}

TEST_F(SubscriberScreensTest, TheProRefusesAModemMaskShorterThan24Bits) {
  auto* screen = Open(1, true, true);
  ASSERT_NE(screen, nullptr);
  TypeQuad(screen->tmMA, "255.255.254.0");
  screen->cSalvar->click();
  ASSERT_FALSE(Shown().isEmpty());
  EXPECT_EQ(Shown().last().text, QString::fromUtf8("La máscara de WAN no puede ser superior a una clase C\r\n"
                                                   "La máscara no puede ser inferior a 24 bits"));
  EXPECT_TRUE(Saved().isEmpty());

  platform_.boxes.shown.clear();
  TypeQuad(screen->tmMA, "255.255.255.0");
  screen->cSalvar->click();
  ASSERT_EQ(Shown().size(), 1);
  EXPECT_EQ(Shown()[0].text, "Fichero de configuración almacenado");
  EXPECT_TRUE(Saved().startsWith("Configuraci\xF3n DHCP para Alcatel Speed Touch Pro\r\n"));
  EXPECT_TRUE(Saved().contains("cip ifadd addr=10.1.1.6/24\r\n"));
}

TEST_F(SubscriberScreensTest, TheOverwriteQuestionDecidesWhetherTheStoredFileIsReplaced) {
  auto* screen = Open(2, true, true);
  ASSERT_NE(screen, nullptr);
  screen->cSalvar->click();
  const QByteArray first = Saved();
  ASSERT_FALSE(first.isEmpty());

  screen->oPremium->setChecked(true);
  platform_.boxes.shown.clear();
  platform_.boxes.Answer(MsgAnswer::Cancel);
  screen->cSalvar->click();
  EXPECT_EQ(Shown(), QList<ShownBox>{Box("Ya ha sido almacenada una configuración para este abonado, "
                                         "¿Desea sobreescribirla ?",
                                         "Configuración ya existente", MsgIcon::Exclamation, MsgButtons::OkCancel)});
  EXPECT_EQ(Saved(), first);

  platform_.boxes.Answer(MsgAnswer::Ok);
  screen->cSalvar->click();
  EXPECT_TRUE(Saved().contains("\r\nPremium\r\n"));
}

// As an installer types: the boxes entered by Tab, Shift+Tab or a click, never selected
// by hand. The first values were set by the program, so typing replaces them.
TEST_F(SubscriberScreensTest, TypingOverTheValuesTheProgramSetReplacesThemHoweverTheBoxIsEntered) {
  auto* screen = Open(2, false);  // NAPT: the modem quads start at 172.16.0.1 / 255.255.255.240
  ASSERT_NE(screen, nullptr);
  screen->oEstandar->setFocus();
  const QStringList typed = {"192", "0", "2", "13", "255", "255", "255", "248",
                             "10", "1", "1", "6", "255", "255", "255", "252"};
  for (const QString& text : typed) {
    Tab();
    TypeText(QApplication::focusWidget(), text);
  }
  EXPECT_EQ(TextsOf(screen->tuIP) + TextsOf(screen->tuMa) + TextsOf(screen->tmIP) + TextsOf(screen->tmMA), typed);

  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);  // "255" written back on leaving
  TypeText(screen->tmMA[2], "254");
  QTest::mouseClick(screen->tuIP[3], Qt::LeftButton);
  TypeText(screen->tuIP[3], "9");
  EXPECT_EQ(screen->tmMA[2]->text(), "254");
  EXPECT_EQ(screen->tuIP[3]->text(), "9");
  EXPECT_TRUE(Shown().isEmpty());
}

// Alt+S leaves the focus in the box: its exit rule runs first, as Tab would run it.
TEST_F(SubscriberScreensTest, SavingByAccessKeyWritesWhatLeavingTheBoxWouldWrite) {
  auto* screen = Open(2, true, true);
  ASSERT_NE(screen, nullptr);
  TypeInto(screen->tuIP[2], "000");
  QTest::keyClick(screen->tuIP[2], Qt::Key_S, Qt::AltModifier);
  (void)QTest::qWaitFor([&] { return !Shown().isEmpty(); }, 1000);  // the button animates its click
  EXPECT_TRUE(Saved().contains("IP del Usuario: 192.0.0.13\r\n"));
  EXPECT_EQ(screen->tuIP[2]->text(), "0");

  platform_.boxes.shown.clear();
  TypeInto(screen->tuIP[2], "999");
  screen->cSalvar->click();
  ASSERT_FALSE(Shown().isEmpty());
  EXPECT_EQ(Shown()[0].text, "Se debe introducir un número comprendido entre 0 y 255");
  EXPECT_EQ(QApplication::focusWidget(), screen->tuIP[2]);
  EXPECT_FALSE(Saved().contains("999"));
}

}  // namespace
