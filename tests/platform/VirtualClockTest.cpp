#include <gtest/gtest.h>

#include <QStringList>

#include "platform/VirtualClock.h"

namespace {

// Simulated devices rely on this: actions run at their moment and in the order they
// were scheduled, during sleeps as well as yields, and an idle yield takes a short step.
TEST(VirtualClock, RunsActionsInTimeOrderDuringSleepsAndYields) {
  platform::VirtualClock clock(10.0);
  QStringList ran;
  clock.At(10.5, [&] { ran << QStringLiteral("b@%1").arg(clock.Seconds()); });
  clock.At(10.2, [&] {
    ran << QStringLiteral("a@%1").arg(clock.Seconds());
    clock.After(0, [&] { ran << QStringLiteral("a2@%1").arg(clock.Seconds()); });
  });
  clock.At(10.5, [&] { ran << QStringLiteral("c@%1").arg(clock.Seconds()); });
  clock.SleepMs(300);
  EXPECT_EQ(ran, (QStringList{QStringLiteral("a@10.2"), QStringLiteral("a2@10.2")}));
  EXPECT_DOUBLE_EQ(clock.Seconds(), 10.3);
  clock.Yield();
  EXPECT_DOUBLE_EQ(clock.Seconds(), 10.31);
  clock.AdvanceTo(10.495);
  clock.Yield();  // the next action is nearer than a step
  EXPECT_DOUBLE_EQ(clock.Seconds(), 10.5);
  EXPECT_EQ(ran.mid(2), (QStringList{QStringLiteral("b@10.5"), QStringLiteral("c@10.5")}));
}

}  // namespace
