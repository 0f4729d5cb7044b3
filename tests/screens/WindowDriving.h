#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include "platform/ErrorText.h"
#include "screens/Screen.h"
#include "screens/fMain.h"
#include "core/ReadableFailures.h"
#include "support/TestPlatform.h"

// Driving windows on the offscreen platform: focus and keys reach only the active one.
namespace window_driving {

[[nodiscard]] inline bool ShowActive(QWidget* window) {
  window->show();
  window->activateWindow();
  return QTest::qWaitForWindowActive(window);
}

inline void Settle() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

[[nodiscard]] inline QString FocusName() {
  const QWidget* focus = QApplication::focusWidget();
  return focus ? focus->objectName() : QStringLiteral("<none>");
}

// Key by key; beyond ASCII a key carries only its text, as from a keyboard layout.
inline void TypeText(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    if (c.unicode() < 0x80) QTest::keyClick(widget, c.toLatin1());
    else QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

// Focus in the box, its text replaced by typing.
inline void TypeInto(QLineEdit* box, const QString& keys) {
  box->setFocus(Qt::OtherFocusReason);
  box->selectAll();
  QTest::keyClick(box, Qt::Key_Delete);
  TypeText(box, keys);
}

inline void Tab() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }

// The window a button opened: the one visible window.
inline QWidget* OnlyVisibleWindow() {
  QList<QWidget*> visible;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible()) visible << w;
  }
  return visible.size() == 1 ? visible.front() : nullptr;
}

inline testing_support::ShownBox Box(const char* text, const char* title, platform::MsgIcon icon,
                                     platform::MsgButtons buttons = platform::MsgButtons::Ok) {
  return {QString::fromUtf8(text), QString::fromUtf8(title), icon, buttons};
}

// What the platform says when a file operation fails: its description, the
// application's title.
inline testing_support::ShownBox SystemWarning(int error) {
  return {platform::DescribeSystemError(error), QString(), platform::MsgIcon::Exclamation, platform::MsgButtons::Ok};
}

// Opens screens from the main menu, as the installer does, and clears up after.
class ScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fMain::ShowMenu();
    menu_ = fMain::Instance();
  }
  void TearDown() override {
    // A popup (a completer's list) belongs to its owner, which deletes it.
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->windowType() != Qt::Popup) w->deleteLater();
    }
    Settle();
  }
  template <class ScreenType>
  ScreenType* Open() {
    auto* screen = OpenScreen<ScreenType>(menu_.data());
    EXPECT_TRUE(ShowActive(screen));
    return screen;
  }
  [[nodiscard]] const QList<testing_support::ShownBox>& Shown() const { return platform_.boxes.shown; }

  testing_support::TestPlatform platform_;
  QPointer<fMain> menu_;
};

}  // namespace window_driving
