#include <gtest/gtest.h>

#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

#include "core/Def_Globales.h"
#include "platform/qt/QtMessageBoxes.h"
#include "screens/FieldRules.h"
#include "WindowDriving.h"

using namespace window_driving;
using platform::MsgIcon;
using testing_support::ShownBox;
using Boxes = QList<ShownBox>;

namespace {

const ShownBox kKeystroke = Box(kKeystrokeText, kKeystrokeTitle, MsgIcon::Exclamation);
const ShownBox kRange = Box(kOctetRangeText, kOctetRangeTitle, MsgIcon::Critical);

// One window with boxes of every kind, in tab order after a plain start button (the
// window focuses its first control, and an empty box there would be refused at once).
class FieldRulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ServiceSettings.PhoneMinDigits = 9;
    ServiceSettings.PhoneMaxDigits = 9;
    auto* row = new QHBoxLayout(window_);
    auto add = [&](auto* widget, const char* name) {
      widget->setObjectName(QString::fromLatin1(name));
      row->addWidget(widget);
      return widget;
    };
    add(new QPushButton(window_), "start");
    for (int i = 0; i < 3; ++i) {
      oct_[i] = add(new QLineEdit(window_), kOctetNames[i]);
      AttachOctetRules(oct_[i]);
    }
    vpi_ = add(new QLineEdit(window_), "vpi");
    telMax_ = add(new QLineEdit(window_), "telMax");
    phone_ = add(new QLineEdit(window_), "phone");
    other_ = add(new QPushButton(window_), "other");
    AttachDigitRules(vpi_, kVpiBox);
    AttachDigitRules(telMax_, kPhoneDigitsBox);
    phone_->setMaxLength(9);
    AttachPhoneRules(phone_, &load_);
    ASSERT_TRUE(ShowActive(window_));
  }
  void TearDown() override { delete window_.data(); }

  static constexpr const char* kOctetNames[3] = {"oct1", "oct2", "oct3"};
  testing_support::TestPlatform platform_;
  const Boxes& shown_ = platform_.boxes.shown;
  QPointer<QWidget> window_ = new QWidget;
  QLineEdit* oct_[3] = {};
  QLineEdit* vpi_ = nullptr;
  QLineEdit* telMax_ = nullptr;
  QLineEdit* phone_ = nullptr;
  QPushButton* other_ = nullptr;
  QPushButton load_;
};

TEST_F(FieldRulesTest, OnlyTheLastCharacterIsJudgedWhileTyping) {
  TypeInto(oct_[0], "19x");
  EXPECT_EQ(shown_, Boxes{kKeystroke});
  EXPECT_EQ(oct_[0]->text(), "19");
  EXPECT_EQ(oct_[0]->cursorPosition(), 2);

  oct_[1]->setFocus();
  oct_[1]->insert(QStringLiteral("12a"));  // as a paste does
  EXPECT_EQ(oct_[1]->text(), "12");
  QTest::keyClick(oct_[1], Qt::Key_Left);
  QTest::keyClick(oct_[1], Qt::Key_A);  // not the last character: passes while typing...
  EXPECT_EQ(shown_.size(), 2);
  Tab();  // ...not on leaving
  EXPECT_EQ(shown_, (Boxes{kKeystroke, kKeystroke, kRange}));
  EXPECT_EQ(FocusName(), "oct2");
}

TEST_F(FieldRulesTest, ARefusedOctetKeepsTheFocusWithoutACascadeAndTheProgramsTextIsSelected) {
  oct_[0]->setFocus();
  Tab();  // oct1 empty, and oct2, where the focus was going, is empty too
  EXPECT_EQ(shown_, Boxes{kRange});
  EXPECT_EQ(FocusName(), "oct1");
  QTest::keyClicks(oct_[0], "256");
  Tab();
  EXPECT_EQ(shown_.size(), 2);
  EXPECT_EQ(FocusName(), "oct1");
  EXPECT_FALSE(oct_[0]->hasSelectedText());  // the caret was at the end

  TypeInto(oct_[0], "007");
  Tab();
  EXPECT_EQ(oct_[0]->text(), "7");
  QTest::keyClick(oct_[1], Qt::Key_Backtab);  // oct2 is empty: refused backwards too
  EXPECT_EQ(shown_.size(), 3);
  QTest::keyClicks(oct_[1], "255");
  QTest::keyClick(oct_[1], Qt::Key_Backtab);
  EXPECT_EQ(shown_.size(), 3);
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
    EXPECT_EQ(FocusName(), "oct1");
    EXPECT_EQ(oct_[0]->selectedText(), QString::fromLatin1(text));
  }
  EXPECT_EQ(shown_.size(), 3 + std::size(refused));
}

TEST_F(FieldRulesTest, TheProgramsTextIsReplacedByTypingHoweverTheFocusComes) {
  for (QLineEdit* box : oct_) SetFieldText(box, "10");
  SetFieldText(vpi_, "8");
  window_->findChild<QPushButton*>("start")->setFocus();
  Tab();
  TypeText(oct_[0], "192");
  Tab();
  TypeText(oct_[1], "7");
  QTest::keyClick(oct_[1], Qt::Key_Backtab);  // "192", written back on leaving
  TypeText(oct_[0], "5");
  QTest::mouseClick(oct_[2], Qt::LeftButton, {}, QPoint(2, 5));  // at the text's start
  TypeText(oct_[2], "3");
  Tab();
  TypeText(vpi_, "9");
  EXPECT_EQ((QStringList{oct_[0]->text(), oct_[1]->text(), oct_[2]->text(), vpi_->text()}),
            (QStringList{"5", "7", "3", "9"}));
  EXPECT_TRUE(shown_.isEmpty());
}

