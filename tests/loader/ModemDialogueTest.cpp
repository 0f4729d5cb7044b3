#include <gtest/gtest.h>

#include <cmath>

#include "core/Def_Globales.h"
#include "loader/Deadline.h"
#include "loader/DialogueBox.h"
#include "loader/LoaderTestSupport.h"
#include "loader/LoaderTexts.h"
#include "loader/ModemDialogue.h"
#include "modemsim/SimulatedLink.h"
#include "platform/VirtualClock.h"
#include "support/TestPlatform.h"

using loader_testing::RecordingView;
using platform::MsgIcon;

namespace {

const platform::LineSettings kEfficientLine{38400, 'N', 8, 1};

class ModemDialogueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetStartupValues();
    SelectedModel = kEfficientSS5660;
    box_.AttachView(&view_);
  }

  testing_support::TestPlatform platform_;
  platform::VirtualClock clock_;
  modemsim::SimulatedLink link_{clock_};
  DialogueBox box_;
  RecordingView view_;
  ModemDialogue modem_{link_, clock_, box_};
};

// Nothing within five seconds gives nothing and leaves the box alone; otherwise what
// had arrived at the first read, shown as it comes. (A Pro's answers are left to its
// sequence to show: the Pro's session tests.)
TEST_F(ModemDialogueTest, ReadResponseWaitsFiveSecondsAndReturnsWhatHadArrivedAtTheFirstRead) {
  QString error;
  ASSERT_TRUE(link_.SetPortNumber(1, &error) && link_.SetLineSettings(kEfficientLine, &error) && link_.Open(&error));
  box_.Replace("antes");
  const double start = clock_.Seconds();
  EXPECT_EQ(modem_.ReadResponse(0), QByteArray());
  EXPECT_GE(clock_.Seconds() - start, 4.5);
  EXPECT_LE(clock_.Seconds() - start, 5.6);
  link_.ArriveAfter(1.0, "Comm");
  link_.ArriveAfter(1.1, "and-> ");
  EXPECT_EQ(modem_.ReadResponse(0), "Comm");
  EXPECT_EQ(modem_.ReadResponse(0), "and-> ");
  EXPECT_EQ(view_.dialogue, QStringLiteral("antesCommand-> "));
}

// (Its end, rounded to the second: the countdown tests.)
TEST(DeadlineTest, ReachingTheEndIsNotPassingIt) {
  platform::VirtualClock clock(1000.4);
  const Deadline wait(clock, 50);
  clock.AdvanceTo(1050.0);
  EXPECT_FALSE(wait.Passed());
  clock.AdvanceTo(1050.001);
  EXPECT_TRUE(wait.Passed());
}

// A prompt counts only if it came in a pass that started before the limit.
TEST_F(ModemDialogueTest, PromptInTheLastPassIsInTimeOnlyBeforeTheLimit) {
  for (const double offset : {0.0005, -0.6}) {
    SCOPED_TRACE(offset);
    const bool inTime = offset < 0;
    // The wait's limit: 50 s from the power-on answer, rounded to the second.
    double limit = 0;
    platform_.boxes.onShow = [&](const testing_support::ShownBox&) {
      limit = std::round(clock_.Seconds() + 50);
      clock_.At(limit + offset, [this] { link_.Transmit("Password: "); });
    };
    EXPECT_EQ(modem_.OpenModemLink(kEfficientSS5660, 1, kEfficientLine), inTime);
    EXPECT_EQ(link_.IsOpen(), inTime);
    if (inTime) {
      EXPECT_LE(clock_.Seconds(), limit);
    }
    EXPECT_EQ(platform_.boxes.shown.last().text == loader_texts::kCannotConnect, !inTime);
    EXPECT_TRUE(box_.Content().contains("Password"));
  }
}

TEST_F(ModemDialogueTest, PortFailuresAreShownWithTheApplicationTitle) {
  EXPECT_FALSE(modem_.OpenModemLink(kEfficientSS5660, 0, kEfficientLine));
  EXPECT_FALSE(modem_.OpenModemLink(kEfficientSS5660, 1, {0, 'N', 8, 1}));
  ASSERT_EQ(platform_.boxes.shown.size(), 2);
  EXPECT_EQ(platform_.boxes.shown[0].icon, MsgIcon::Exclamation);
  EXPECT_EQ(platform_.boxes.shown[0].title, QString());
  EXPECT_EQ(platform_.boxes.shown[1].icon, MsgIcon::Critical);
  EXPECT_FALSE(link_.IsOpen());
}

}  // namespace
