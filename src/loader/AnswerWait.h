#pragma once

#include <QByteArray>

#include <functional>

class ModemDialogue;

// A timed wait for the modem's answer: each pass yields, adds one ReadResponse with
// the given pause to the collected text and notes whether the limit has passed,
// until `done` accepts the text, the limit passes, or a single pass was asked for.
// True when the limit had not passed, even if `done` never accepted the text: the
// callers treat a last line's answer that way.
struct AnswerWait {
  double limitSeconds = 5;
  int pauseMs = 0;
  std::function<bool(const QByteArray&)> done;
  bool singlePass = false;
};

[[nodiscard]] bool WaitForAnswer(ModemDialogue& modem, const AnswerWait& wait,
                                 QByteArray* collected = nullptr);

// Whether the text holds any of the words.
[[nodiscard]] bool ContainsAny(const QByteArray& text, std::initializer_list<const char*> words);