TEST_F(FieldRulesTest, DigitBoxesRefuseZeroWithTheirOwnTexts) {
  TypeInto(vpi_, "0");
  EXPECT_TRUE(shown_.isEmpty());
  Tab();
  EXPECT_EQ(shown_, Boxes{Box(kVpiBox.exit, kDigitTitle, MsgIcon::Exclamation)});
  EXPECT_EQ(FocusName(), "vpi");
  TypeInto(vpi_, "7");
  TypeInto(telMax_, "5x");
  EXPECT_EQ(shown_.back(), Box(kPhoneDigitsBox.keystroke, kDigitTitle, MsgIcon::Exclamation));
  TypeInto(telMax_, "00");
  Tab();
  EXPECT_EQ(shown_.back(), Box(kPhoneDigitsBox.exit, kDigitTitle, MsgIcon::Exclamation));
  EXPECT_EQ(FocusName(), "telMax");
  TypeInto(telMax_, "09");
  Tab();
  EXPECT_EQ(telMax_->text(), "9");
  EXPECT_EQ(shown_.size(), 3);
}

TEST_F(FieldRulesTest, APhoneOfTheWrongLengthKeepsTheFocusAndTheLoadButtonFollowsItsLength) {
  phone_->setFocus();
  Tab();  // empty passes
  EXPECT_TRUE(shown_.isEmpty());
  TypeInto(phone_, "12345678");
  EXPECT_FALSE(load_.isEnabled());
  QTest::keyClick(phone_, Qt::Key_9);
  EXPECT_TRUE(load_.isEnabled());
  QTest::keyClick(phone_, Qt::Key_Backspace);
  EXPECT_FALSE(load_.isEnabled());
  QTest::keyClick(phone_, Qt::Key_9);
  phone_->selectAll();
  QTest::keyClick(phone_, Qt::Key_Delete);  // emptied in one step
  EXPECT_FALSE(load_.isEnabled());

  QTest::keyClicks(phone_, "12345678");
  Tab();
  EXPECT_EQ(shown_, Boxes{Box("El número de teléfono debe contener entre 9 y 9 dígitos", kPhoneLengthTitle,
                              MsgIcon::Exclamation)});
  EXPECT_EQ(FocusName(), "phone");
  EXPECT_EQ(phone_->cursorPosition(), 8);
}

TEST_F(FieldRulesTest, FocusLostToAnotherWindowOrToClosingIsNotLeaving) {
  oct_[0]->setFocus();  // empty
  QWidget elsewhere;
  ASSERT_TRUE(ShowActive(&elsewhere));
  ASSERT_TRUE(ShowActive(window_));
  EXPECT_EQ(FocusName(), "oct1");
  window_->hide();
  Settle();
  delete window_.data();
  Settle();
  EXPECT_TRUE(shown_.isEmpty());
}

TEST_F(FieldRulesTest, AControlClickedOutOfARefusedBoxDoesNotAct) {
  QSignalSpy clicks(other_, &QPushButton::clicked);
  TypeInto(oct_[0], "256");
  QTest::mouseClick(other_, Qt::LeftButton);
  EXPECT_EQ(shown_, Boxes{kRange});
  EXPECT_EQ(clicks.count(), 0);
  EXPECT_EQ(FocusName(), "oct1");
  TypeInto(oct_[0], "25");
  QTest::mouseClick(other_, Qt::LeftButton);
  EXPECT_EQ(clicks.count(), 1);

  TypeInto(oct_[1], "300");  // an access key leaves the focus where it is
  EXPECT_FALSE(CheckFocusedField(window_));
  EXPECT_EQ(shown_.size(), 2);
  TypeInto(oct_[1], "030");
  EXPECT_TRUE(CheckFocusedField(window_));
  EXPECT_EQ(oct_[1]->text(), "30");
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

TEST_F(FieldRulesTest, WithTheRealMessageBoxOneRefusalStaysOne) {
  RecordingQtBoxes boxes;
  platform::Current().messages = &boxes;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->buttons().first()->click();
  });
  closer.start(20);

  oct_[0]->setFocus();
  Tab();  // oct1 and oct2 both empty
  QTest::qWait(50);
  ASSERT_TRUE(ShowActive(window_));  // no window manager here to give the activation back
  EXPECT_EQ(boxes.shown, Boxes{kRange});
  EXPECT_EQ(FocusName(), "oct1");
  QTest::keyClicks(oct_[0], "8x");
  QTest::qWait(50);
  ASSERT_TRUE(ShowActive(window_));
  EXPECT_EQ(boxes.shown, (Boxes{kRange, kKeystroke}));
  EXPECT_EQ(oct_[0]->text(), "8");
  EXPECT_EQ(FocusName(), "oct1");
}

}  // namespace
