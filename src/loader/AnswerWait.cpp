#include "loader/AnswerWait.h"

#include "loader/DialogueBox.h"
#include "loader/ModemDialogue.h"

bool WaitForAnswer(ModemDialogue& modem, const AnswerWait& wait, QByteArray* collected) {
  QByteArray buffer;
  const Deadline deadline = modem.StartWait(wait.limitSeconds);
  bool passed = false;
  do {
    modem.Yield();
    buffer.append(modem.ReadResponse(wait.pauseMs));
    KeepNewest(buffer);
    // A port that has gone (an adapter pulled out) will not answer: the wait ends now.
    passed = deadline.Passed() || !modem.IsOpen();
  } while (!wait.done(buffer) && !passed && !wait.singlePass);
  if (collected != nullptr) *collected = buffer;
  return !passed;
}

bool ContainsAny(const QByteArray& text, std::initializer_list<const char*> words) {
  for (const char* word : words) {
    if (text.contains(word)) return true;
  }
  return false;
}
