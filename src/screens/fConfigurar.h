#pragma once

#include <memory>

#include <QElapsedTimer>

#include "loader/SessionRunner.h"
#include "screens/Screen.h"

class QGroupBox;
class QLabel;
class QProgressBar;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;

// The loading screen: a phone number, a button that loads that subscriber's file
// into the modem, and the dialogue with the modem as it happens. The session itself
// runs in a SessionRunner, on a thread of its own; this window only shows it, asks
// what it must ask, and can cancel it.
class fConfigurar final : public Screen, private SessionObserver {
  Q_OBJECT

 public:
  explicit fConfigurar(QWidget* parent = nullptr);
  ~fConfigurar() override;

  QLineEdit* tTelf = nullptr;
  QPushButton* cInstalar = nullptr;
  QPushButton* cExit = nullptr;
  QPushButton* cCancelar = nullptr;    // ends the running session
  QGroupBox* Frame1 = nullptr;
  QPlainTextEdit* Text1 = nullptr;
  QLabel* lEstado = nullptr;           // the step in progress and the seconds left
  QProgressBar* pbLineas = nullptr;    // command lines sent

  [[nodiscard]] SessionRunner& Session() { return *session_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  [[nodiscard]] bool CanClose() const override;

 private:
  void Form_Load();
  void cInstalar_Click();

  // LoadingView
  void SetDialogueText(const QString& text) override;
  void AppendDialogueText(const QString& text) override;
  void MoveCaretToEnd() override;
  [[nodiscard]] QString Caption() const override;
  void SetCaption(const QString& caption) override;
  void SetBusyPointer(bool busy) override;
  void SetButtonsEnabled(bool enabled) override;
  void ShowStatus(const QString& text) override;
  void ShowProgress(int sent, int total) override;
  // SessionObserver
  platform::MsgAnswer Show(const QString& text, const QString& title, platform::MsgIcon icon,
                           platform::MsgButtons buttons) override;
  void SessionEnded(const SessionResult& result) override;

  void Refresh();

  std::unique_ptr<SessionRunner> session_;
  bool busyPointer_ = false;
  // The user chose to cancel by closing the window: it closes once the session ends.
  bool closeWhenIdle_ = false;
  // What the modem sends and the lines sent reach the window a few times a second,
  // not at every chunk: laying out and painting each echoed character would hold up
  // the program's answer to the prompt that follows it. While lines are being sent
  // the window catches up just after one has gone, while the modem is busy echoing.
  QTimer* refreshTimer_ = nullptr;
  QElapsedTimer sinceRefresh_;
  QString pendingDialogue_;
  int progressSent_ = 0;
  int progressTotal_ = 0;
};
