#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
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
// The file-less values, in the file's order.
const QByteArray kDefaults =
    "192\r\n0\r\n2\r\n16\r\n255\r\n255\r\n255\r\n240\r\n198\r\n51\r\n100\r\n53\r\n8\r\n32\r\n9\r\n9\r\n";

// The service settings screen, where the field rules are tried too: it has octets and
// digit boxes (the phone's rule is tried on the loading screen).
class FconfservTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    s_ = Open<fconfserv>();
    oct_ = s_->teIP;
  }
  // Empty, as the program would set them, without the focus passing through them.
  void Empty(std::initializer_list<QLineEdit*> boxes) {
    for (QLineEdit* box : boxes) SetFieldText(box, QString());
  }

  [[nodiscard]] bool Saved() const { return QFile::exists(platform_.PathOf("conf_gen.dat")); }
  void AltS(QWidget* box) {
    QTest::keyClick(box, Qt::Key_S, Qt::AltModifier);
    (void)QTest::qWaitFor([&] { return !Shown().isEmpty(); }, 1000);  // the button animates its click
  }

  const Boxes& shown_ = platform_.boxes.shown;
  QPointer<fconfserv> s_;
  fconfserv::Quad oct_{};
};

TEST_F(FconfservTest, OnlyTheLastCharacterIsJudgedWhileTyping) {
  TypeInto(oct_[0], "19x");
  EXPECT_EQ(shown_, Boxes{kKeystroke});
  EXPECT_EQ(oct_[0]->text(), "19");
  EXPECT_EQ(oct_[0]->cursorPosition(), 2);

  TypeInto(oct_[1], "");
  oct_[1]->insert(QStringLiteral("12a"));  // as a paste does
  EXPECT_EQ(oct_[1]->text(), "12");
  QTest::keyClick(oct_[1], Qt::Key_Left);
  QTest::keyClick(oct_[1], Qt::Key_A);  // not the last character: passes while typing...
  EXPECT_EQ(shown_.size(), 2);
  Tab();  // ...not on leaving
  EXPECT_EQ(shown_, (Boxes{kKeystroke, kKeystroke, kRange}));
  EXPECT_EQ(FocusName(), "teIP2");
}

