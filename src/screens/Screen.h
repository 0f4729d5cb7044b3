#pragma once

#include <QWidget>

class QAbstractButton;
class QKeyEvent;
class QPushButton;

// Enter or Return on a focused command button presses it, as desktop users expect;
// true when it did.
bool PressFocusedButton(QWidget* window, const QKeyEvent* event);

// A window opened from another one: closing it (its "Volver" button, Escape or the
// window frame) hides it, gives control back to where it came from, and deletes it.
class Screen : public QWidget {
  Q_OBJECT

 public:
  explicit Screen(QWidget* parent = nullptr);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // Shows the window that gets control back; the main menu unless overridden.
  virtual void ReturnControl();
  // May the window close now? A running modem session says no.
  [[nodiscard]] virtual bool CanClose() const { return true; }
  // Escape presses this button, as a dialog's cancel button.
  void SetCancelButton(QAbstractButton* button);
  // Enter presses this button while it is enabled, as a dialog's default button; on
  // another button, Enter presses that one.
  void SetDefaultButton(QPushButton* button);
};

// Creates a fresh instance of a screen, hides the opener and shows the screen
// modeless. Every opening gets a new window, never a reused one.
template <class ScreenType, class... Args>
ScreenType* OpenScreen(QWidget* opener, Args&&... args) {
  auto* screen = new ScreenType(std::forward<Args>(args)...);
  opener->hide();
  screen->show();
  return screen;
}
