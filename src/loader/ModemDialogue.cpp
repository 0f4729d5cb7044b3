#include "loader/ModemDialogue.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/Def_Globales.h"
#include "loader/CleanReceivedText.h"
#include "loader/LoaderTexts.h"
#include "loader/ModemProfiles.h"
#include "loader/SessionStatus.h"
#include "platform/Cp1252.h"
#include "platform/MessageBoxes.h"

namespace {

constexpr int kAnswerWaitSeconds = 5;
constexpr int kWakeUpPauseMs = 500;
// The longest a pause goes without looking at the cancel flag.
constexpr int kPauseSliceMs = 250;
const QByteArray kWakeUpLine = QByteArrayLiteral("\r\n");

}  // namespace

using loader_texts::kErrorTitle;

bool ModemDialogue::SendLine(const QString& text) { return SendLine(platform::ToCp1252(text)); }

bool ModemDialogue::SendLine(const QByteArray& bytes) {
  CheckCancel();  // nothing more goes out once the user has cancelled
  if (!link_.IsOpen()) {
    ReportBrokenLink();
    return false;
  }
  QString error;
  if (!link_.Write(bytes + '\r', &error)) {
    platform::ShowError(error, kErrorTitle);
    return false;
  }
  // No time limit: a working line drains at its baud rate. A port that breaks closes
  // itself, and that ends the wait instead of hanging the program.
  for (;;) {
    // Bytes that have all left already leave nothing to sleep for.
    if (link_.TransmitCount() > 0) {
      Yield();
    } else {
      ServePending();
    }
    if (!link_.IsOpen()) {
      ReportBrokenLink();
      return false;
    }
    if (link_.TransmitCount() <= 0) return true;
  }
}

QByteArray ModemDialogue::ReadResponse(int pauseMs) {
  if (pauseMs > 0) Pause(pauseMs);
  if (!link_.IsOpen()) {
    ReportBrokenLink();
    return {};
  }
  const Deadline wait(clock_, kAnswerWaitSeconds, status_);
  QByteArray buffer;
  bool passed = false;
  do {
    YieldWithin(wait);
    if (!link_.IsOpen()) {
      ReportBrokenLink();
      return {};
    }
    QByteArray chunk;
    QString error;
    if (!link_.ReadAll(&chunk, &error)) {
      platform::ShowError(error, kErrorTitle);
      return {};
    }
    buffer.append(chunk);
    passed = wait.Passed();
  } while (buffer.isEmpty() && !passed);
  buffer = CleanReceivedText(buffer);
  if (!passed && (model_ ? *model_ : SelectedModel) != kSpeedTouchPro) box_.Append(buffer);
  return buffer;
}

bool ModemDialogue::OpenModemLink(std::int16_t model, int port,
                                  const platform::LineSettings& settings) {
  model_ = model;
  QString error;
  if (!link_.SetPortNumber(port, &error)) {
    platform::ShowSystemWarning(error);
    return false;
  }
  if (!link_.SetLineSettings(settings, &error) || !link_.SetInputLength(0, &error)) {
    platform::ShowError(error, kErrorTitle);
    return false;
  }
  if (!link_.Open(&error)) {
    platform::ShowSystemWarning(error);
    return false;
  }
  SetStep(QStringLiteral("Esperando a que se encienda el módem"));
  const auto answer =
      platform::ShowMessage(loader_texts::kPowerOnQuestion, loader_texts::kPowerOnTitle,
                            platform::MsgIcon::Information, platform::MsgButtons::OkCancel);
  if (answer != platform::MsgAnswer::Ok) return false;
  return WaitForModemPrompt(model);
}

