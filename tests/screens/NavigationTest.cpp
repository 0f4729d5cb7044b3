#include <gtest/gtest.h>

#include <QPushButton>

#include "core/Def_Globales.h"
#include "screens/UserGuide.h"
#include "WindowDriving.h"

using namespace window_driving;

namespace {

using NavigationTest = ScreenTest;

TEST_F(NavigationTest, StartUpSetsTheValuesInForceWithoutReadingAnyFile) {
  platform_.Write("conf_gen.dat", " 5 \r\n");  // would fail loudly if it were read
  ServiceSettings = {};
  delete menu_.data();
  fMain::ShowMenu();
  menu_ = fMain::Instance();
  EXPECT_EQ(menu_->windowTitle(), QString::fromUtf8("Configuración Módems Zelvora ADSL (v. 1.0)"));
  EXPECT_EQ(ServiceSettings.ComPort, 1);
  EXPECT_EQ(ServiceSettings.AccessPassword, "tarnimol");
  EXPECT_TRUE(Shown().isEmpty());
}

// Whatever screen, Escape leads back (a refused box would keep it open), and so does
// closing it by its frame. F1 reaches the guide from every window, whichever control
// has the focus; without a guide, or when the desktop cannot show it, the user is told
// where it should be.
TEST_F(NavigationTest, EnterOnEachButtonOpensAFreshScreenWithTheGuideOnF1AndEscapeComesBack) {
  const QStringList savedCandidates = GuideCandidates();
  const auto savedOpener = UrlOpener();
  QList<QUrl> opened;
  bool opens = true;
  UrlOpener() = [&](const QUrl& url) {
    opened << url;
    return opens;
  };
  platform_.Write("guia-de-uso.html", "<html></html>");
  GuideCandidates() = {platform_.PathOf("falta.html"), platform_.PathOf("guia-de-uso.html")};
  ASSERT_TRUE(ShowActive(menu_));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);  // without a focus, to the active window
  for (QPushButton* button : {menu_->cClave, menu_->cServicio, menu_->cIntroDatos, menu_->cCargar}) {
    SCOPED_TRACE(button->objectName().toStdString());
    QPointer<QWidget> first;
    for (int round = 0; round < 3; ++round) {
      ASSERT_TRUE(ShowActive(menu_));
      button->setFocus();
      QTest::keyClick(button, Qt::Key_Return);  // a focused button takes Enter
      QWidget* screen = OnlyVisibleWindow();
      ASSERT_NE(screen, nullptr);
      ASSERT_NE(screen, menu_.data());
      EXPECT_TRUE(first.isNull());  // the one before is gone, not reused
      first = screen;
      ASSERT_TRUE(ShowActive(screen));
      if (round == 0) QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
      if (round < 2) QTest::keyClick(screen, Qt::Key_Escape);
      else screen->close();
      Settle();
      EXPECT_EQ(OnlyVisibleWindow(), menu_.data());
    }
  }
  EXPECT_EQ(opened, QList<QUrl>(5, QUrl::fromLocalFile(platform_.PathOf("guia-de-uso.html"))));
  EXPECT_TRUE(Shown().isEmpty());

  opens = false;
  QTest::keyClick(menu_, Qt::Key_F1);
  GuideCandidates() = {platform_.PathOf("falta.html")};
  QTest::keyClick(menu_, Qt::Key_F1);
  ASSERT_EQ(Shown().size(), 2);
  EXPECT_EQ(Shown()[0].text, QString::fromUtf8("No se ha podido abrir la guía de uso %1 con el visor del "
                                               "escritorio. Ábrala con un navegador.").arg(platform_.PathOf("guia-de-uso.html")));
  EXPECT_EQ(Shown()[1].text, QString::fromUtf8("No se ha encontrado la guía de uso. Con el programa instalado "
                                               "debería estar en /usr/share/doc/configurador-adsl/guia-de-uso.html; "
                                               "con una copia portátil, en la carpeta doc junto al programa."));
  EXPECT_EQ(Shown()[1].title, QString::fromUtf8("Guía de uso"));
  EXPECT_EQ(opened.size(), 6);

  GuideCandidates() = savedCandidates;
  UrlOpener() = savedOpener;
}

}  // namespace
