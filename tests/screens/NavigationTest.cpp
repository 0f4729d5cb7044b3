#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "core/Def_Globales.h"
#include "screens/fMain.h"
#include "support/TestPlatform.h"

namespace {

QList<QWidget*> VisibleWindows() {
  QList<QWidget*> visible;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible()) visible << w;
  }
  return visible;
}

// The window that a button of the menu opened: the one visible window.
QWidget* OnlyVisibleWindow() {
  const auto visible = VisibleWindows();
  return visible.size() == 1 ? visible.front() : nullptr;
}

void Settle() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

class NavigationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fMain::ShowMenu();
    menu_ = fMain::Instance();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu_));
  }
  void TearDown() override {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w != menu_) delete w;
    }
    delete menu_.data();
    Settle();
  }

  testing_support::TestPlatform platform_;
  QPointer<fMain> menu_;
};

TEST_F(NavigationTest, StartUpSetsTheValuesInForceWithoutReadingAnyFile) {
  platform_.Write("conf_gen.dat", " 5 \r\n");  // would fail loudly if it were read
  ServiceSettings = {};
  delete menu_.data();
  fMain::ShowMenu();
  menu_ = fMain::Instance();
  EXPECT_EQ(menu_->windowTitle(), QString::fromUtf8("Configuración Módems Zelvora ADSL (v. 1.0)"));
  EXPECT_EQ(ServiceSettings.ComPort, 1);
  EXPECT_EQ(ServiceSettings.AccessPassword, "tarnimol");
  EXPECT_EQ(ServiceSettings.DefaultAccessPassword, "tarnimol");
  EXPECT_EQ(ServiceSettings.EdcMask, (Octets{255, 255, 255, 240}));
  EXPECT_EQ(ServiceSettings.AtmCircuit.Vpi, 0);
  EXPECT_EQ(ServiceSettings.PhoneMaxDigits, 0);
  EXPECT_TRUE(platform_.boxes.shown.isEmpty());
}

TEST_F(NavigationTest, ButtonsAreInTheirOrderWithTheirAccessKeys) {
  const QList<QPushButton*> expected = {menu_->cClave, menu_->cServicio, menu_->cIntroDatos,
                                        menu_->cCargar, menu_->cSalir};
  EXPECT_EQ(menu_->cClave->text(), "Modificar &clave de acceso");
  EXPECT_EQ(menu_->cServicio->text(), QString::fromUtf8("Configuración del  Servicio &ADSL"));
  EXPECT_EQ(menu_->cIntroDatos->text(), QString::fromUtf8("&Introducir datos configuración"));
  EXPECT_EQ(menu_->cCargar->text(), QString::fromUtf8("&Cargar Configuración en el Módem"));
  EXPECT_EQ(menu_->cSalir->text(), QString::fromUtf8("&Salir de la aplicación"));
  for (int i = 0; i + 1 < expected.size(); ++i) EXPECT_EQ(expected[i]->nextInFocusChain(), expected[i + 1]);
}

TEST_F(NavigationTest, EachButtonOpensAFreshScreenAndEscapeComesBack) {
  for (QPushButton* button : {menu_->cClave, menu_->cServicio, menu_->cIntroDatos, menu_->cCargar}) {
    SCOPED_TRACE(button->objectName().toStdString());
    QPointer<QWidget> first;
    for (int round = 0; round < 2; ++round) {
      button->click();
      QWidget* screen = OnlyVisibleWindow();
      ASSERT_NE(screen, nullptr);
      ASSERT_NE(screen, menu_.data());
      if (round == 1) {
        EXPECT_TRUE(first.isNull());  // the first one is gone, not reused
      }
      first = screen;
      ASSERT_TRUE(QTest::qWaitForWindowExposed(screen));
      // Whatever screen, Escape leads back (a refused box would keep it open).
      screen->activateWindow();
      QTest::keyClick(screen, Qt::Key_Escape);
      Settle();
      EXPECT_EQ(OnlyVisibleWindow(), menu_.data());
    }
  }
}

TEST_F(NavigationTest, ClosingAScreenByItsFrameAlsoReturnsToTheMenu) {
  menu_->cServicio->click();
  QWidget* screen = OnlyVisibleWindow();
  ASSERT_NE(screen, menu_.data());
  screen->close();
  Settle();
  EXPECT_EQ(OnlyVisibleWindow(), menu_.data());
}

TEST_F(NavigationTest, EscapeOnTheMenuEndsTheApplication) {
  menu_->activateWindow();
  QTest::keyClick(menu_, Qt::Key_Escape);
  Settle();
  EXPECT_TRUE(VisibleWindows().isEmpty());
}

}  // namespace
