#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

#include "core/Def_Globales.h"
#include "screens/FieldRules.h"
#include "screens/SubscriberDataScreen.h"
#include "screens/dModem.h"
#include "WindowDriving.h"

using namespace window_driving;
using Quad = SubscriberDataScreen::Quad;

namespace {

// The subscriber's files, their bytes and the save's refusals are proved by the
// configuration's tests and by the keyboard suite on the real program.
class SubscriberScreensTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    menu_->cIntroDatos->click();
    dialog_ = qobject_cast<dModem*>(OnlyVisibleWindow());
    ASSERT_NE(dialog_, nullptr);
  }

  // Chooses a model and mode and presses Aceptar; returns the data screen shown.
  SubscriberDataScreen* Open(int model, bool dhcp) {
    dialog_->Combo1->setCurrentIndex(model);
    (dhcp ? dialog_->oDhcp : dialog_->oNAT)->setChecked(true);
    dialog_->OKButton->click();
    auto* screen = qobject_cast<SubscriberDataScreen*>(OnlyVisibleWindow());
    return screen && ShowActive(screen) ? screen : nullptr;
  }

  QPointer<dModem> dialog_;
};

// Each choice opens its own screen at its first values; Volver
// comes back to the same choice without judging the boxes, and closing the dialog to
// the menu.
TEST_F(SubscriberScreensTest, TheDialogOpensTheChosenScreenAndVolverComesBackToTheChoice) {
  EXPECT_EQ(dialog_->windowTitle(), QString::fromUtf8("Selección de Modem ADSL"));
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
    QStringList texts;
    for (const Quad& quad : {screen->tuIP, screen->tuMa, screen->tmIP, screen->tmMA}) {
      for (const QLineEdit* box : quad) texts << box->text();
    }
    EXPECT_EQ(texts.join('.'), "0.0.0.0.0.0.0.0." + QString::fromLatin1(c.modemSide));
    TypeInto(screen->tTelf, "911");  // unsaved, and too short
    screen->cVolver->click();
    Settle();
    EXPECT_EQ(OnlyVisibleWindow(), dialog_.data());
    EXPECT_EQ(dialog_->Combo1->currentIndex(), c.model);
    EXPECT_EQ(dialog_->oDhcp->isChecked(), c.dhcp);
  }
  EXPECT_TRUE(Shown().isEmpty());
  dialog_->close();
  Settle();
  EXPECT_EQ(OnlyVisibleWindow(), menu_.data());
  EXPECT_TRUE(SelectionDialog.isNull());
}

// A value the program set, entered by a click at its start, is replaced by typing:
// the click does not put the caret down and drop the selection.
TEST_F(SubscriberScreensTest, TypingAfterAClickReplacesTheValueTheProgramSet) {
  auto* screen = Open(2, false);
  ASSERT_NE(screen, nullptr);
  QTest::mouseClick(screen->tmIP[0], Qt::LeftButton, {}, QPoint(2, 5));
  TypeText(screen->tmIP[0], "9");
  EXPECT_EQ(screen->tmIP[0]->text(), "9");
}

// Salvar pressed without leaving the box (its access key) judges that box before the
// save, which would refuse the empty phone.
TEST_F(SubscriberScreensTest, SalvarRefusesTheBoxInUseAndWritesNothing) {
  auto* screen = Open(2, true);
  ASSERT_NE(screen, nullptr);
  TypeInto(screen->tuIP[2], "999");
  screen->cSalvar->click();
  EXPECT_EQ(Shown(), QList<testing_support::ShownBox>{
                         Box(kOctetRangeText, kOctetRangeTitle, platform::MsgIcon::Critical)});
  EXPECT_EQ(QApplication::focusWidget(), screen->tuIP[2]);
}

}  // namespace
