#include "screens/PhoneCompleter.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStringListModel>

#include <algorithm>

#include "core/AddressHelpers.h"
#include "platform/Platform.h"

namespace {

// While the list is open, Enter and Escape belong to it: Enter takes the number
// (it must not also press the window's default button and start a session) and
// Escape closes the list, not the window.
class PopupKeys final : public QObject {
 public:
  explicit PopupKeys(QCompleter* completer) : QObject(completer), completer_(completer) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::ShortcutOverride || !completer_->popup()->isVisible()) return false;
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
      case Qt::Key_Escape:
        event->accept();
        return true;
      default:
        return false;
    }
  }

 private:
  QCompleter* completer_;
};

}  // namespace

QStringList SavedPhoneNumbers() {
  const QDir folder(platform::AppPath(QString::fromLatin1(kConfigDirectoryName)));
  QFileInfoList files = folder.entryInfoList({QStringLiteral("*.cfg")}, QDir::Files);
  // Newest first; equal times by number, so the order does not depend on the folder.
  std::sort(files.begin(), files.end(), [](const QFileInfo& a, const QFileInfo& b) {
    const QDateTime ta = a.lastModified(), tb = b.lastModified();
    return ta != tb ? ta > tb : a.completeBaseName() < b.completeBaseName();
  });
  QStringList numbers;
  for (const QFileInfo& file : files) {
    const QString phone = file.completeBaseName();
    if (!phone.isEmpty() && IsDigitsOnly(phone)) numbers << phone;
  }
  return numbers;
}

QCompleter* AttachPhoneCompleter(QLineEdit* box) {
  QStringList numbers = SavedPhoneNumbers();
  numbers.removeIf([box](const QString& phone) { return phone.size() > box->maxLength(); });
  auto* completer = new QCompleter(new QStringListModel(numbers), box);
  completer->model()->setParent(completer);
  completer->setObjectName(QStringLiteral("completerTelf"));
  completer->setCaseSensitivity(Qt::CaseSensitive);
  completer->setModelSorting(QCompleter::UnsortedModel);  // keeps newest first
  completer->setCompletionMode(QCompleter::PopupCompletion);
  box->setCompleter(completer);
  auto* keys = new PopupKeys(completer);
  box->installEventFilter(keys);
  completer->popup()->installEventFilter(keys);
  return completer;
}