TEST_F(FconfservTest, ARefusedOctetKeepsTheFocusWithoutACascadeAndTheProgramsTextIsSelected) {
  Empty({oct_[1]});
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
  const char* refused[] = {"255.5", "1e2", "+7", "1000", "-0", " 7", "0x10", "99999999999999999999"};
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

TEST_F(FconfservTest, DigitBoxesRefuseZeroWithTheirOwnTexts) {
  QLineEdit* vpi = s_->tAtm1;
  QLineEdit* telMax = s_->cTelMax;
  TypeInto(vpi, "0");
  EXPECT_TRUE(shown_.isEmpty());
  Tab();
  EXPECT_EQ(shown_, Boxes{Box(kVpiBox.exit, kDigitTitle, MsgIcon::Exclamation)});
  EXPECT_EQ(FocusName(), "tAtm1");
  TypeInto(vpi, "7");
  TypeInto(telMax, "5x");
  EXPECT_EQ(shown_.back(), Box(kPhoneDigitsBox.keystroke, kDigitTitle, MsgIcon::Exclamation));
  TypeInto(telMax, "00");
  Tab();
  EXPECT_EQ(shown_.back(), Box(kPhoneDigitsBox.exit, kDigitTitle, MsgIcon::Exclamation));
  EXPECT_EQ(FocusName(), "cTelMax");
  TypeInto(telMax, "09");
  Tab();
  EXPECT_EQ(telMax->text(), "9");
  EXPECT_EQ(shown_.size(), 3);
  TypeText(vpi, "5");  // entered by Tab, its text written back by the program: replaced
  EXPECT_EQ(vpi->text(), "5");
}

TEST_F(FconfservTest, FocusLostToAnotherWindowOrToClosingIsNotLeaving) {
  Empty({oct_[0]});
  oct_[0]->setFocus();
  QWidget elsewhere;
  ASSERT_TRUE(ShowActive(&elsewhere));
  ASSERT_TRUE(ShowActive(s_));
  EXPECT_EQ(FocusName(), "teIP1");
  s_->hide();
  Settle();
  delete s_.data();
  Settle();
  EXPECT_TRUE(shown_.isEmpty());
}

TEST_F(FconfservTest, AControlClickedOutOfARefusedBoxDoesNotAct) {
  QSignalSpy clicks(s_->cSalvar, &QPushButton::clicked);
  TypeInto(oct_[0], "256");
  QTest::mouseClick(s_->cSalvar, Qt::LeftButton);
  EXPECT_EQ(shown_, Boxes{kRange});
  EXPECT_EQ(clicks.count(), 0);
  EXPECT_EQ(FocusName(), "teIP1");
  TypeInto(oct_[0], "25");
  QTest::mouseClick(s_->cSalvar, Qt::LeftButton);
  EXPECT_EQ(clicks.count(), 1);
}

// The real box takes the activation away and gives it back; none of that may run
// another box's rule, and the focus must end in the refused box.
class RecordingQtBoxes final : public platform::MessageBoxes {
 public:
  platform::MsgAnswer Show(const QString& text, const QString& title, MsgIcon icon,
                           platform::MsgButtons buttons) override {
    shown.append({text, title, icon, buttons});
    return real_.Show(text, title, icon, buttons);
  }
  Boxes shown;

 private:
  platform::QtMessageBoxes real_;
};

TEST_F(FconfservTest, WithTheRealMessageBoxOneRefusalStaysOne) {
  RecordingQtBoxes boxes;
  platform::Current().messages = &boxes;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->buttons().first()->click();
  });
  closer.start(20);

  Empty({oct_[0], oct_[1]});
  oct_[0]->setFocus();
  Tab();
  QTest::qWait(50);
  ASSERT_TRUE(ShowActive(s_));  // no window manager here to give the activation back
  EXPECT_EQ(boxes.shown, Boxes{kRange});
  EXPECT_EQ(FocusName(), "teIP1");
  QTest::keyClicks(oct_[0], "8x");
  QTest::qWait(50);
  ASSERT_TRUE(ShowActive(s_));
  EXPECT_EQ(boxes.shown, (Boxes{kRange, kKeystroke}));
  EXPECT_EQ(oct_[0]->text(), "8");
  EXPECT_EQ(FocusName(), "teIP1");
}

TEST_F(FconfservTest, OffersSixteenPortsAndTabGoesFromTopToBottom) {
  EXPECT_EQ(s_->cboPort->itemText(s_->cboPort->count() - 1), "Com16");
  s_->cboPort->setFocus();
  QStringList walked{FocusName()};
  for (int i = 0; i < 22; ++i) {
    Tab();
    walked << FocusName();
  }
  EXPECT_EQ(walked, (QStringList{"cboPort", "cTelMin", "cTelMax", "tAtm1", "tAtm2", "teIP1", "teIP2", "teIP3",
                                 "teIP4", "teMa1", "teMa2", "teMa3", "teMa4", "tdIP1", "tdIP2", "tdIP3", "tdIP4",
                                 "cSalvar", "cVolver", "lstAdaptadores", "cAsignar", "cActualizar", "cboPort"}));
  EXPECT_TRUE(Shown().isEmpty());
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
  EXPECT_FALSE(Saved());
}

TEST_F(FconfservTest, SavingTwiceWritesTheSameLinesAndThePortFollowsTheSelector) {
  s_->cboPort->setFocus();
  QTest::keyClick(s_->cboPort, Qt::Key_Down);
  QTest::keyClick(s_->cboPort, Qt::Key_Down);
  EXPECT_EQ(ServiceSettings.ComPort, 3);  // at once, before any save
  TypeInto(s_->teIP[3], "017");            // the click leaves the box, which writes back 17
  QTest::mouseClick(s_->cSalvar, Qt::LeftButton);
  const QByteArray first = platform_.Read("conf_gen.dat");
  QTest::mouseClick(s_->cSalvar, Qt::LeftButton);
  EXPECT_EQ(platform_.Read("conf_gen.dat"), first);
  EXPECT_EQ(Shown(), (Boxes{kSaved, kSaved}));
  EXPECT_EQ(first, " 3 \r\n" + QByteArray(kDefaults).replace("\r\n16\r\n", "\r\n17\r\n"));

  QTest::keyClick(s_->cboPort, Qt::Key_Down);
  QTest::keyClick(s_, Qt::Key_Escape);  // back without saving: Com4 in force until the next load
  Settle();
  EXPECT_EQ(VisibleWindows(), QList<QWidget*>{menu_.data()});
  EXPECT_EQ(ServiceSettings.ComPort, 4);
  EXPECT_EQ(Open<fconfserv>()->cboPort->currentText(), "Com3");
  EXPECT_EQ(ServiceSettings.ComPort, 3);
}

