#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

#include "config/ConfigExamples.h"
#include "core/Def_Globales.h"
#include "screens/SubscriberDataScreen.h"
#include "screens/dModem.h"
#include "WindowDriving.h"

using namespace window_driving;
using platform::MsgIcon;
using Boxes = QList<testing_support::ShownBox>;
using Quad = SubscriberDataScreen::Quad;

namespace {

const QString kFile = QStringLiteral("Configuraciones/900123456.cfg");

QStringList TextsOf(std::initializer_list<Quad> quads) {
  QStringList texts;
  for (const Quad& quad : quads) {
    for (const QLineEdit* box : quad) texts << box->text();
  }
  return texts;
}

void TypeQuad(const Quad& quad, const QString& dotted) {
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
  const Boxes& Salvar(SubscriberDataScreen* screen) {
    platform_.boxes.shown.clear();
    screen->cSalvar->click();
    return Shown();
  }

  QPointer<dModem> dialog_;
};

// Each choice opens its own screen at its first values, a new one each time; Volver
// comes back to the same choice without judging the boxes, and closing the dialog to
// the menu.
TEST_F(SubscriberScreensTest, TheDialogOpensTheChosenScreenAndVolverComesBackToTheChoice) {
  EXPECT_EQ(dialog_->windowTitle(), QString::fromUtf8("Selección de Modem ADSL"));
  EXPECT_FALSE(dialog_->Combo1->isEditable());
  const struct {
    int model;
    bool dhcp;
    const char* title;
    const char* modemSide;
  } cases[] = {
      {0, true, "Configuración DHCP para Alcatel Speed Touch Office", "0.0.0.0.0.0.0.0"},
      {2, false, "Configuración NAPT para Efficient SS5660", "172.16.0.1.255.255.255.240"},
      {1, true, "Configuración DHCP para Alcatel Speed Touch Pro", "0.0.0.0.0.0.0.0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    auto* screen = Open(c.model, c.dhcp);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->windowTitle(), QString::fromUtf8(c.title));
    EXPECT_EQ(TextsOf({screen->tmIP, screen->tmMA}).join('.'), c.modemSide);
    EXPECT_EQ(TextsOf({screen->tuIP, screen->tuMa}).join('.'), "0.0.0.0.0.0.0.0");
    EXPECT_EQ(screen->tTelf->maxLength(), 9);  // from the file-less settings
    TypeInto(screen->tTelf, "911");            // unsaved, and too short
    screen->cVolver->click();
    Settle();
    EXPECT_EQ(OnlyVisibleWindow(), dialog_.data());
    EXPECT_EQ(dialog_->Combo1->currentIndex(), c.model);
    EXPECT_EQ(dialog_->oDhcp->isChecked(), c.dhcp);

    dialog_->OKButton->click();
    auto* again = qobject_cast<SubscriberDataScreen*>(OnlyVisibleWindow());
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->tTelf->text().isEmpty());
    again->close();
    Settle();
  }
  EXPECT_TRUE(Shown().isEmpty());
  dialog_->close();
  Settle();
  EXPECT_EQ(OnlyVisibleWindow(), menu_.data());
  EXPECT_TRUE(SelectionDialog.isNull());
}

// The boxes become the file: the Efficient example, under its service settings, saves
// its reference bytes, and the modality buttons choose the word. A refusal of the save
// is shown and nothing is made.
TEST_F(SubscriberScreensTest, SalvarWritesWhatTheBoxesHoldOrShowsTheRefusal) {
  platform_.Write("conf_gen.dat", " 1 \r\n198\r\n51\r\n100\r\n0\r\n255\r\n255\r\n255\r\n240\r\n"
                                  "192\r\n0\r\n2\r\n53\r\n8\r\n32\r\n9\r\n9\r\n");
  auto* screen = Open(2, true, true);
  ASSERT_NE(screen, nullptr);
  screen->tTelf->setText("");
  EXPECT_EQ(Salvar(screen), Boxes{Box("El número de teléfono del abonado no es valido o no ha sido rellenado",
                                      "Error", MsgIcon::Critical)});
  EXPECT_FALSE(QFile::exists(platform_.PathOf("Configuraciones")));

  TypeInto(screen->tTelf, "900123456");
  EXPECT_EQ(Salvar(screen), Boxes{config_examples::kSaved});
  const QByteArray estandar = config_examples::Golden("efficient-dhcp.ref");
  ASSERT_FALSE(estandar.isEmpty());
  EXPECT_EQ(Saved(), estandar);
  screen->oPremium->setChecked(true);
  EXPECT_EQ(Salvar(screen).size(), 2);  // replacing was asked first
  EXPECT_EQ(Saved(), QByteArray(estandar).replace("\r\nEstandar\r\n", "\r\nPremium\r\n"));
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
  EXPECT_EQ(TextsOf({screen->tuIP, screen->tuMa, screen->tmIP, screen->tmMA}), typed);

  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);  // "255" written back on leaving
  TypeText(screen->tmMA[2], "254");
  QTest::mouseClick(screen->tuIP[3], Qt::LeftButton, {}, QPoint(2, 5));  // at the text's start
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

  TypeInto(screen->tuIP[2], "999");
  ASSERT_FALSE(Salvar(screen).isEmpty());
  EXPECT_EQ(Shown()[0].text, "Se debe introducir un número comprendido entre 0 y 255");
  EXPECT_EQ(QApplication::focusWidget(), screen->tuIP[2]);
  EXPECT_FALSE(Saved().contains("999"));
}

}  // namespace
