#include "platform/Platform.h"

#include "platform/TextFile.h"

namespace platform {
namespace {

thread_local MessageBoxes* threadBoxes = nullptr;

}  // namespace

ThreadMessageBoxes::ThreadMessageBoxes(MessageBoxes* boxes) : previous_(threadBoxes) {
  threadBoxes = boxes;
}

ThreadMessageBoxes::~ThreadMessageBoxes() { threadBoxes = previous_; }

Services& Current() {
  static Services services;
  return services;
}

QString AppPath(const QString& name) { return JoinPath(Current().appDirectory->Path(), name); }

MsgAnswer ShowMessage(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons) {
  MessageBoxes* boxes = threadBoxes != nullptr ? threadBoxes : Current().messages;
  return boxes->Show(text, title, icon, buttons);
}

void ShowSystemWarning(const QString& description) {
  ShowMessage(description, QString(), MsgIcon::Exclamation);
}

void ShowError(const QString& message, const QString& title) {
  ShowMessage(message, title, MsgIcon::Critical);
}

}  // namespace platform
