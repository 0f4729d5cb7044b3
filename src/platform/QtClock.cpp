#include "platform/QtClock.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>

#include <QAbstractEventDispatcher>
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
// Longest sleep of a yield with a known next change; a cancel wakes it earlier.
constexpr int kLongestWaitMs = 1000;

}  // namespace

QtClock::QtClock() : owner_(QThread::currentThread()), interruptFd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
  elapsed_.start();
}

QtClock::~QtClock() {
  if (interruptFd_ >= 0) ::close(interruptFd_);
}

double QtClock::Seconds() {
  // QElapsedTimer is monotonic; the origin is this object's creation.
  return static_cast<double>(elapsed_.nsecsElapsed()) / 1e9;
}

void QtClock::SleepMs(int milliseconds) {
  if (milliseconds > 0) QThread::msleep(static_cast<unsigned long>(milliseconds));
}

bool QtClock::SleepWatching(int milliseconds, int fd) {
  if (interruptFd_ < 0) {
    SleepMs(milliseconds);
    return false;
  }
  // No events asked of the device: only a hang-up or an error (always reported) ends
  // the sleep early, not the bytes it receives meanwhile.
  pollfd watched[2] = {{interruptFd_, POLLIN, 0}, {fd, 0, 0}};
  const double end = Seconds() + milliseconds / 1000.0;
  for (;;) {
    const double left = std::ceil((end - Seconds()) * 1000.0);
    if (left <= 0) return true;
    const int ready = ::poll(watched, 2, static_cast<int>(left));
    if (ready > 0) return false;
    if (ready == 0) continue;  // the timeout; the next pass ends it
    if (errno != EINTR) {
      SleepMs(static_cast<int>(left));
      return false;
    }
  }
}

void QtClock::Interrupt() {
  if (interruptFd_ >= 0) (void)::eventfd_write(interruptFd_, 1);
  if (QAbstractEventDispatcher* events = QAbstractEventDispatcher::instance(owner_)) events->wakeUp();
}

void QtClock::Yield() { Turn(kYieldWaitMs); }

void QtClock::YieldUntil(double untilSeconds) {
  const double left = std::ceil((untilSeconds - Seconds()) * 1000.0);
  Turn(static_cast<int>(std::clamp(left, 0.0, static_cast<double>(kLongestWaitMs))));
}

void QtClock::Turn(int maxWaitMs) {
  // Bytes that the last turn took from the port wait for the caller to read them;
  // the callers yield again before reading, and sleeping then would keep the modem
  // waiting until the next event or the timer. Once per arrival, so no spinning.
  const std::uint64_t arrivals = SerialArrivals();
  if (arrivals != arrivalsSeen_) {
    arrivalsSeen_ = arrivals;
    QCoreApplication::processEvents();
    return;
  }
  if (maxWaitMs <= 0) {
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
  wake.start(maxWaitMs);
  QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

Clock& CurrentClock() {
  if (Current().clock != nullptr) return *Current().clock;
  static QtClock fallback;
  return fallback;
}

}  // namespace platform
