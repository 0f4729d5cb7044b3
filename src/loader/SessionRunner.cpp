#include "loader/SessionRunner.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>

#include <chrono>
#include <condition_variable>

#include "loader/LoadingSession.h"
#include "platform/Platform.h"
#include "platform/QtClock.h"
#include "platform/SerialLink.h"

// The observer as the session's thread sees it: every call is queued for the
// observer's thread. The caption is the one taken when the session started.
class SessionRunner::RelayedView final : public LoadingView {
 public:
  explicit RelayedView(SessionRunner& runner) : runner_(runner) {}

  void SetDialogueText(const QString& text) override {
    Relay([text](LoadingView& v) { v.SetDialogueText(text); });
  }
  void AppendDialogueText(const QString& text) override {
    Relay([text](LoadingView& v) { v.AppendDialogueText(text); });
  }
  void MoveCaretToEnd() override { Relay([](LoadingView& v) { v.MoveCaretToEnd(); }); }
  [[nodiscard]] QString Caption() const override { return runner_.caption_; }
  void SetCaption(const QString& caption) override {
    Relay([caption](LoadingView& v) { v.SetCaption(caption); });
  }
  void SetBusyPointer(bool busy) override { Relay([busy](LoadingView& v) { v.SetBusyPointer(busy); }); }
  void SetButtonsEnabled(bool enabled) override {
    Relay([enabled](LoadingView& v) { v.SetButtonsEnabled(enabled); });
  }
  void ShowStatus(const QString& text) override { Relay([text](LoadingView& v) { v.ShowStatus(text); }); }
  void ShowProgress(int sent, int total) override {
    Relay([sent, total](LoadingView& v) { v.ShowProgress(sent, total); });
  }

 private:
  template <class Call>
  void Relay(Call call) {
    SessionRunner& runner = runner_;
    runner.Post([&runner, call] {
      if (!runner.dying_) call(runner.observer_);
    });
  }

  SessionRunner& runner_;
};

// A box asked of the observer's thread; the session's thread waits for the answer.
class SessionRunner::RelayedBoxes final : public platform::MessageBoxes {
 public:
  explicit RelayedBoxes(SessionRunner& runner) : runner_(runner) {}

  platform::MsgAnswer Show(const QString& text, const QString& title, platform::MsgIcon icon,
                           platform::MsgButtons buttons) override {
    using platform::MsgAnswer;
    using platform::MsgButtons;
    // What a runner that is going away answers: the cancelling button.
    const MsgAnswer cancelling = buttons == MsgButtons::Ok         ? MsgAnswer::Ok
                                 : buttons == MsgButtons::OkCancel ? MsgAnswer::Cancel
                                                                   : MsgAnswer::No;
    // Shared, not on this thread's stack: the observer's thread may still be leaving
    // the call when this thread has its answer and goes on.
    struct Answer {
      std::mutex mutex;
      std::condition_variable given;
      bool done = false;
      MsgAnswer value = MsgAnswer::Ok;
    };
    const auto shared = std::make_shared<Answer>();
    SessionRunner& runner = runner_;
    runner.Post([&runner, shared, cancelling, text, title, icon, buttons] {
      const MsgAnswer value = runner.dying_ ? cancelling : runner.observer_.Show(text, title, icon, buttons);
      const std::lock_guard lock(shared->mutex);
      shared->value = value;
      shared->done = true;
      shared->given.notify_one();
    });
    std::unique_lock lock(shared->mutex);
    shared->given.wait(lock, [&] { return shared->done; });
    return shared->value;
  }

 private:
  SessionRunner& runner_;
};

SessionRunner::Threading SessionRunner::ForInstalledClock() {
  return platform::Current().clock != nullptr ? Threading::CallerThread : Threading::OwnThread;
}

