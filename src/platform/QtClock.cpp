#include "platform/QtClock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include "platform/Platform.h"
#include "platform/QtSerialLink.h"

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
  // Bytes that the last turn took from the port wait for the caller to read them;
  // the callers yield again before reading, and sleeping then would keep the modem
  // waiting until the next event or the timer. Once per arrival, so no spinning.
  const std::uint64_t arrivals = SerialArrivals();
  if (arrivals != arrivalsSeen_) {
    arrivalsSeen_ = arrivals;
    QCoreApplication::processEvents();
    return;
  }
  // One turn of the event loop: it serves what is pending and returns at once, or,
  // when nothing is, sleeps until the first event (bytes received, a repaint) and
  // serves it; the timer bounds the sleep. Serving first and then waiting for more
  // would leave bytes that came during the caller's work unread until the next event
  // or the timer.
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
