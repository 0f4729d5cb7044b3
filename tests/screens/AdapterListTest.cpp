#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <cerrno>

#include "core/Def_Globales.h"
#include "platform/SerialAdapters.h"
#include "screens/AdapterList.h"
#include "screens/fconfserv.h"
#include "WindowDriving.h"

using namespace window_driving;

namespace {

// A fake /dev with its by-id folder and sysfs: two USB adapters (one link to nothing,
// as udev leaves for a moment after an unplug) and three ttyS nodes, one with a UART.
class AdapterListTest : public ScreenTest {
 protected:
  void SetUp() override {
    SetStartupValues();
    const QDir root(platform_.Dir());
    for (const char* folder : {"dev/serial/by-id", "sys/ttyS0", "sys/ttyS1", "sys/ttyS10"}) {
      ASSERT_TRUE(root.mkpath(folder));
    }
    for (const char* node : {"dev/ttyUSB0", "dev/ttyUSB1", "dev/ttyS0", "dev/ttyS1", "dev/ttyS10"}) {
      platform_.Write(node, "");
    }
    platform_.Write("sys/ttyS0/type", "0\n");  // a node without a UART: not listed
    platform_.Write("sys/ttyS1/type", "4\n");
    platform_.Write("sys/ttyS10/type", "4\n");
    Link("usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0", "dev/ttyUSB0");
    Link(R"(usb-Prolific\x20Technology_USB-Serial_Controller-if00-port0)", "dev/ttyUSB1");
    Link("usb-Gone_Adapter-if00-port0", "dev/ttyUSB9");
    saved_ = AdapterList::Scan();
    AdapterList::Scan() = {platform_.PathOf("dev/serial/by-id"), platform_.PathOf("dev"), platform_.PathOf("sys"),
                           [](const QString&) { return 0; }};
    ScreenTest::SetUp();
  }
  void TearDown() override {
    ScreenTest::TearDown();
    AdapterList::Scan() = saved_;
  }
  void Link(const QString& name, const char* target) {
    ASSERT_TRUE(QFile::link(platform_.PathOf(target), platform_.PathOf("dev/serial/by-id/" + name)));
  }

  platform::AdapterScan saved_;
};

// The list shows each adapter's readable name and device and holds its path; the
// label under the selector follows the selection and the link the choice makes.
TEST_F(AdapterListTest, ChoosingAnAdapterLinksTheSelectedPortAndTheLabelShowsIt) {
  auto* screen = Open<fconfserv>();
  QListWidget* list = screen->adapters->lstAdaptadores;
  QStringList found;
  for (int row = 0; row < list->count(); ++row) {
    found << list->item(row)->text() + " | " + list->item(row)->data(Qt::UserRole).toString();
  }
  const QString ftdi = platform_.PathOf("dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0");
  const QString prolific =
      platform_.PathOf(R"(dev/serial/by-id/usb-Prolific\x20Technology_USB-Serial_Controller-if00-port0)");
  const QString com3 = platform_.PathOf("puertos/com3");
  EXPECT_EQ(found, (QStringList{
                       "FTDI FT232R USB UART A1B2C3 (" + platform_.PathOf("dev/ttyUSB0") + ") | " + ftdi,
                       "Prolific Technology USB-Serial Controller (" + platform_.PathOf("dev/ttyUSB1") + ") | " +
                           prolific,
                       "Puerto serie del equipo ttyS1 (Com2) | " + platform_.PathOf("dev/ttyS1"),
                       "Puerto serie del equipo ttyS10 (Com11) | " + platform_.PathOf("dev/ttyS10")}));
  EXPECT_TRUE(screen->adapters->lPermiso->isHidden());
  EXPECT_EQ(platform::ReadableAdapterName("pci-Some_Card_0001-port1"), "Some Card 0001");  // no interface part
  EXPECT_EQ(screen->lDispositivo->text(),
            "Dispositivo: /dev/ttyS0, " + QString(QFile::exists("/dev/ttyS0") ? "presente" : "no encontrado"));

  screen->cboPort->setCurrentIndex(2);
  list->setCurrentRow(1);
  screen->adapters->cAsignar->click();
  EXPECT_EQ(QFile::symLinkTarget(com3), prolific);
  EXPECT_EQ(screen->lDispositivo->text(), "Dispositivo: " + prolific + " (enlace puertos/com3), presente");

  // An old link is replaced.
  list->setCurrentRow(2);
  screen->adapters->cAsignar->click();
  EXPECT_EQ(QFile::symLinkTarget(com3), platform_.PathOf("dev/ttyS1"));
  EXPECT_TRUE(Shown().isEmpty());
  EXPECT_EQ(ServiceSettings.ComPort, 3);  // the port follows the selector at once

  // The adapter unplugged and the list asked again: it is gone from the list. Without
  // sysfs the ports are opened and asked: plain files are no UART.
  ASSERT_TRUE(QFile::remove(ftdi));
  screen->adapters->cActualizar->click();
  EXPECT_EQ(list->count(), 3);
  AdapterList::Scan().sysTtyFolder = platform_.PathOf("no-sys");
  screen->adapters->cActualizar->click();
  EXPECT_EQ(list->count(), 1);

  // A link to a device that is gone; the entries themselves stay as they were.
  ASSERT_TRUE(QFile::remove(platform_.PathOf("dev/ttyS1")));
  screen->cboPort->setCurrentIndex(3);
  screen->cboPort->setCurrentIndex(2);
  EXPECT_EQ(screen->lDispositivo->text(),
            "Dispositivo: " + platform_.PathOf("dev/ttyS1") + " (enlace puertos/com3), no encontrado");
}

TEST_F(AdapterListTest, AUserOutsideDialoutIsToldWhatToDoAndABlockedPortFolderIsReported) {
  AdapterList::Scan().accessError = [this](const QString& device) {
    return device == platform_.PathOf("dev/ttyUSB1") ? EACCES : 0;
  };
  platform_.Write("puertos", "");  // a plain file where the folder goes
  auto* screen = Open<fconfserv>();
  EXPECT_FALSE(screen->adapters->lPermiso->isHidden());
  EXPECT_EQ(screen->adapters->lPermiso->text(),
            QString::fromUtf8("Su usuario no tiene permiso para abrir los puertos serie (no pertenece al grupo "
                              "dialout). Para obtenerlo, ejecute en un terminal: sudo adduser $USER dialout y "
                              "después cierre la sesión del escritorio y vuelva a entrar."));
  screen->adapters->lstAdaptadores->setCurrentRow(0);
  screen->adapters->cAsignar->click();
  EXPECT_EQ(Shown(), (QList<testing_support::ShownBox>{SystemWarning(EEXIST)}));

  AdapterList::Scan().byIdFolder = platform_.PathOf("none");
  AdapterList::Scan().sysTtyFolder = platform_.PathOf("none");
  AdapterList::Scan().devFolder = platform_.PathOf("none");
  screen->adapters->cActualizar->click();
  ASSERT_EQ(screen->adapters->lstAdaptadores->count(), 1);
  EXPECT_EQ(screen->adapters->lstAdaptadores->item(0)->text(),
            QString::fromUtf8("No se ha encontrado ningún adaptador serie"));
  EXPECT_FALSE(screen->adapters->cAsignar->isEnabled());
}

}  // namespace
