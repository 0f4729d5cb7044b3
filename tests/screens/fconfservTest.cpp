#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>

#include <cerrno>

#include "core/Def_Globales.h"
#include "platform/ErrorText.h"
#include "screens/FieldRules.h"
#include "screens/fconfserv.h"
#include "WindowDriving.h"

using namespace window_driving;
using platform::MsgIcon;
using Boxes = QList<testing_support::ShownBox>;

namespace {

const auto kSaved = Box("Se ha guardado con éxito la nueva configuración", "Configuración guardada",
                        MsgIcon::Information);

QByteArray Lines(const Octets& octets) {
  QByteArray lines;
  for (auto octet : octets) lines += QByteArray::number(octet) + "\r\n";
  return lines;
}

QByteArray Lines(const fconfserv::Quad& quad) {
  QByteArray lines;
  for (const QLineEdit* box : quad) lines += box->text().toLatin1() + "\r\n";
  return lines;
}

class FconfservTest : public ScreenTest {
 protected:
  [[nodiscard]] bool Saved() const { return QFile::exists(platform_.PathOf("conf_gen.dat")); }
};

TEST_F(FconfservTest, OpensWithTheFilelessDefaultsAndTabsFromTopToBottom) {
  auto* s = Open<fconfserv>();
  EXPECT_EQ(s->cboPort->currentText(), "Com1");
  EXPECT_EQ(s->cboPort->itemText(15), "Com16");
  EXPECT_EQ(Lines(s->teIP) + Lines(s->teMa) + Lines(s->tdIP),
            Lines(kOperatorEdcNetwork) + "255\r\n255\r\n255\r\n240\r\n" + Lines(kOperatorDnsServer));
  EXPECT_EQ((QStringList{s->tAtm1->text(), s->tAtm2->text(), s->cTelMin->text(), s->cTelMax->text()}),
            (QStringList{"8", "32", "9", "9"}));

  s->cboPort->setFocus();
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
  auto* s = Open<fconfserv>();
  TypeInto(s->cTelMin, "10");
  QTest::mouseClick(s->cSalvar, Qt::LeftButton);
  EXPECT_EQ(Shown(), Boxes{Box("El número máximo de dígitos que forman el número de teléfono del abonado al "
                               "servicio \r\ndebe ser mayor o igual al número mínimo.",
                               "Error en el tamaño del número de abonado", MsgIcon::Exclamation)});
  EXPECT_EQ(FocusName(), "cTelMin");
  EXPECT_EQ(s->cTelMin->selectedText(), "10");
  EXPECT_EQ(s->cTelMin->cursorPosition(), 0);
  EXPECT_FALSE(Saved());
}

TEST_F(FconfservTest, SavingTwiceWritesTheSameLinesAndThePortFollowsTheSelector) {
  auto* s = Open<fconfserv>();
  s->cboPort->setFocus();
  QTest::keyClick(s->cboPort, Qt::Key_Down);
  QTest::keyClick(s->cboPort, Qt::Key_Down);
  EXPECT_EQ(ServiceSettings.ComPort, 3);  // at once, before any save
  TypeInto(s->teIP[3], "017");            // the click leaves the box, which writes back 17
  QTest::mouseClick(s->cSalvar, Qt::LeftButton);
  const QByteArray first = platform_.Read("conf_gen.dat");
  QTest::mouseClick(s->cSalvar, Qt::LeftButton);
  EXPECT_EQ(platform_.Read("conf_gen.dat"), first);
  EXPECT_EQ(Shown(), (Boxes{kSaved, kSaved}));
  Octets edc = kOperatorEdcNetwork;
  edc[3] = 17;
  EXPECT_EQ(first, " 3 \r\n" + Lines(edc) + Lines(kDefaultEdcMask) + Lines(kOperatorDnsServer) +
                       "8\r\n32\r\n9\r\n9\r\n");

  QTest::keyClick(s->cboPort, Qt::Key_Down);
  QTest::keyClick(s, Qt::Key_Escape);  // back without saving: Com4 in force until the next load
  Settle();
  EXPECT_EQ(VisibleWindows(), QList<QWidget*>{menu_.data()});
  EXPECT_EQ(ServiceSettings.ComPort, 4);
  EXPECT_EQ(Open<fconfserv>()->cboPort->currentText(), "Com3");
  EXPECT_EQ(ServiceSettings.ComPort, 3);
}

TEST_F(FconfservTest, ABlockedSettingsFileShowsThePlatformsDescriptionAndNoSuccess) {
  ASSERT_TRUE(QDir(platform_.Dir()).mkdir("conf_gen.dat"));
  QTest::mouseClick(Open<fconfserv>()->cSalvar, Qt::LeftButton);
  EXPECT_EQ(Shown(), Boxes{SystemWarning(EISDIR)});
}

TEST_F(FconfservTest, AHandEditedFileIsShownWholeAndJudgedWhenItsBoxesAreLeft) {
  platform_.Write("conf_gen.dat", " 20 \r\n300\r\n0\r\n2\r\n16\r\n255\r\n255\r\n255\r\n240\r\n198\r\n51\r\n100\r\n"
                                  "53\r\n12\r\n32\r\n9\r\n9\r\n");
  auto* s = Open<fconfserv>();
  EXPECT_EQ(s->cboPort->currentText(), "Com1");
  EXPECT_EQ(ServiceSettings.ComPort, 1);  // what is shown is what is in force and saved
  EXPECT_EQ(s->tAtm1->text(), "12");
  s->tAtm1->setFocus();
  Tab();
  EXPECT_EQ(Shown(), Boxes{Box(kVpiBox.exit, kDigitTitle, MsgIcon::Exclamation)});
  EXPECT_EQ(s->tAtm1->selectedText(), "12");
  EXPECT_EQ(s->teIP[0]->text(), "300");  // refused only when left, as any octet

  // Salvar judges every box as leaving it would: the first refused, nothing written.
  TypeInto(s->tAtm1, "8");
  QTest::mouseClick(s->cSalvar, Qt::LeftButton);
  EXPECT_EQ(Shown().back(), Box(kOctetRangeText, kOctetRangeTitle, MsgIcon::Critical));
  EXPECT_EQ(FocusName(), "teIP1");
  EXPECT_EQ(s->teIP[0]->selectedText(), "300");
  TypeText(s->teIP[0], "10");
  s->cSalvar->setFocus();
  QTest::keyClick(s->cSalvar, Qt::Key_Return);  // a focused button takes Enter
  EXPECT_EQ(Shown().back(), kSaved);
  EXPECT_TRUE(platform_.Read("conf_gen.dat").startsWith(" 1 \r\n10\r\n0\r\n"));
}

TEST_F(FconfservTest, AnAccessKeySaveJudgesTheBoxInUseAndVolverAlwaysLeaves) {
  auto* s = Open<fconfserv>();
  TypeInto(s->tdIP[3], "010");
  QTest::keyClick(s->tdIP[3], Qt::Key_S, Qt::AltModifier);
  (void)QTest::qWaitFor([&] { return !Shown().isEmpty(); }, 1000);  // the button animates its click
  EXPECT_TRUE(platform_.Read("conf_gen.dat").contains("\r\n10\r\n8\r\n32\r\n"));  // as leaving makes it
  QFile::remove(platform_.PathOf("conf_gen.dat"));
  platform_.boxes.shown.clear();

  TypeInto(s->teMa[2], "");
  QTest::keyClick(s->teMa[2], Qt::Key_S, Qt::AltModifier);
  (void)QTest::qWaitFor([&] { return !Shown().isEmpty(); }, 1000);  // the button animates its click
  EXPECT_EQ(Shown(), Boxes{Box(kOctetRangeText, kOctetRangeTitle, MsgIcon::Critical)});
  EXPECT_EQ(FocusName(), "teMa3");
  EXPECT_FALSE(Saved());

  QTest::mouseClick(s->cVolver, Qt::LeftButton);  // no complaint about the box on the way out
  Settle();
  TypeInto(Open<fconfserv>()->teIP[1], "");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  Settle();
  EXPECT_EQ(VisibleWindows(), QList<QWidget*>{menu_.data()});
  EXPECT_EQ(Shown().size(), 1);
  EXPECT_FALSE(Saved());
}

}  // namespace
