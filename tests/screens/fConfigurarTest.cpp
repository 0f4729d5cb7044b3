#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCompleter>
#include <QDateTime>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include "config/ConfigExamples.h"
#include "config/SaveConfiguration.h"
#include "core/Def_Globales.h"
#include "loader/LoaderTexts.h"
#include "screens/FieldRules.h"
#include "screens/fConfigurar.h"
#include "support/SimulatedPort.h"
#include "WindowDriving.h"

using namespace window_driving;
using testing_support::ShownBox;

namespace {

const QString kPhone = QStringLiteral("900123456");

// The loading screen opened from the menu, its serial port wired to a simulated
// Efficient modem on a virtual clock. The modem is switched on when the user is
// asked to power it.
class fConfigurarTest : public ScreenTest {
 protected:
  void SetUp() override {
    SetStartupValues();
    port_.PowerOnWhenAsked(platform_, [this] {
      if (duringSession) duringSession();
    });
    ScreenTest::SetUp();
    screen_ = Open<fConfigurar>();
  }

  testing_support::SimulatedPort port_;
  std::function<void()> duringSession;
  QPointer<fConfigurar> screen_;
};

// The phone box's rule: the button follows the number's length, and a number of the
// wrong length keeps the focus.
TEST_F(fConfigurarTest, APhoneOfTheWrongLengthKeepsTheFocusAndTheButtonFollowsItsLength) {
  QLineEdit* phone = screen_->tTelf;
  phone->setFocus();
  Tab();  // empty passes
  EXPECT_TRUE(platform_.boxes.shown.isEmpty());
  TypeInto(phone, "12345678");
  EXPECT_FALSE(screen_->cInstalar->isEnabled());
  QTest::keyClick(phone, Qt::Key_9);
  EXPECT_TRUE(screen_->cInstalar->isEnabled());
  QTest::keyClick(phone, Qt::Key_Backspace);
  EXPECT_FALSE(screen_->cInstalar->isEnabled());
  QTest::keyClick(phone, Qt::Key_9);
  phone->selectAll();
  QTest::keyClick(phone, Qt::Key_Delete);  // emptied in one step
  EXPECT_FALSE(screen_->cInstalar->isEnabled());

  QTest::keyClicks(phone, "12345678");
  Tab();
  EXPECT_EQ(platform_.boxes.shown,
            QList<ShownBox>{Box("El número de teléfono debe contener entre 9 y 9 dígitos", kPhoneLengthTitle,
                                platform::MsgIcon::Exclamation)});
  EXPECT_EQ(FocusName(), "tTelf");
  EXPECT_EQ(phone->cursorPosition(), 8);
}

// Enter on the phone box starts the session, as the default button. Escape is Cancelar
// during a session; closing the window asks, and on "Sí" cancels the session and
// closes once it has ended.
TEST_F(fConfigurarTest, ASessionLocksTheWindowAndEscapeOrClosingCancelsIt) {
  ASSERT_TRUE(EnsureConfigDirectory());
  ASSERT_TRUE(SaveConfiguration(config_examples::EfficientSubscriber(DataScreen::Dhcp), DataScreen::Dhcp,
                                kEfficientSS5660, true, config_examples::EfficientSettings()));
  TypeInto(screen_->tTelf, kPhone);
  bool checked = false;
  duringSession = [&] {
    checked = true;
    EXPECT_FALSE(screen_->cInstalar->isEnabled());
    EXPECT_FALSE(screen_->cExit->isEnabled());
    EXPECT_TRUE(screen_->cCancelar->isEnabled());
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(screen_->lEstado->text(), QString::fromUtf8("Esperando a que se encienda el módem"));
    // The number names the files in use: it cannot be edited meanwhile.
    QTest::keyClick(screen_->tTelf, Qt::Key_Backspace);
    EXPECT_EQ(screen_->tTelf->text(), kPhone);
  };
  QTest::keyClick(screen_->tTelf, Qt::Key_Return);  // the default button
  EXPECT_TRUE(checked);
  EXPECT_EQ(platform_.boxes.shown.last().title, loader_texts::kConfiguredTitle);
  EXPECT_TRUE(screen_->Text1->toPlainText().contains("Command->"));
  EXPECT_FALSE(screen_->Text1->toPlainText().contains('\r'));
  EXPECT_FALSE(screen_->cCancelar->isEnabled());
  EXPECT_FALSE(screen_->tTelf->isReadOnly());
  EXPECT_EQ(screen_->pbLineas->value(), 14);  // every command line of the file went
  EXPECT_EQ(screen_->pbLineas->maximum(), 14);
  EXPECT_TRUE(screen_->lEstado->text().isEmpty());

  const ShownBox cancelled{QStringLiteral("Carga cancelada por el usuario"), QStringLiteral("Carga cancelada"),
                           platform::MsgIcon::Information, platform::MsgButtons::Ok};
  duringSession = [&] { QTest::keyClick(screen_, Qt::Key_Escape); };
  screen_->cInstalar->click();
  EXPECT_EQ(platform_.boxes.shown.last(), cancelled);
  EXPECT_TRUE(screen_->isVisible());
  EXPECT_TRUE(screen_->cInstalar->isEnabled());

  duringSession = [&] { screen_->close(); };  // answered "Sí"
  screen_->cInstalar->click();
  const auto& shown = platform_.boxes.shown;
  ASSERT_GE(shown.size(), 2);
  EXPECT_EQ(shown[shown.size() - 2].text, QStringLiteral("¿Desea cancelar la carga en curso?"));
  EXPECT_EQ(shown.last(), cancelled);
  Settle();
  EXPECT_TRUE(screen_.isNull());
  EXPECT_TRUE(menu_->isVisible());
}

// Opened idle, with the stored password in force. Saved subscribers, each with its own
// age: the completer offers the newest first, and only files named by a number that
// fits the phone box.
TEST_F(fConfigurarTest, OpensIdleWithTheStoredPasswordAndOffersTheSavedNumbersNewestFirst) {
  EXPECT_EQ(screen_->windowTitle(), QString::fromUtf8("Configuración del Módem ADSL"));
  EXPECT_FALSE(screen_->cInstalar->isEnabled());
  EXPECT_EQ(screen_->tTelf->maxLength(), 9);
  platform_.Write("claves.dat", "Guardada\r\n");
  ASSERT_TRUE(QDir(platform_.Dir()).mkpath("Configuraciones/911111111.cfg"));  // a folder: not a file
  int age = 0;
  for (const char* name : {"900000003.cfg", "900000001.cfg", "900000002.cfg", "90000000x.cfg", "900000004.txt",
                           "9000000055.cfg", ".cfg"}) {
    platform_.Write(QStringLiteral("Configuraciones/") + name, "--Inicio\r\n");
    QFile file(platform_.PathOf(QStringLiteral("Configuraciones/") + name));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-100 + age++), QFileDevice::FileModificationTime));
  }
  screen_->close();
  Settle();
  screen_ = Open<fConfigurar>();
  EXPECT_EQ(ServiceSettings.AccessPassword, "Guardada");

  QCompleter* completer = screen_->tTelf->completer();
  ASSERT_NE(completer, nullptr);
  TypeInto(screen_->tTelf, QStringLiteral("90"));
  // 9000000055 is longer than the box allows (9 digits): not offered.
  QStringList offered;
  for (int row = 0; row < completer->completionCount(); ++row) {
    completer->setCurrentRow(row);
    offered << completer->currentCompletion();
  }
  EXPECT_EQ(offered, (QStringList{"900000002", "900000001", "900000003"}));

  // Chosen from the list, the number goes through the box's own rule: the button
  // comes on, and Enter does not also start a session.
  QTest::keyClick(screen_->tTelf, '0');
  ASSERT_TRUE(completer->popup()->isVisible());
  QTest::keyClick(completer->popup(), Qt::Key_Down);
  QTest::keyClick(completer->popup(), Qt::Key_Down);
  QTest::keyClick(completer->popup(), Qt::Key_Return);
  EXPECT_EQ(screen_->tTelf->text(), "900000001");
  EXPECT_TRUE(screen_->cInstalar->isEnabled());
  EXPECT_TRUE(platform_.boxes.shown.isEmpty());
  EXPECT_FALSE(QFile::exists(platform_.PathOf("Logs")));
}

}  // namespace
