#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <ostream>

#include <gtest/gtest.h>

#include "config/SubscriberData.h"
#include "loader/LoadingSession.h"
#include "loader/LoadingView.h"
#include "loader/TappedLink.h"
#include "modemsim/Behaviour.h"
#include "modemsim/ModemConsole.h"
#include "modemsim/SimulatedLink.h"
#include "platform/VirtualClock.h"
#include "support/TestPlatform.h"

namespace testing_support {
// Readable failure messages for message boxes.
inline void PrintTo(const ShownBox& box, std::ostream* os) {
  *os << "{\"" << box.text.toStdString() << "\", \"" << box.title.toStdString() << "\", icon "
      << static_cast<int>(box.icon) << ", buttons " << static_cast<int>(box.buttons) << '}';
}
}  // namespace testing_support

namespace loader_testing {

inline const QString kScreenCaption = QStringLiteral("Configuración del Módem ADSL");

// The loading screen as the session sees it. Once `gone` is set, any use of it is a
// use of a destroyed window.
class RecordingView final : public LoadingView {
 public:
  void SetDialogueText(const QString& text) override {
    Use();
    dialogue = text;
  }
  void AppendDialogueText(const QString& text) override {
    Use();
    dialogue += text;
    appended << text;
  }
  void MoveCaretToEnd() override { Use(); }
  [[nodiscard]] QString Caption() const override {
    Use();
    return caption;
  }
  void SetCaption(const QString& text) override {
    Use();
    caption = text;
    captions << text;
  }
  void SetBusyPointer(bool value) override {
    Use();
    busy = value;
  }
  void SetButtonsEnabled(bool enabled) override {
    Use();
    buttonsEnabled = enabled;
  }
  void ShowStatus(const QString& text) override {
    Use();
    statuses << text;
  }
  void ShowProgress(int sent, int total) override {
    Use();
    progress << qMakePair(sent, total);
  }

  QString dialogue;
  QString caption = kScreenCaption;
  QStringList captions;  // every caption set, in order
  QStringList appended;  // every text added to the dialogue, in order
  bool busy = false;
  bool buttonsEnabled = true;
  QStringList statuses;              // every status line shown, in order
  QList<QPair<int, int>> progress;   // every (sent, total) shown, in order
  bool gone = false;

 private:
  void Use() const {
    if (gone) ADD_FAILURE() << "the view was used after it had gone";
  }
};

// A loading screen wired to a simulated modem ("efficient", "office" or "pro") on a
// virtual clock. The modem is switched on when the session asks the user to power it.
class SimulatedScreen {
 public:
  explicit SimulatedScreen(modemsim::ConsoleOptions options = {},
                           const QString& model = QStringLiteral("efficient"));
  ~SimulatedScreen();

  // Writes Configuraciones/<phone>.cfg, CR LF after every line.
  void WriteConfig(const QString& phone, const QStringList& lines);
  [[nodiscard]] QByteArray Log(const QString& phone) const;
  [[nodiscard]] bool LogExists(const QString& phone) const;
  // The non-empty lines the modem received (the wake-ups left out).
  [[nodiscard]] QList<QByteArray> TypedLines() const;
  [[nodiscard]] QStringList BoxTexts() const;

  void Run(const QString& phone) { session->cInstalar_Click(phone); }

  testing_support::TestPlatform platform;
  platform::VirtualClock clock;
  RecordingView view;
  std::unique_ptr<modemsim::ModemConsole> console;
  modemsim::SimulatedLink* link = nullptr;  // owned by the session
  TappedLink* tap = nullptr;                // the session's link, around `link`
  std::unique_ptr<LoadingSession> session;
};

// The file the DHCP screen writes for the Efficient SS5660 with example data, as
// lines: the header, the marker (line 20), the key line, the modality word, an empty
// line and the 14 commands.
[[nodiscard]] QStringList EfficientDhcpFile(const QString& phone);
// Its command lines alone.
[[nodiscard]] QStringList EfficientDhcpCommands(const QString& phone);

// The simulated console of a ModemModel: "efficient", "office" or "pro".
[[nodiscard]] QString ConsoleName(std::int16_t model);

// The file that a data screen saves for the model with example data, as lines.
[[nodiscard]] QStringList GeneratedFile(std::int16_t model, DataScreen screen, const QString& phone);
// The lines of a file that reach the modem: those after the marker, the key line and
// the modality word, without empty lines and comments.
[[nodiscard]] QStringList SentLines(const QStringList& file);
// Everything a healthy modem of the model receives for the file, wake-ups left out:
// the sequence's own lines (with the factory password) and the file's.
[[nodiscard]] QStringList ExpectedTypedLines(std::int16_t model, const QStringList& file);

// The boxes of a loading session as the user sees them.
[[nodiscard]] testing_support::ShownBox CriticalBox(const QString& text);
[[nodiscard]] testing_support::ShownBox PowerOnBox();
[[nodiscard]] testing_support::ShownBox ConfiguredBox();
// "La clave especificada...": the application's title and no icon.
[[nodiscard]] testing_support::ShownBox PasswordNotValidBox();

// What the log holds between the model's start line and the trailer; "<no body>"
// when either is missing.
[[nodiscard]] QByteArray LogBody(const QByteArray& log, const QString& startLine);

// The lines as bytes, to compare with what the modem received.
[[nodiscard]] QList<QByteArray> AsLines(const QStringList& lines);

}  // namespace loader_testing