bool ModemDialogue::WaitForModemPrompt(std::int16_t model) {
  const ModemProfile* profile = ProfileFor(model);
  if (!link_.IsOpen()) {
    ReportBrokenLink();
    return false;
  }
  if (profile == nullptr) return false;
  SetStep(QStringLiteral("Esperando el indicador del módem"));
  QByteArray collected;
  bool found = false;
  bool passed = false;
  auto wait = std::make_unique<Deadline>(clock_, profile->firstPromptLimitSeconds, status_);
  while (!found && !passed) {
    ServePending();
    Pause(kWakeUpPauseMs);
    QByteArray chunk;
    QString error;
    if (!SendLine(kWakeUpLine)) {
      passed = true;
    } else if (!link_.ReadAll(&chunk, &error)) {
      platform::ShowError(error, kErrorTitle);
      passed = true;
    } else {
      collected.append(CleanReceivedText(chunk));
      box_.Replace(collected);
      passed = wait->Passed();
      found = profile->promptFound(collected);
      KeepNewest(collected);
    }
  }
  // A prompt that came in the pass that ran out of time is too late as well.
  if (passed) {
    platform::ShowError(loader_texts::kCannotConnect, kErrorTitle);
    link_.Close();
    return false;
  }
  if (profile->settlingPauseMs > 0) {
    // The pause gets a countdown of its own on the status line.
    wait.reset();
    SetStep(QStringLiteral("Esperando a que el módem se estabilice"));
    const Deadline countdown(clock_, profile->settlingPauseMs / 1000.0, status_);
    Pause(profile->settlingPauseMs, &countdown);
  }
  return true;
}

void ModemDialogue::Yield() {
  clock_.Yield();
  CheckCancel();
}

void ModemDialogue::ServePending() {
  clock_.YieldUntil(clock_.Seconds());
  CheckCancel();
}

void ModemDialogue::YieldWithin(const Deadline& wait) {
  clock_.YieldUntil(wait.NextChange());
  CheckCancel();
}

void ModemDialogue::Pause(int milliseconds, const Deadline* countdown) {
  if (clock_.Interruptible()) return WatchedPause(milliseconds, countdown);
  // Without a cancel flag there is nothing to look at: one sleep.
  const int slice = cancel_ != nullptr ? kPauseSliceMs : std::max(milliseconds, 1);
  for (int left = milliseconds; left > 0; left -= slice) {
    clock_.SleepMs(std::min(left, slice));
    CheckCancel();
    if (countdown != nullptr) (void)countdown->Passed();  // moves the countdown
    // An adapter pulled out ends the pause: every caller looks at the port next and
    // reports it, instead of the user waiting out up to ten seconds for nothing.
    link_.CheckDevice();
    if (!link_.IsOpen()) return;
  }
}

void ModemDialogue::WatchedPause(int milliseconds, const Deadline* countdown) {
  // A cancel interrupts the sleep and a hang-up ends it, so it wakes only when the
  // countdown moves: an idle pause costs next to nothing.
  const double end = clock_.Seconds() + milliseconds / 1000.0;
  for (;;) {
    const double until = countdown != nullptr ? std::min(end, countdown->NextChange()) : end;
    const double left = std::ceil((until - clock_.Seconds()) * 1000.0);
    // A sleep that watched the device to its end has seen it stay.
    const int device = link_.Handle();
    const bool deviceStayed = left > 0 && clock_.SleepWatching(static_cast<int>(left), device) && device >= 0;
    CheckCancel();
    if (countdown != nullptr) (void)countdown->Passed();  // moves the countdown
    if (!deviceStayed) link_.CheckDevice();
    if (!link_.IsOpen() || clock_.Seconds() >= end) return;
  }
}

void ModemDialogue::CheckCancel() const {
  if (cancel_ != nullptr && cancel_->load(std::memory_order_relaxed)) throw SessionCancelled{};
}

SessionResult ModemDialogue::ResultOf(bool loaded) const {
  if (loaded) return SessionResult::Loaded();
  return SessionResult::FailedAt(status_ != nullptr ? status_->Step() : QString());
}

void ModemDialogue::SetStep(const QString& step) {
  if (status_ != nullptr) status_->SetStep(step);
}

void ModemDialogue::SetLines(int sent, int total) {
  if (status_ != nullptr) status_->SetLines(sent, total);
}

void ModemDialogue::ReportBrokenLink() {
  const QString failure = link_.TakeFailure();
  if (!failure.isEmpty()) platform::ShowError(failure, kErrorTitle);
}