TEST_F(FconfservTest, ABlockedSettingsFileShowsThePlatformsDescriptionAndNoSuccess) {
  ASSERT_TRUE(QDir(platform_.Dir()).mkdir("conf_gen.dat"));
  QTest::mouseClick(s_->cSalvar, Qt::LeftButton);
  EXPECT_EQ(Shown(), Boxes{SystemWarning(EISDIR)});
}

TEST_F(FconfservTest, AHandEditedFileIsShownWholeAndJudgedWhenItsBoxesAreLeft) {
  s_->close();
  Settle();
  platform_.Write("conf_gen.dat", " 20 \r\n300\r\n0\r\n2\r\n16\r\n255\r\n255\r\n255\r\n240\r\n198\r\n51\r\n100\r\n"
                                  "53\r\n12\r\n32\r\n9\r\n9\r\n");
  s_ = Open<fconfserv>();
  EXPECT_EQ(s_->cboPort->currentText(), "Com1");
  EXPECT_EQ(ServiceSettings.ComPort, 1);  // what is shown is what is in force and saved
  QByteArray shown;  // the sixteen boxes as the file holds them
  for (const fconfserv::Quad& quad : {s_->teIP, s_->teMa, s_->tdIP}) {
    for (const QLineEdit* box : quad) shown += box->text().toLatin1() + "\r\n";
  }
  for (const QLineEdit* box : {s_->tAtm1, s_->tAtm2, s_->cTelMin, s_->cTelMax}) {
    shown += box->text().toLatin1() + "\r\n";
  }
  EXPECT_EQ(shown, "300\r\n" + kDefaults.mid(5).replace("\r\n8\r\n", "\r\n12\r\n"));
  s_->tAtm1->setFocus();
  Tab();
  EXPECT_EQ(Shown(), Boxes{Box(kVpiBox.exit, kDigitTitle, MsgIcon::Exclamation)});
  EXPECT_EQ(s_->tAtm1->selectedText(), "12");

  // Salvar judges every box as leaving it would: the first refused, nothing written.
  TypeInto(s_->tAtm1, "8");
  QTest::mouseClick(s_->cSalvar, Qt::LeftButton);
  EXPECT_EQ(Shown().back(), kRange);
  EXPECT_EQ(FocusName(), "teIP1");
  EXPECT_EQ(s_->teIP[0]->selectedText(), "300");
  TypeText(s_->teIP[0], "10");
  s_->cSalvar->setFocus();
  QTest::keyClick(s_->cSalvar, Qt::Key_Return);  // a focused button takes Enter
  EXPECT_EQ(Shown().back(), kSaved);
  EXPECT_TRUE(platform_.Read("conf_gen.dat").startsWith(" 1 \r\n10\r\n0\r\n"));
}

TEST_F(FconfservTest, AnAccessKeySaveJudgesTheBoxInUseAndVolverAlwaysLeaves) {
  TypeInto(s_->tdIP[3], "010");
  AltS(s_->tdIP[3]);
  EXPECT_TRUE(platform_.Read("conf_gen.dat").contains("\r\n10\r\n8\r\n32\r\n"));  // as leaving makes it
  QFile::remove(platform_.PathOf("conf_gen.dat"));
  platform_.boxes.shown.clear();

  TypeInto(s_->teMa[2], "");
  AltS(s_->teMa[2]);
  EXPECT_EQ(Shown(), Boxes{kRange});
  EXPECT_EQ(FocusName(), "teMa3");
  EXPECT_FALSE(Saved());

  QTest::mouseClick(s_->cVolver, Qt::LeftButton);  // no complaint about the box on the way out
  Settle();
  TypeInto(Open<fconfserv>()->teIP[1], "");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  Settle();
  EXPECT_EQ(VisibleWindows(), QList<QWidget*>{menu_.data()});
  EXPECT_EQ(Shown().size(), 1);
  EXPECT_FALSE(Saved());
}

}  // namespace
