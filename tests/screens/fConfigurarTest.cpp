#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "config/Generators.h"
#include "config/SaveConfiguration.h"
#include "config/SubscriberData.h"
#include "core/Def_Globales.h"
#include "loader/LoaderTexts.h"
#include "loader/LoadingSession.h"
#include "modemsim/Consoles.h"
#include "modemsim/ModemConsole.h"
#include "modemsim/SimulatedLink.h"
#include "platform/VirtualClock.h"
#include "screens/fConfigurar.h"
#include "screens/fMain.h"
#include "support/TestPlatform.h"

using platform::MsgAnswer;

namespace {

const QString kPhone = QStringLiteral("900123456");

void Settle() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

// The loading screen opened from the menu, its serial port wired to a simulated
// Efficient modem on a virtual clock. The modem is switched on when the user is
// asked to power it.
class fConfigurarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetStartupValues();
    platform::Current().clock = &clock_;
    platform::Current().makeSerialLink = [this] {
      auto link = std::make_unique<modemsim::SimulatedLink>(clock_);
      link_ = link.get();
      console_ = modemsim::MakeConsole(QStringLiteral("efficient"), *link, {});
      link->Attach(console_.get());
      return std::unique_ptr<platform::SerialLink>(std::move(link));
    };
    platform_.boxes.onShow = [this](const testing_support::ShownBox& box) {
      if (box.title == loader_texts::kPowerOnTitle) {
        console_->PowerOn();
        if (duringSession) duringSession();
      }
    };
    fMain::ShowMenu();
    menu_ = fMain::Instance();
    menu_->cCargar->click();
    screen_ = qobject_cast<fConfigurar*>(QApplication::activeWindow() ? QApplication::activeWindow() : nullptr);
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* s = qobject_cast<fConfigurar*>(w); s && s->isVisible()) screen_ = s;
    }
    ASSERT_NE(screen_, nullptr);
    screen_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen_));
  }

  void TearDown() override {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w != menu_) delete w;
    }
    delete menu_.data();
    Settle();
    console_.reset();
  }

  void SaveEfficientFile() {
    SubscriberData data = InitialSubscriberData(DataScreen::Dhcp, kEfficientSS5660);
    data.Phone = kPhone;
    data.UserIp = {"192", "0", "2", "13"};
    data.UserMask = {"255", "255", "255", "248"};
    data.ModemIp = {"10", "1", "1", "6"};
    data.ModemMask = {"255", "255", "255", "252"};
    ASSERT_TRUE(EnsureConfigDirectory());
    ASSERT_TRUE(SaveConfiguration(data, DataScreen::Dhcp, kEfficientSS5660, true));
  }

  testing_support::TestPlatform platform_;
  platform::VirtualClock clock_;
  modemsim::SimulatedLink* link_ = nullptr;
  std::unique_ptr<modemsim::ModemConsole> console_;
  std::function<void()> duringSession;
  QPointer<fMain> menu_;
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

TEST_F(fConfigurarTest, TheButtonFollowsTheLengthOfTheNumber) {
  screen_->tTelf->setFocus();
  QTest::keyClicks(screen_->tTelf, "90012345");
  EXPECT_FALSE(screen_->cInstalar->isEnabled());
  QTest::keyClicks(screen_->tTelf, "6");
  EXPECT_TRUE(screen_->cInstalar->isEnabled());
  QTest::keyClick(screen_->tTelf, Qt::Key_Backspace);
  EXPECT_FALSE(screen_->cInstalar->isEnabled());
}

TEST_F(fConfigurarTest, AWholeSessionRunsThroughTheWindowWhichCannotBeLeftMeanwhile) {
  SaveEfficientFile();
  screen_->tTelf->setFocus();
  QTest::keyClicks(screen_->tTelf, kPhone);
  bool checked = false;
  duringSession = [&] {
    checked = true;
    EXPECT_FALSE(screen_->cInstalar->isEnabled());
    EXPECT_FALSE(screen_->cExit->isEnabled());
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(screen_->lEstado->text(), QString::fromUtf8("Esperando a que se encienda el módem"));
    screen_->close();  // refused while the session runs
    QTest::keyClick(screen_, Qt::Key_Escape);
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
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_FALSE(link_->IsOpen());
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
  screen_->tTelf->setFocus();
  QTest::keyClicks(screen_->tTelf, kPhone);
  platform_.boxes.Answer(MsgAnswer::Cancel);
  screen_->cInstalar->click();
  EXPECT_FALSE(link_->IsOpen());
  EXPECT_EQ(link_->ClosedPortUses(), 0);
  EXPECT_TRUE(screen_->cInstalar->isEnabled());

  screen_->cInstalar->click();  // the port opens again
  EXPECT_EQ(link_->Opens(), 2);
  EXPECT_EQ(platform_.boxes.shown.last().title, loader_texts::kConfiguredTitle);
}

}  // namespace