SessionRunner::SessionRunner(SessionObserver& observer, Threading threading)
    : observer_(observer), threading_(threading) {
  if (threading_ == Threading::CallerThread) {
    session_ = std::make_unique<LoadingSession>(&observer_, platform::NewSerialLink(),
                                                platform::CurrentClock());
    session_->SetCancelFlag(&cancel_);
    return;
  }
  wakeFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  wake_ = std::make_unique<QSocketNotifier>(wakeFd_, QSocketNotifier::Read);
  QObject::connect(wake_.get(), &QSocketNotifier::activated, wake_.get(), [this] {
    eventfd_t count = 0;
    (void)::eventfd_read(wakeFd_, &count);
    Drain();
  });
}

SessionRunner::~SessionRunner() {
  dying_ = true;
  Cancel();
  if (thread_.joinable()) {
    // The session may be waiting for a box: draining answers it unseen.
    while (!threadDone_.load(std::memory_order_acquire)) {
      Drain();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    thread_.join();
  }
  wake_.reset();
  if (wakeFd_ >= 0) ::close(wakeFd_);
}

bool SessionRunner::Start(const QString& phone, int port) {
  if (running_) return false;
  running_ = true;
  cancel_.store(false, std::memory_order_relaxed);
  if (threading_ == Threading::CallerThread) {
    const platform::ThreadMessageBoxes boxes(&observer_);
    session_->SetPort(port);
    const SessionResult result = session_->cInstalar_Click(phone);
    running_ = false;
    observer_.SessionEnded(result);
    return true;
  }
  if (thread_.joinable()) thread_.join();
  caption_ = observer_.Caption();
  threadDone_.store(false, std::memory_order_relaxed);
  thread_ = std::thread([this, phone, port] { RunOnThread(phone, port); });
  return true;
}

void SessionRunner::Cancel() {
  cancel_.store(true, std::memory_order_relaxed);
  const std::lock_guard lock(mutex_);
  if (sessionClock_ != nullptr) sessionClock_->Interrupt();
}

void SessionRunner::WaitForEnd() {
  while (running_) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void SessionRunner::RunOnThread(const QString& phone, int port) {
  {
    // The port and the clock's yield need this thread's own event dispatcher.
    const QEventLoop dispatcher;
    platform::QtClock clock;
    {
      const std::lock_guard lock(mutex_);
      sessionClock_ = &clock;
      // A cancel that came before the clock did still interrupts it.
      if (cancel_.load(std::memory_order_relaxed)) clock.Interrupt();
    }
    RelayedView view(*this);
    RelayedBoxes boxes(*this);
    const platform::ThreadMessageBoxes asked(&boxes);
    SessionResult result;
    {
      LoadingSession session(&view, platform::NewSerialLink(), clock);
      session.SetCancelFlag(&cancel_);
      session.SetPort(port);
      // The box's text carries over from the last session, unseen, as in one window.
      session.Dialogue().AttachView(nullptr);
      session.Dialogue().Replace(lastDialogue_);
      session.Dialogue().AttachView(&view);
      result = session.cInstalar_Click(phone);
      lastDialogue_ = session.Dialogue().Content();
    }
    {
      const std::lock_guard lock(mutex_);
      sessionClock_ = nullptr;
    }
    Post([this, result] { Ended(result); });
  }
  threadDone_.store(true, std::memory_order_release);
}

void SessionRunner::Post(std::function<void()> call) {
  {
    const std::lock_guard lock(mutex_);
    pending_.push_back(std::move(call));
  }
  (void)::eventfd_write(wakeFd_, 1);
}

void SessionRunner::Drain() {
  std::vector<std::function<void()>> calls;
  {
    const std::lock_guard lock(mutex_);
    calls.swap(pending_);
  }
  // A box may serve the event loop and drain again meanwhile: the session's thread
  // waits for its answer, so nothing queued after the box can be left behind here.
  for (auto& call : calls) call();
}

void SessionRunner::Ended(const SessionResult& result) {
  if (dying_) return;
  thread_.join();
  running_ = false;
  observer_.SessionEnded(result);
}
