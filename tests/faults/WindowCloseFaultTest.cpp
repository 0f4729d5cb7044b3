#include <gtest/gtest.h>

#include <QPushButton>

#include "config/ConfigExamples.h"
#include "config/SaveConfiguration.h"
#include "core/Def_Globales.h"
#include "loader/LoaderTexts.h"
#include "loader/LoadingSession.h"
#include "screens/WindowDriving.h"
#include "screens/fConfigurar.h"
#include "support/SimulatedPort.h"

using namespace window_driving;

namespace {

// The installer tries to close the loading window every second of a whole session and
// answers "No" when asked whether to cancel it: the session owns the port and both
// files, so the window stays until it has ended.
class WindowCloseFaultTest : public ScreenTest {
 protected:
  void TryToCloseEverySecond() {
    port_.clock.After(1.0, [this] {
      if (screen_.isNull() || !screen_->Session().IsRunning()) return;
      platform_.boxes.Answer(platform::MsgAnswer::No);
      screen_->close();
      ++attempts_;
      TryToCloseEverySecond();
    });
  }

  testing_support::SimulatedPort port_;
  QPointer<fConfigurar> screen_;
  int attempts_ = 0;
};

TEST_F(WindowCloseFaultTest, TheWindowStaysThroughTheSession) {
  SetStartupValues();
  port_.PowerOnWhenAsked(platform_, [this] { TryToCloseEverySecond(); });
  ASSERT_TRUE(EnsureConfigDirectory());
  ASSERT_TRUE(SaveConfiguration(config_examples::EfficientSubscriber(DataScreen::Dhcp), DataScreen::Dhcp,
                                kEfficientSS5660, true, config_examples::EfficientSettings()));
  menu_->cCargar->click();
  screen_ = qobject_cast<fConfigurar*>(OnlyVisibleWindow());
  ASSERT_TRUE(screen_ && ShowActive(screen_));
  TypeInto(screen_->tTelf, QStringLiteral("900123456"));
  screen_->cInstalar->click();

  EXPECT_GE(attempts_, 8);
  EXPECT_EQ(Shown().count({QStringLiteral("¿Desea cancelar la carga en curso?"), QString(),
                           platform::MsgIcon::Exclamation, platform::MsgButtons::YesNo}),
            attempts_);
  ASSERT_FALSE(screen_.isNull());
  EXPECT_TRUE(screen_->isVisible());
  EXPECT_EQ(Shown().last().text, loader_texts::kConfigured);
}

}  // namespace
