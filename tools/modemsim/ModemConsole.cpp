#include "modemsim/ModemConsole.h"

#include <utility>

namespace modemsim {

ModemConsole::ModemConsole(ConsoleHost& host, ConsoleOptions options)
    : host_(host), options_(std::move(options)), answerDelay_(options_.answerSeconds) {}

void ModemConsole::PowerOn() {
  if (options_.behaviour == Behaviour::Silent) return;
  Restart(options_.bootSeconds);
}

void ModemConsole::Receive(const QByteArray& bytes) {
  received_.append(bytes);
  if (power_ != Power::Running) return;  // off, starting or hung: typing is lost
  pending_.append(bytes);
  ProcessInput();
}

QList<QByteArray> ModemConsole::ReceivedLines() const {
  QList<QByteArray> lines;
  QByteArray line;
  for (const char c : received_) {
    if (c == '\n') continue;
    if (c != '\r') {
      line.append(c);
      continue;
    }
    lines.append(line);
    line.clear();
  }
  return lines;
}

void ModemConsole::Answer(const QByteArray& text) { Answer(QList<Step>{{answerDelay_, text, {}}}); }

void ModemConsole::Answer(QList<Step> steps) {
  if (steps.isEmpty()) return;
  busy_ = true;
  const Step step = steps.takeFirst();
  const int epoch = epoch_;
  host_.After(step.delaySeconds, [this, epoch, step, steps] {
    if (epoch != epoch_) return;
    Send(step.text);
    if (step.then) step.then();
    if (epoch != epoch_) return;
    if (!steps.isEmpty()) return Answer(steps);
    busy_ = false;
    ProcessInput();
  });
}

void ModemConsole::Reboot() { Restart(options_.rebootSeconds); }

void ModemConsole::Send(const QByteArray& bytes) {
  if (bytes.isEmpty()) return;
  host_.Transmit(options_.behaviour == Behaviour::Noise ? AddNoise(bytes) : bytes);
}

void ModemConsole::Restart(double bootSeconds) {
  ++epoch_;
  power_ = Power::Booting;
  pending_.clear();
  line_.clear();
  busy_ = false;
  const int epoch = epoch_;
  host_.After(bootSeconds, [this, epoch] {
    if (epoch != epoch_) return;
    power_ = Power::Running;
    ++boots_;
    Started();
  });
}

void ModemConsole::ProcessInput() {
  QByteArray echo;
  qsizetype used = 0;
  while (!busy_ && power_ == Power::Running && used < pending_.size()) {
    const char c = pending_.at(used++);
    if (c == '\n') continue;
    if (c != '\r') {
      line_.append(c);
      if (Echoes()) echo.append(c);
      continue;
    }
    if (Echoes()) echo.append("\r\n");
    Send(echo);
    echo.clear();
    QByteArray line;
    line.swap(line_);
    EnterLine(line);
  }
  pending_.remove(0, used);
  Send(echo);
}

void ModemConsole::EnterLine(const QByteArray& line) {
  answerDelay_ = options_.answerSeconds;
  if (!IsTroubleLine(line)) return LineEntered(line);
  switch (options_.behaviour) {
    case Behaviour::SlowCommand:
      answerDelay_ = options_.slowCommandSeconds;
      LineEntered(line);
      answerDelay_ = options_.answerSeconds;
      return;
    case Behaviour::DeadCommand:
      power_ = Power::Hung;
      return;
    case Behaviour::Unplugged:
      power_ = Power::Off;
      host_.HangUp();
      return;
    default:
      return LineEntered(line);
  }
}

bool ModemConsole::IsTroubleLine(const QByteArray& line) {
  if (troubleSeen_ || options_.troubleCommand.isEmpty()) return false;
  if (!line.startsWith(options_.troubleCommand)) return false;
  troubleSeen_ = true;
  return true;
}

QByteArray AddNoise(const QByteArray& text) {
  QByteArray noisy("\0\x81\xfe\x7f\b", 5);
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text.at(i) == '\r' && i + 1 < text.size() && text.at(i + 1) == '\n') {
      noisy.append("\n\r");
      ++i;
      continue;
    }
    noisy.append(text.at(i));
    if (text.at(i) == ' ') noisy.append('\0');
  }
  noisy.append('\n');
  return noisy;
}

}  // namespace modemsim
