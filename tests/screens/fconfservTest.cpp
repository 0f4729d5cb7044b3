#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <cerrno>

#include "core/Def_Globales.h"
#include "platform/qt/QtMessageBoxes.h"
#include "screens/FieldRules.h"
#include "screens/fconfserv.h"
#include "WindowDriving.h"

using namespace window_driving;
using platform::MsgIcon;
using testing_support::ShownBox;
using Boxes = QList<ShownBox>;

namespace {

const ShownBox kKeystroke = Box(kKeystrokeText, kKeystrokeTitle, MsgIcon::Exclamation);
const ShownBox kRange = Box(kOctetRangeText, kOctetRangeTitle, MsgIcon::Critical);
const ShownBox kSaved = Box("Se ha guardado con éxito la nueva configuración", "Configuración guardada",
                            MsgIcon::Information);

// The service settings screen, where the field rules are tried too: it has octets and
// digit boxes (the phone's rule is tried on the loading screen).
class FconfservTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    s_ = Open<fconfserv>();
    oct_ = s_->teIP;
  }

  const Boxes& shown_ = platform_.boxes.shown;
  QPointer<fconfserv> s_;
  fconfserv::Quad oct_{};
};

TEST_F(FconfservTest, OnlyTheLastCharacterIsJudgedWhileTyping) {
  TypeInto(oct_[0], "");
  oct_[0]->insert(QStringLiteral("12a"));  // as a paste does
  EXPECT_EQ(oct_[0]->text(), "12");
  EXPECT_EQ(oct_[0]->cursorPosition(), 2);
  QTest::keyClick(oct_[0], Qt::Key_Left);
  QTest::keyClick(oct_[0], Qt::Key_A);  // not the last character: passes while typing...
  EXPECT_EQ(shown_, Boxes{kKeystroke});
  Tab();  // ...not on leaving
  EXPECT_EQ(shown_, (Boxes{kKeystroke, kRange}));
  EXPECT_EQ(FocusName(), "teIP1");
}

TEST_F(FconfservTest, ARefusedOctetKeepsTheFocusWithoutACascadeAndTheProgramsTextIsSelected) {
  SetFieldText(oct_[1], QString());  // as the program would, without the focus passing through
  TypeInto(oct_[0], "256");
  Tab();  // teIP2, where the focus was going, is empty too
  EXPECT_EQ(shown_, Boxes{kRange});
  EXPECT_EQ(FocusName(), "teIP1");
  EXPECT_FALSE(oct_[0]->hasSelectedText());  // the caret was at the end

  TypeInto(oct_[0], "007");
  Tab();
  EXPECT_EQ(oct_[0]->text(), "7");
  QTest::keyClick(oct_[1], Qt::Key_Backtab);  // oct2 is empty: refused backwards too
  EXPECT_EQ(shown_.size(), 2);
  QTest::keyClicks(oct_[1], "255");
  QTest::keyClick(oct_[1], Qt::Key_Backtab);
  EXPECT_EQ(shown_.size(), 2);
  // Written back by the program, so entered with the caret at its start: all selected.
  EXPECT_EQ(oct_[0]->selectedText(), "7");

  // Only whole numbers written with digits pass; set by the program, as a stored file does.
  const char* refused[] = {"255.5", " 7", "1000", "99999999999999999999"};
  for (const char* text : refused) {
    SCOPED_TRACE(text);
    SetFieldText(oct_[0], QString::fromLatin1(text));
    EXPECT_EQ(oct_[0]->text(), QString::fromLatin1(text));  // not cut to three characters
    Tab();
    EXPECT_EQ(shown_.back(), kRange);
    EXPECT_EQ(FocusName(), "teIP1");
    EXPECT_EQ(oct_[0]->selectedText(), QString::fromLatin1(text));
  }
  EXPECT_EQ(shown_.size(), 2 + std::size(refused));
}

// A digit box refuses a wrong key at once, and zero only on leaving.
TEST_F(FconfservTest, DigitBoxesRefuseZeroWithTheirOwnTexts) {
  QLineEdit* telMax = s_->cTelMax;
  TypeInto(telMax, "5x");
  TypeInto(telMax, "00");
  Tab();
  EXPECT_EQ(shown_, (Boxes{Box(kPhoneDigitsBox.keystroke, kDigitTitle, MsgIcon::Exclamation),
                           Box(kPhoneDigitsBox.exit, kDigitTitle, MsgIcon::Exclamation)}));
  EXPECT_EQ(FocusName(), "cTelMax");
}

TEST_F(FconfservTest, AControlClickedOutOfARefusedBoxDoesNotAct) {
  TypeInto(oct_[0], "256");
  QTest::mouseClick(s_->cSalvar, Qt::LeftButton);
  EXPECT_EQ(shown_, Boxes{kRange});  // Salvar, had it acted, would have refused the box again
  EXPECT_EQ(FocusName(), "teIP1");
  TypeInto(oct_[0], "25");
  QTest::mouseClick(s_->cSalvar, Qt::LeftButton);
  EXPECT_EQ(shown_.back(), kSaved);
}

