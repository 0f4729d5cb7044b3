#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCompleter>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPushButton>

#include "core/Def_Globales.h"
#include "screens/PhoneCompleter.h"
#include "screens/fConfigurar.h"
#include "WindowDriving.h"

using namespace window_driving;

namespace {

// Saved subscribers, each with its own age: the completer offers the newest first,
// and only files named by a number that fits the phone box.
class PhoneCompleterTest : public ScreenTest {
 protected:
  void SetUp() override {
    SetStartupValues();
    ASSERT_TRUE(QDir(platform_.Dir()).mkpath("Configuraciones/911111111.cfg"));  // a folder: not a file
    const QDateTime now = QDateTime::currentDateTime();
    int age = 0;
    for (const char* name : {"900000003.cfg", "900000001.cfg", "900000002.cfg", "90000000x.cfg",
                             "900000004.txt", "9000000055.cfg", "800000000.cfg", ".cfg"}) {
      Save(name, now.addSecs(-100 + age++));
    }
    ScreenTest::SetUp();
  }
  void Save(const QString& name, const QDateTime& when) {
    const QString path = platform_.PathOf("Configuraciones/" + name);
    platform_.Write("Configuraciones/" + name, "--Inicio\r\n");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
  }
  [[nodiscard]] static QStringList Offered(QCompleter* completer) {
    QStringList offered;
    for (int row = 0; row < completer->completionCount(); ++row) {
      completer->setCurrentRow(row);
      offered << completer->currentCompletion();
    }
    return offered;
  }
};

TEST_F(PhoneCompleterTest, OffersTheSavedNumbersNewestFirst) {
  EXPECT_EQ(SavedPhoneNumbers(),
            (QStringList{"800000000", "9000000055", "900000002", "900000001", "900000003"}));

  auto* screen = Open<fConfigurar>();
  QCompleter* completer = screen->tTelf->completer();
  ASSERT_NE(completer, nullptr);
  screen->tTelf->setFocus();
  QTest::keyClicks(screen->tTelf, "90");
  // 9000000055 is longer than the box allows (9 digits): not offered.
  EXPECT_EQ(Offered(completer), (QStringList{"900000002", "900000001", "900000003"}));
  ASSERT_TRUE(completer->popup()->isVisible());
  EXPECT_FALSE(screen->cInstalar->isEnabled());

  // Escape closes the list, not the window.
  QTest::keyClick(completer->popup(), Qt::Key_Escape);
  EXPECT_FALSE(completer->popup()->isVisible());
  EXPECT_TRUE(screen->isVisible());

  // Chosen from the list, the number goes through the box's own rule: the button
  // comes on, and Enter does not also start a session.
  QTest::keyClick(screen->tTelf, '0');
  ASSERT_TRUE(completer->popup()->isVisible());
  QTest::keyClick(completer->popup(), Qt::Key_Down);
  QTest::keyClick(completer->popup(), Qt::Key_Down);
  QTest::keyClick(completer->popup(), Qt::Key_Return);
  EXPECT_EQ(screen->tTelf->text(), "900000001");
  EXPECT_TRUE(screen->cInstalar->isEnabled());
  EXPECT_TRUE(Shown().isEmpty());
  EXPECT_FALSE(QFile::exists(platform_.PathOf("Logs")));
}

}  // namespace
