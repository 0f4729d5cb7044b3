#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include "config/ConfigExamples.h"
#include "config/SaveConfiguration.h"
#include "core/Def_Globales.h"
#include "loader/LoaderTexts.h"
#include "screens/fConfigurar.h"
#include "support/SimulatedPort.h"
#include "WindowDriving.h"

using namespace window_driving;
using platform::MsgAnswer;
using testing_support::ShownBox;

namespace {

const QString kPhone = QStringLiteral("900123456");

// The loading screen opened from the menu, its serial port wired to a simulated
// Efficient modem on a virtual clock. The modem is switched on when the user is
// asked to power it.
class fConfigurarTest : public ScreenTest {
 protected:
  void SetUp() override {
    SetStartupValues();
    port_.PowerOnWhenAsked(platform_, [this] {
      if (duringSession) duringSession();
    });
    ScreenTest::SetUp();
    menu_->cCargar->click();
    screen_ = qobject_cast<fConfigurar*>(OnlyVisibleWindow());
    ASSERT_NE(screen_, nullptr);
    ASSERT_TRUE(ShowActive(screen_));
  }
  void SaveEfficientFile() {
    using namespace config_examples;
    ASSERT_TRUE(EnsureConfigDirectory());
    ASSERT_TRUE(SaveConfiguration(EfficientSubscriber(DataScreen::Dhcp), DataScreen::Dhcp, kEfficientSS5660,
                                  true, EfficientSettings()));
  }
  void TypePhone() {
    screen_->tTelf->setFocus();
    QTest::keyClicks(screen_->tTelf, kPhone);
  }

  testing_support::SimulatedPort port_;
  std::function<void()> duringSession;
  QPointer<fConfigurar> screen_;
};

TEST_F(fConfigurarTest, OpensIdleWithTheStoredPasswordInForce) {
  EXPECT_EQ(screen_->windowTitle(), QString::fromUtf8("Configuración del Módem ADSL"));
  EXPECT_FALSE(screen_->cInstalar->isEnabled());
  EXPECT_EQ(screen_->tTelf->maxLength(), 9);

  platform_.Write("claves.dat", "Guardada\r\n");
  screen_->close();
  Settle();
  menu_->cCargar->click();
  EXPECT_EQ(ServiceSettings.AccessPassword, "Guardada");
}

// The button's rule is the phone box's own (see the field rules' tests); typing the
// number below is what enables it here.
TEST_F(fConfigurarTest, AWholeSessionRunsThroughTheWindowWhichStaysUnlessTheUserCancels) {
  SaveEfficientFile();
  TypePhone();
  bool checked = false;
  duringSession = [&] {
    checked = true;
    EXPECT_FALSE(screen_->cInstalar->isEnabled());
    EXPECT_FALSE(screen_->cExit->isEnabled());
    EXPECT_TRUE(screen_->cCancelar->isEnabled());
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(screen_->lEstado->text(), QString::fromUtf8("Esperando a que se encienda el módem"));
    // The number names the files in use: it cannot be edited meanwhile.
    QTest::keyClick(screen_->tTelf, Qt::Key_Backspace);
    EXPECT_EQ(screen_->tTelf->text(), kPhone);
    platform_.boxes.Answer(MsgAnswer::No);  // "¿Desea cancelar la carga en curso?"
    screen_->close();
    EXPECT_TRUE(screen_->isVisible());
  };
  QTest::keyClick(screen_->tTelf, Qt::Key_Return);  // the default button
  EXPECT_TRUE(checked);
  ASSERT_FALSE(platform_.boxes.shown.isEmpty());
  EXPECT_EQ(platform_.boxes.shown.last().title, loader_texts::kConfiguredTitle);
  EXPECT_TRUE(screen_->Text1->toPlainText().contains("Command->"));
  EXPECT_FALSE(screen_->Text1->toPlainText().contains('\r'));
  EXPECT_EQ(screen_->windowTitle(), QString::fromUtf8("Configuración del Módem ADSL"));
  EXPECT_TRUE(screen_->cInstalar->isEnabled());
  EXPECT_TRUE(screen_->cExit->isEnabled());
  EXPECT_FALSE(screen_->cCancelar->isEnabled());
  EXPECT_FALSE(screen_->tTelf->isReadOnly());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_FALSE(port_.link->IsOpen());
  EXPECT_EQ(screen_->pbLineas->value(), 14);  // every command line of the file went
  EXPECT_EQ(screen_->pbLineas->maximum(), 14);
  EXPECT_TRUE(screen_->lEstado->text().isEmpty());

  screen_->cExit->click();
  Settle();
  EXPECT_TRUE(screen_.isNull());
  EXPECT_TRUE(menu_->isVisible());
}

TEST_F(fConfigurarTest, CancellingThePowerOnQuestionLeavesTheScreenReadyForAnotherTry) {
  SaveEfficientFile();
  TypePhone();
  platform_.boxes.Answer(MsgAnswer::Cancel);
  screen_->cInstalar->click();
  EXPECT_FALSE(port_.link->IsOpen());
  EXPECT_EQ(port_.link->ClosedPortUses(), 0);
  EXPECT_TRUE(screen_->cInstalar->isEnabled());
  EXPECT_EQ(screen_->lEstado->text(), QString::fromUtf8("Error en: Esperando a que se encienda el módem"));

  screen_->cInstalar->click();  // the port opens again
  EXPECT_EQ(port_.link->Opens(), 2);
  EXPECT_EQ(platform_.boxes.shown.last().title, loader_texts::kConfiguredTitle);
}

// Escape is Cancelar during a session; closing the window asks, and on "Sí" cancels
// the session and closes once it has ended.
TEST_F(fConfigurarTest, EscapeOrClosingTheWindowCancelsTheSession) {
  SaveEfficientFile();
  TypePhone();
  const ShownBox cancelled{QStringLiteral("Carga cancelada por el usuario"), QStringLiteral("Carga cancelada"),
                           platform::MsgIcon::Information, platform::MsgButtons::Ok};
  duringSession = [&] { QTest::keyClick(screen_, Qt::Key_Escape); };
  screen_->cInstalar->click();
  EXPECT_EQ(platform_.boxes.shown.last(), cancelled);
  EXPECT_TRUE(screen_->isVisible());
  EXPECT_TRUE(screen_->cInstalar->isEnabled());
  EXPECT_FALSE(screen_->cCancelar->isEnabled());
  EXPECT_FALSE(port_.link->IsOpen());

  duringSession = [&] { screen_->close(); };  // answered "Sí"
  screen_->cInstalar->click();
  const auto& shown = platform_.boxes.shown;
  ASSERT_GE(shown.size(), 2);
  EXPECT_EQ(shown[shown.size() - 2].text, QStringLiteral("¿Desea cancelar la carga en curso?"));
  EXPECT_EQ(shown.last(), cancelled);
  Settle();
  EXPECT_TRUE(screen_.isNull());
  EXPECT_TRUE(menu_->isVisible());
}

}  // namespace
