#include "platform/QtClock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include "platform/Platform.h"

namespace platform {
namespace {

// Longest idle wait of one yield: short enough that a wait loop notices the clock
// promptly, long enough that an idle loop does not spin.
constexpr int kYieldWaitMs = 10;

}  // namespace

QtClock::QtClock() { elapsed_.start(); }

double QtClock::Seconds() {
  // QElapsedTimer is monotonic; the origin is this object's creation.
  return static_cast<double>(elapsed_.nsecsElapsed()) / 1e9;
}

void QtClock::SleepMs(int milliseconds) {
  if (milliseconds > 0) QThread::msleep(static_cast<unsigned long>(milliseconds));
}

void QtClock::Yield() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  // The timer bounds the wait; any other event (bytes received, a repaint) ends it
  // sooner.
  QTimer wake;
  wake.setSingleShot(true);
  wake.setTimerType(Qt::PreciseTimer);
  wake.start(kYieldWaitMs);
  QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

Clock& CurrentClock() {
  if (Current().clock != nullptr) return *Current().clock;
  static QtClock fallback;
  return fallback;
}

}  // namespace platform
