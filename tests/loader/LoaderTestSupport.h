#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <utility>

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

// The loading screen as the session sees it. Once `gone` is set, any use of it is a
// use of a destroyed window.
class RecordingView final : public LoadingView {
 public:
  void SetDialogueText(const QString& text) override { Use(); dialogue = text; ++textsSet; }
  void AppendDialogueText(const QString& text) override { Use(); dialogue += text; appended << text; }
  void MoveCaretToEnd() override { Use(); }
  [[nodiscard]] QString Caption() const override { Use(); return caption; }
  void SetCaption(const QString& text) override { Use(); caption = text; captions << text; }
  void SetBusyPointer(bool value) override { Use(); busy = value; }
  void SetButtonsEnabled(bool enabled) override { Use(); buttonsEnabled = enabled; }
  void ShowStatus(const QString& text) override { Use(); statuses << text; }
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
// Its command lines alone.
[[nodiscard]] QStringList EfficientDhcpCommands(const QString& phone);

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
// "La clave especificada...": the application's title and no icon.
[[nodiscard]] inline testing_support::ShownBox PasswordNotValidBox() {
  return {loader_texts::kSecondLoginFailed, QString(), platform::MsgIcon::None, platform::MsgButtons::Ok};
}

// What the log holds between the model's start line and the trailer; "<no body>"
// when either is missing.
[[nodiscard]] QByteArray LogBody(const QByteArray& log, const QString& startLine);

// The lines as bytes, to compare with what the modem received.
[[nodiscard]] QList<QByteArray> AsLines(const QStringList& lines);

inline const QString kPhone = QStringLiteral("900123456");

// One model's sessions on the virtual clock, one screen at a time (each installs its
// own platform and puts back the previous). Every session must end idle, port closed.
class ModelSessionTest : public ::testing::Test {
 protected:
  ModelSessionTest(std::int16_t model, DataScreen kind, QString startLine, QByteArray trouble)
      : model_(model), kind_(kind), startLine_(std::move(startLine)), trouble_(std::move(trouble)) {}

  SimulatedScreen& Start(modemsim::ConsoleOptions options) {
    screen_.reset();
    screen_ = std::make_unique<SimulatedScreen>(options, ConsoleName(model_));
    screen_->WriteConfig(kPhone, File());
    return *screen_;
  }
  SimulatedScreen& Start(modemsim::Behaviour behaviour = modemsim::Behaviour::Healthy,
                         const QByteArray& trouble = {}) {
    modemsim::ConsoleOptions options;
    options.behaviour = behaviour;
    options.troubleCommand = trouble.isEmpty() ? trouble_ : trouble;
    return Start(options);
  }
  void TearDown() override {
    ASSERT_TRUE(screen_);
    EXPECT_FALSE(screen_->link->IsOpen());
    EXPECT_FALSE(screen_->view.busy);
    EXPECT_TRUE(screen_->view.buttonsEnabled);
    EXPECT_EQ(screen_->link->ClosedPortUses(), 0);
  }

  [[nodiscard]] QStringList File() const { return GeneratedFile(model_, kind_, kPhone); }
  [[nodiscard]] QList<QByteArray> Typed(const QStringList& file) const {
    return AsLines(ExpectedTypedLines(model_, file));
  }
  [[nodiscard]] const QList<testing_support::ShownBox>& Shown() const { return screen_->platform.boxes.shown; }
  [[nodiscard]] QByteArray LogBody() const { return loader_testing::LogBody(screen_->Log(kPhone), startLine_); }
  // The healthy session's bytes: each line ends with a single CR; between them only
  // the wake-ups, CR LF and CR.
  void ExpectWire(const QStringList& typed) const;

  // Every way the sequence can end, with its messages and what reaches the log.
  enum class Log { Nothing, StartLine, Snapshot };
  struct FailureRow {
    const char* situation;
    modemsim::Behaviour behaviour;
    QByteArray trouble;
    QList<testing_support::ShownBox> boxes;
    Log log;
    std::function<void(SimulatedScreen&)> arrange;
  };
  // `snapshotLine` is what a Snapshot log must hold: the password line, masked.
  void RunFailureRows(const QList<FailureRow>& rows, const QByteArray& snapshotLine);

  std::int16_t model_;
  DataScreen kind_;
  QString startLine_;
  QByteArray trouble_;
  std::unique_ptr<SimulatedScreen> screen_;
};

}  // namespace loader_testing
