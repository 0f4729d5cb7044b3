#pragma once

#include <QString>

#include <functional>
#include <memory>

#include "fuzz/FuzzSupport.h"
#include "loader/LoadingSession.h"
#include "modemsim/ConsoleHost.h"
#include "modemsim/ModemConsole.h"
#include "modemsim/SimulatedLink.h"
#include "platform/VirtualClock.h"

namespace fuzzing {

// The longest the program may go, port open, without putting a byte on the line: the
// 40 s wait after erasing, rounded up by half a second, plus its last read of up to
// 5.5 s and the pause before it.
inline constexpr double kLongestSilenceSeconds = 47;

// The longest a session may last for a file of so many lines, on the rule that every
// wait ends at its limit: both first-prompt waits, the settling pause, the wait
// after erasing and the login and password reads, and for every line two waits of
// up to 30 s plus their last reads.
[[nodiscard]] double SessionLimitSeconds(int fileLines);

// One loading session on a virtual clock against a simulated modem, held to the
// rules every session keeps: each wait ends within its limit, and afterwards the
// port and both files are closed and the screen is idle. A broken rule aborts.
class CheckedSession {
 public:
  using ConsoleMaker = std::function<std::unique_ptr<modemsim::ModemConsole>(modemsim::ConsoleHost&)>;

  explicit CheckedSession(const ConsoleMaker& makeConsole);
  ~CheckedSession();
  CheckedSession(const CheckedSession&) = delete;
  CheckedSession& operator=(const CheckedSession&) = delete;

  void Run(const QString& phone, double limitSeconds);

 private:
  void Watch();
  void CheckIdle(const SessionResult& result) const;

  platform::VirtualClock clock_;
  modemsim::SimulatedLink* link_ = nullptr;  // owned by the session
  std::unique_ptr<modemsim::ModemConsole> console_;
  IdleView view_;
  std::unique_ptr<LoadingSession> session_;
  double start_ = 0;
  double limit_ = 0;
  double lastWrite_ = 0;
  qsizetype wireSize_ = 0;
};

}  // namespace fuzzing
