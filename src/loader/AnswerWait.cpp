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
    passed = deadline.Passed();
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
