#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "config/ConfigExamples.h"
#include "config/SaveConfiguration.h"
#include "core/Def_Globales.h"
#include "loader/LoaderTexts.h"
#include "loader/LoadingSession.h"
#include "screens/fConfigurar.h"
#include "screens/fMain.h"
#include "support/SimulatedPort.h"
#include "support/TestPlatform.h"

namespace {

void Settle() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

// The loading window opened from the menu, on a simulated Efficient modem and a
// virtual clock, while the installer tries to close it every second of a whole
// session, the window's close (as the window manager asks) and a close request sent
// to it, and answers "No" when asked whether to cancel the session.
class WindowCloseFaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetStartupValues();
    port_.PowerOnWhenAsked(platform_, [this] { TryToCloseEvery(1.0); });
    ASSERT_TRUE(EnsureConfigDirectory());
    ASSERT_TRUE(SaveConfiguration(config_examples::EfficientSubscriber(DataScreen::Dhcp), DataScreen::Dhcp,
                                  kEfficientSS5660, true, config_examples::EfficientSettings()));
    fMain::ShowMenu();
    menu_ = fMain::Instance();
    menu_->cCargar->click();
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
  }

  void TryToCloseEvery(double seconds) {
    port_.clock.After(seconds, [this, seconds] {
      if (screen_.isNull() || !screen_->Session().IsRunning()) return;
      platform_.boxes.Answer(platform::MsgAnswer::No);
      platform_.boxes.Answer(platform::MsgAnswer::No);
      screen_->close();
      QCloseEvent request;
      QApplication::sendEvent(screen_, &request);
      ++attempts_;
      if (!screen_.isNull() && screen_->isVisible()) ++refused_;
      TryToCloseEvery(seconds);
    });
  }

  testing_support::TestPlatform platform_;
  testing_support::SimulatedPort port_;
  QPointer<fMain> menu_;
  QPointer<fConfigurar> screen_;
  int attempts_ = 0;
  int refused_ = 0;
};

// The session owns the port and both files: the window stays until it has ended,
// and is then as usable as before. Every try asked first.
TEST_F(WindowCloseFaultTest, TheWindowStaysThroughTheSessionAndIsUsableAfterIt) {
  screen_->tTelf->setFocus();
  QTest::keyClicks(screen_->tTelf, QStringLiteral("900123456"));
  screen_->cInstalar->click();

  EXPECT_GE(attempts_, 8);
  EXPECT_EQ(refused_, attempts_);
  EXPECT_EQ(platform_.boxes.shown.count({QStringLiteral("¿Desea cancelar la carga en curso?"), QString(),
                                         platform::MsgIcon::Exclamation, platform::MsgButtons::YesNo}),
            2 * attempts_);
  ASSERT_FALSE(screen_.isNull());
  EXPECT_TRUE(screen_->isVisible());
  EXPECT_EQ(platform_.boxes.shown.last().text, loader_texts::kConfigured);
  EXPECT_FALSE(port_.link->IsOpen());

  // Another session runs from the same window, then Escape leaves it.
  platform_.boxes.shown.clear();
  screen_->cInstalar->click();
  EXPECT_EQ(platform_.boxes.shown.last().text, loader_texts::kConfigured);
  EXPECT_EQ(port_.link->Opens(), 2);
  QTest::keyClick(screen_, Qt::Key_Escape);
  Settle();
  EXPECT_TRUE(screen_.isNull());
  EXPECT_TRUE(menu_->isVisible());
}

}  // namespace