// The real box takes the activation away and gives it back; none of that may run
// another box's rule, and the focus must end in the refused box.
TEST_F(FconfservTest, WithTheRealMessageBoxOneRefusalStaysOne) {
  platform::QtMessageBoxes real;
  platform::Current().messages = &real;
  QStringList shown;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown << box->text();
      box->buttons().first()->click();
    }
  });
  closer.start(20);

  SetFieldText(oct_[0], QString());
  SetFieldText(oct_[1], QString());
  oct_[0]->setFocus();
  Tab();
  QTest::qWait(50);
  ASSERT_TRUE(ShowActive(s_));  // no window manager here to give the activation back
  EXPECT_EQ(shown, QStringList{kRange.text});
  EXPECT_EQ(FocusName(), "teIP1");
  QTest::keyClicks(oct_[0], "8x");
  QTest::qWait(50);
  ASSERT_TRUE(ShowActive(s_));
  EXPECT_EQ(shown, (QStringList{kRange.text, kKeystroke.text}));
  EXPECT_EQ(oct_[0]->text(), "8");
  EXPECT_EQ(FocusName(), "teIP1");
}

TEST_F(FconfservTest, AMinimumAboveTheMaximumIsRefusedAndNothingIsWritten) {
  TypeInto(s_->cTelMin, "10");
  QTest::mouseClick(s_->cSalvar, Qt::LeftButton);
  EXPECT_EQ(Shown(), Boxes{Box("El número máximo de dígitos que forman el número de teléfono del abonado al "
                               "servicio \r\ndebe ser mayor o igual al número mínimo.",
                               "Error en el tamaño del número de abonado", MsgIcon::Exclamation)});
  EXPECT_EQ(FocusName(), "cTelMin");
  EXPECT_EQ(s_->cTelMin->selectedText(), "10");
  EXPECT_EQ(s_->cTelMin->cursorPosition(), 0);
  EXPECT_FALSE(QFile::exists(platform_.PathOf("conf_gen.dat")));
}

TEST_F(FconfservTest, ABlockedSettingsFileShowsThePlatformsDescriptionAndNoSuccess) {
  ASSERT_TRUE(QDir(platform_.Dir()).mkdir("conf_gen.dat"));
  QTest::mouseClick(s_->cSalvar, Qt::LeftButton);
  EXPECT_EQ(Shown(), Boxes{SystemWarning(EISDIR)});
}

// Shown as the file holds it; Salvar judges every box as leaving it would.
TEST_F(FconfservTest, AHandEditedFileIsShownWholeAndJudgedWhenItsBoxesAreLeftOrSaved) {
  s_->close();
  Settle();
  const QByteArray file = " 20 \r\n300\r\n0\r\n2\r\n16\r\n255\r\n255\r\n255\r\n240\r\n198\r\n51\r\n100\r\n"
                         "53\r\n12\r\n32\r\n9\r\n9\r\n";
  platform_.Write("conf_gen.dat", file);
  s_ = Open<fconfserv>();
  EXPECT_EQ(s_->cboPort->currentText(), "Com1");
  EXPECT_EQ(s_->cboPort->itemText(s_->cboPort->count() - 1), "Com16");
  EXPECT_EQ(ServiceSettings.ComPort, 1);  // what is shown is what is in force and saved
  EXPECT_EQ(s_->FieldTexts().join("\r\n").toLatin1() + "\r\n", file.mid(6));
  s_->tAtm1->setFocus();
  Tab();
  EXPECT_EQ(Shown(), Boxes{Box(kVpiBox.exit, kDigitTitle, MsgIcon::Exclamation)});
  EXPECT_EQ(s_->tAtm1->selectedText(), "12");

  TypeInto(s_->tAtm1, "8");
  QTest::mouseClick(s_->cSalvar, Qt::LeftButton);
  EXPECT_EQ(Shown().back(), kRange);
  EXPECT_EQ(FocusName(), "teIP1");
  EXPECT_EQ(s_->teIP[0]->selectedText(), "300");
  EXPECT_EQ(platform_.Read("conf_gen.dat"), file);  // nothing written
}

// Alt+S leaves the focus in the box, so Salvar judges it; Volver takes no focus and
// leaves without judging.
TEST_F(FconfservTest, AnAccessKeySaveJudgesTheBoxInUseAndVolverAlwaysLeaves) {
  TypeInto(s_->tdIP[3], "010");
  QTest::keyClick(s_->tdIP[3], Qt::Key_S, Qt::AltModifier);
  (void)QTest::qWaitFor([&] { return !Shown().isEmpty(); }, 1000);  // the button animates its click
  EXPECT_TRUE(platform_.Read("conf_gen.dat").contains("\r\n10\r\n8\r\n32\r\n"));  // as leaving makes it

  TypeInto(s_->teMa[2], "");
  QTest::mouseClick(s_->cVolver, Qt::LeftButton);
  Settle();
  EXPECT_EQ(OnlyVisibleWindow(), menu_.data());
  EXPECT_EQ(Shown(), Boxes{kSaved});
}

}  // namespace
