#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include <gtest/gtest.h>

#include "config/SubscriberData.h"
#include "loader/LoadingSession.h"
#include "loader/LoaderTexts.h"
#include "loader/LoadingView.h"
#include "loader/TappedLink.h"
#include "modemsim/Behaviour.h"
#include "modemsim/ExampleFile.h"
#include "modemsim/ModemConsole.h"
#include "modemsim/SimulatedLink.h"
#include "platform/VirtualClock.h"
#include "core/ReadableFailures.h"
#include "support/TestPlatform.h"

namespace loader_testing {

inline const QString kScreenCaption = QStringLiteral("Configuración del Módem ADSL");

// The loading screen as the session sees it (or, as a SessionObserver, as the window
// follows a session on another thread). Once `gone` is set, any use of it is a use
// of a destroyed window; every use must come on the thread that made it.
template <class View>
class RecordingViewOf : public View {
 public:
  void SetDialogueText(const QString& text) override { Use(); dialogue = text; ++textsSet; }
  void AppendDialogueText(const QString& text) override { Use(); dialogue += text; appended << text; }
  void MoveCaretToEnd() override { Use(); }
  [[nodiscard]] QString Caption() const override { Use(); return caption; }
  void SetCaption(const QString& text) override { Use(); caption = text; captions << text; }
  void SetBusyPointer(bool value) override { Use(); busy = value; }
  void SetButtonsEnabled(bool enabled) override { Use(); buttonsEnabled = enabled; }
  void ShowStatus(const QString& text) override {
    Use();
    statuses << text;
    if (onStatus) onStatus(text);
  }
  void ShowProgress(int sent, int total) override { Use(); progress << qMakePair(sent, total); }

  QString dialogue;
  int textsSet = 0;                 // whole texts put in the dialogue box
  QString caption = kScreenCaption;
  QStringList captions;             // every caption set, in order
  QStringList appended;             // every text added to the dialogue, in order
  bool busy = false;
  bool buttonsEnabled = true;
  QStringList statuses;             // every status line shown, in order
  QList<QPair<int, int>> progress;  // every (sent, total) shown, in order
  bool gone = false;
  std::function<void(const QString&)> onStatus;  // runs as each status line is shown

 protected:
  void Use() const {
    if (gone) ADD_FAILURE() << "the view was used after it had gone";
    if (std::this_thread::get_id() != home_) ADD_FAILURE() << "the view was used off its thread";
  }

 private:
  std::thread::id home_ = std::this_thread::get_id();
};
using RecordingView = RecordingViewOf<LoadingView>;


// A loading screen wired to a simulated modem ("efficient", "office" or "pro") on a
// virtual clock. The modem is switched on when the session asks the user to power it.
class SimulatedScreen {
 public:
  explicit SimulatedScreen(modemsim::ConsoleOptions options = {},
                           const QString& model = QStringLiteral("efficient"));

  // Writes Configuraciones/<phone>.cfg, CR LF after every line.
  void WriteConfig(const QString& phone, const QStringList& lines);
  [[nodiscard]] QByteArray Log(const QString& phone) const;
  // The non-empty lines the modem received (the wake-ups left out).
  [[nodiscard]] QList<QByteArray> TypedLines() const;

  SessionResult Run(const QString& phone) { return session->cInstalar_Click(phone); }

  testing_support::TestPlatform platform;
  platform::VirtualClock clock;
  RecordingView view;
  std::unique_ptr<modemsim::ModemConsole> console;
  modemsim::SimulatedLink* link = nullptr;  // owned by the session
  TappedLink* tap = nullptr;                // the session's link, around `link`
  std::unique_ptr<LoadingSession> session;
  std::atomic<bool> cancel{false};  // the session's cancel flag
};

// The file the DHCP screen writes for the Efficient SS5660 with example data, as
// lines: the header, the marker (line 20), the key line, the modality word, an empty
// line and the 14 commands.
[[nodiscard]] QStringList EfficientDhcpFile(const QString& phone);

using modemsim::ConsoleName;
// The file that a data screen saves for the model with example data, as lines.
inline QStringList GeneratedFile(std::int16_t model, DataScreen screen, const QString& phone) {
  return modemsim::ExampleConfigFile(model, screen, phone);
}
// The lines of a file that reach the modem: those after the marker, the key line and
// the modality word, without empty lines and comments.
[[nodiscard]] QStringList SentLines(const QStringList& file);
// Everything a healthy modem of the model receives for the file, wake-ups left out:
// the sequence's own lines (with the factory password) and the file's.
[[nodiscard]] QStringList ExpectedTypedLines(std::int16_t model, const QStringList& file);

// The boxes of a loading session as the user sees them.
[[nodiscard]] inline testing_support::ShownBox CriticalBox(const QString& text) {
  return {text, loader_texts::kErrorTitle, platform::MsgIcon::Critical, platform::MsgButtons::Ok};
}
[[nodiscard]] inline testing_support::ShownBox PowerOnBox() {
  return {loader_texts::kPowerOnQuestion, loader_texts::kPowerOnTitle, platform::MsgIcon::Information,
          platform::MsgButtons::OkCancel};
}
[[nodiscard]] inline testing_support::ShownBox ConfiguredBox() {
  return {loader_texts::kConfigured, loader_texts::kConfiguredTitle, platform::MsgIcon::Information,
          platform::MsgButtons::Ok};
}
// What the log holds between the model's start line and the trailer; "<no body>"
// when either is missing.
[[nodiscard]] QByteArray LogBody(const QByteArray& log, const QString& startLine);

// The lines as bytes, to compare with what the modem received.
[[nodiscard]] QList<QByteArray> AsLines(const QStringList& lines);

inline const QString kPhone = QStringLiteral("900123456");

}  // namespace loader_testing
