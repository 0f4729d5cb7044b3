#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>

#include "core/Def_Globales.h"
#include "screens/PortDiscovery.h"
#include "screens/fconfserv.h"
#include "support/TestPlatform.h"

namespace {

TEST(PortDiscoveryTest, TheLabelFollowsTheSelectionAndTheLinks) {
  testing_support::TestPlatform platform;
  SetStartupValues();
  ASSERT_TRUE(QDir(platform.Dir()).mkdir("puertos"));
  platform.Write("adaptador", "");  // stands in for a plugged-in adapter
  ASSERT_TRUE(QFile::link(platform.PathOf("adaptador"), platform.PathOf("puertos/com3")));
  ASSERT_TRUE(QFile::link(platform.PathOf("desenchufado"), platform.PathOf("puertos/com4")));

  auto screen = std::make_unique<fconfserv>();
  EXPECT_EQ(screen->lDispositivo->text(), "Dispositivo: /dev/ttyS0, " +
                                              QString(QFile::exists("/dev/ttyS0") ? "presente" : "no encontrado"));
  screen->cboPort->setCurrentIndex(2);
  EXPECT_EQ(screen->lDispositivo->text(),
            "Dispositivo: " + platform.PathOf("adaptador") + " (enlace puertos/com3), presente");
  EXPECT_EQ(ServiceSettings.ComPort, 3);
  screen->cboPort->setCurrentIndex(3);
  EXPECT_EQ(screen->lDispositivo->text(),
            "Dispositivo: " + platform.PathOf("desenchufado") + " (enlace puertos/com4), no encontrado");
  EXPECT_EQ(screen->cboPort->itemText(15), "Com16");  // the entries themselves stay as they were
}

}  // namespace
