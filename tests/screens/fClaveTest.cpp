#include <gtest/gtest.h>

#include <QFile>
#include <QPushButton>

#include <sys/stat.h>

#include <cerrno>

#include "core/Def_Globales.h"
#include "screens/fClave.h"
#include "WindowDriving.h"

using namespace window_driving;
using platform::MsgIcon;
using Boxes = QList<testing_support::ShownBox>;

namespace {

const auto kNullQuestion = Box("Ha introducido un valor nulo para la clave de acceso, ¿Desea continuar?",
                               "Clave nula", MsgIcon::Exclamation, platform::MsgButtons::YesNo);
const auto kMismatch =
    Box("Las claves introducidas no coinciden. \r\nCompruebe que la clave y su confirmación coinciden",
        "La repetición de la clave no coincide", MsgIcon::Exclamation);
const auto kChanged = Box("La clave de acceso a los módems ADSL ha sido modificada",
                          "Clave de acceso modificada", MsgIcon::Information);

class FClaveTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    ServiceSettings.AccessPassword = QStringLiteral("tarnimol");
    s_ = Open<fClave>();
  }
  void Save(const QString& password, const QString& confirmation) {
    TypeInto(s_->tClave, password);
    TypeInto(s_->tConfirmar, confirmation);
    QTest::mouseClick(s_->cSalvar, Qt::LeftButton);
  }
  // Focus back in the password box, all of it selected for retyping.
  void ExpectPasswordSelected() const {
    EXPECT_EQ(FocusName(), "tClave");
    EXPECT_EQ(s_->tClave->selectedText(), s_->tClave->text());
  }

  fClave* s_ = nullptr;
};

TEST_F(FClaveTest, TheBoxesTakeFourteenCharactersSelectOnEntryAndEnterPressesTheFocusedButton) {
  EXPECT_EQ(FocusName(), "tClave");
  QTest::keyClicks(s_->tClave, "abcdefghijklmnop");
  EXPECT_EQ(s_->tClave->text(), "abcdefghijklmn");
  Tab();
  QTest::keyClicks(s_->tConfirmar, "abc");
  QTest::keyClick(s_->tConfirmar, Qt::Key_Backtab);
  EXPECT_EQ(s_->tClave->selectedText(), "abcdefghijklmn");
  Tab();
  Tab();
  Tab();
  ASSERT_EQ(FocusName(), "cVolver");
  QTest::keyClick(s_->cVolver, Qt::Key_Return);
  Settle();
  EXPECT_EQ(OnlyVisibleWindow(), menu_.data());
  EXPECT_TRUE(Shown().isEmpty());
}

// A confirmation that differs, even in letter case, is refused; an empty password is
// stored only when the user says so.
TEST_F(FClaveTest, AMismatchOrAnUnconfirmedEmptyPasswordStoresNothing) {
  for (const auto& [password, confirmation] : {std::pair{"Secreto9", "secreto9"}, {"", "x"}, {"clave", ""}}) {
    SCOPED_TRACE(password);
    platform_.boxes.shown.clear();
    Save(QString::fromLatin1(password), QString::fromLatin1(confirmation));
    EXPECT_EQ(Shown(), *password ? Boxes{kMismatch} : (Boxes{kNullQuestion, kMismatch}));
    ExpectPasswordSelected();
  }
  platform_.boxes.Answer(platform::MsgAnswer::No);
  Save("", "");
  EXPECT_EQ(Shown().back(), kNullQuestion);
  EXPECT_FALSE(QFile::exists(platform_.PathOf("claves.dat")));
  EXPECT_EQ(ServiceSettings.AccessPassword, "tarnimol");
  QTest::mouseClick(s_->cSalvar, Qt::LeftButton);  // answered Yes this time
  EXPECT_EQ(Shown().back(), kChanged);
  EXPECT_EQ(platform_.Read("claves.dat"), "\r\n");
  EXPECT_EQ(ServiceSettings.AccessPassword, "");
}

// A line break or a character Windows-1252 lacks never gets in, typed or pasted.
TEST_F(FClaveTest, ASavedPasswordIsInForceAndReadableByItsOwnerOnly) {
  const QString password = QString::fromUtf8("Año€ 2x");
  s_->tClave->insert(QStringLiteral("ab\r\nreboot"));  // a paste would split the file's line
  EXPECT_EQ(s_->tClave->text(), "");
  TypeText(s_->tClave, QString::fromUtf8("AñoΩ€ 2x"));
  EXPECT_EQ(s_->tClave->text(), password);
  Tab();
  TypeText(s_->tConfirmar, password);
  QTest::keyClick(s_->tConfirmar, Qt::Key_Return);
  EXPECT_EQ(Shown(), Boxes{kChanged});
  EXPECT_EQ(ServiceSettings.AccessPassword, password);
  EXPECT_EQ(platform_.Read("claves.dat"), QByteArray("A\xF1o\x80 2x\r\n"));
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(platform_.PathOf("claves.dat")).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

// The old file stays whole, and the old password in force.
TEST_F(FClaveTest, AFailedSaveShowsBothMessagesAndKeepsTheOldPassword) {
  platform_.Write("claves.dat", "antigua\r\n");
  platform::FixedAppDirectory blocked(platform_.PathOf("claves.dat"));  // a file, not a folder
  platform::Current().appDirectory = &blocked;
  Save("nueva", "nueva");
  EXPECT_EQ(Shown(), (Boxes{SystemWarning(ENOTDIR),
                            Box("No se ha podido almacenar la clave. \r\nCompruebe que dispone de los "
                                "permisos adecuados",
                                "Error almacenando clave de acceso", MsgIcon::Exclamation)}));
  EXPECT_EQ(ServiceSettings.AccessPassword, "tarnimol");
  EXPECT_EQ(platform_.Read("claves.dat"), "antigua\r\n");
  ExpectPasswordSelected();
}

}  // namespace
