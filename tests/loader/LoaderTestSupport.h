#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

#include <gtest/gtest.h>

#include "loader/LoadingSession.h"
#include "loader/LoadingView.h"
#include "modemsim/Behaviour.h"
#include "modemsim/ModemConsole.h"
#include "modemsim/SimulatedLink.h"
#include "platform/VirtualClock.h"
#include "support/TestPlatform.h"

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

  QString dialogue;
  QString caption = kScreenCaption;
  QStringList captions;  // every caption set, in order
  bool busy = false;
  bool buttonsEnabled = true;
  bool gone = false;

 private:
  void Use() const {
    if (gone) ADD_FAILURE() << "the view was used after it had gone";
  }
};

// A loading screen wired to a simulated Efficient modem on a virtual clock. The
// modem is switched on when the session asks the user to power it.
class SimulatedScreen {
 public:
  explicit SimulatedScreen(modemsim::ConsoleOptions options = {});
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
  std::unique_ptr<LoadingSession> session;
};

// The file the DHCP screen writes for the Efficient SS5660 with example data, as
// lines: the header, the marker (line 20), the key line, the modality word, an empty
// line and the 14 commands.
[[nodiscard]] QStringList EfficientDhcpFile(const QString& phone);
// Its command lines alone.
[[nodiscard]] QStringList EfficientDhcpCommands(const QString& phone);

// The lines as bytes, to compare with what the modem received.
[[nodiscard]] QList<QByteArray> AsLines(const QStringList& lines);

}  // namespace loader_testing
