#include <gtest/gtest.h>

#include <QDir>

#include "CliRun.h"
#include "cli/SubscriberList.h"
#include "config/ConfigExamples.h"
#include "platform/Cp1252.h"
#include "support/TestPlatform.h"

using cli_testing::RunProgram;
using testing_support::TestPlatform;

namespace {

const QString kFile = QStringLiteral("Configuraciones/900123456.cfg");
const char kSavedLine[] = "Salvar...: Fichero de configuración almacenado\n";

// A folder with conf_gen.dat as the service settings screen saves it (the Efficient
// example's settings, or the Alcatel ones), and a stored subscriber file when one is named.
void Prepare(const TestPlatform& platform, bool alcatel, const QString& stored = {}) {
  platform.Write(QStringLiteral("conf_gen.dat"),
                 alcatel ? " 1 \r\n203\r\n0\r\n113\r\n192\r\n255\r\n255\r\n255\r\n240\r\n"
                           "203\r\n0\r\n113\r\n10\r\n8\r\n32\r\n9\r\n9\r\n"
                         : " 1 \r\n198\r\n51\r\n100\r\n0\r\n255\r\n255\r\n255\r\n240\r\n"
                           "192\r\n0\r\n2\r\n53\r\n8\r\n32\r\n9\r\n9\r\n");
  if (stored.isEmpty()) return;  // the folder for the files is made by the save
  ASSERT_TRUE(QDir(platform.Dir()).mkpath(QStringLiteral("Configuraciones")));
  platform.Write(stored, "stored\r\n");
}

// `generar` with, in this order, the model, mode, phone, user address and mask, modem
// address and mask, and modality; "-" leaves one out.
QStringList Generate(const char* values) {
  const char* options[] = {"--modelo",         "--modo",     "--telefono",      "--ip-usuario",
                           "--mascara-usuario", "--ip-modem", "--mascara-modem", "--modalidad"};
  QStringList args{QStringLiteral("generar")};
  const QStringList parts = QString::fromLatin1(values).split(QLatin1Char(' '));
  for (qsizetype i = 0; i < parts.size(); ++i) {
    if (parts[i] != QLatin1String("-")) args << QString::fromLatin1(options[i]) << parts[i];
  }
  return args;
}

const char kEfficient[] = "efficient dhcp 900123456 192.0.2.13 255.255.255.248 10.1.1.6 255.255.255.252 Estandar";

// The built program writes the same files as the screens, byte for byte, for each model,
// mode and modality; what the boxes or the save refuse, with their messages and nothing written;
// a stored file kept unless replacing is asked for; wrong command lines of both orders,
// with the pointer to the help. Octets with leading zeros are taken as the boxes leave
// them, and omitted values are the screens' initial ones (the NAPT examples use the
// NAPT screen's modem side).
TEST(CommandLine, WritesTheScreensFilesAndRefusesWhatTheyRefuse) {
  const struct {
    QStringList args;
    int status;
    const char* err;
    const char* reference;  // the file written, or none: the folder as it was
    bool alcatel = false;
    bool stored = false;
  } cases[] = {
      {Generate("efficient dhcp 900123456 192.000.2.013 255.255.255.248 10.1.1.6 255.255.255.252 Estandar"),
       cli::kExitOk, kSavedLine, "efficient-dhcp.ref"},
      {Generate("office dhcp 900123456 192.0.2.66 255.255.255.248 198.51.100.42 255.255.255.252 Premium"),
       cli::kExitOk, kSavedLine, "office-dhcp.ref", true},
      {Generate("office napt 900123456 192.0.2.65 255.255.255.252"), cli::kExitOk, kSavedLine, "office-napt.ref",
       true},
      {Generate("pro dhcp 900123456 192.0.2.66 255.255.255.248 198.51.100.42 255.255.255.252 Class"), cli::kExitOk,
       kSavedLine, "pro-dhcp.ref", true},
      {Generate("efficient dhcp 90012345 192.0.2.13 255.255.255.248 10.1.1.6 255.255.255.252 Estandar"),
       cli::kExitRefused,
       "Error: Formato no válido: El número de teléfono debe contener entre 9 y 9 dígitos\n(--telefono 90012345)\n",
       nullptr},
      {Generate("efficient dhcp 9001234-5 192.0.2.13 255.255.255.248 10.1.1.6 255.255.255.252 Estandar"),
       cli::kExitRefused,
       "Error: Formato no válido: Sólo se permite introducir números entre 0 y 9\n(--telefono 9001234-5)\n", nullptr},
      {Generate("efficient dhcp 900123456 192.0.2.13 255.255.255.248 10.1.1.6 255.255.255.256 Estandar"),
       cli::kExitRefused,
       "Formato no válido: Se debe introducir un número comprendido entre 0 y 255\n"
       "(--mascara-modem 255.255.255.256)\n",
       nullptr},
      {Generate("efficient dhcp 900123456 192.0.2 255.255.255.248 10.1.1.6 255.255.255.252 Estandar"),
       cli::kExitRefused,
       "Información incompleta: Dirección IP de Usuario incorrecta. Asegurese de que se han rellenado todos los "
       "campos\n",
       nullptr},
      {Generate("efficient dhcp 900123456 192.0.2.13 255.255.255.248 10.1.1.6 255.255.255.252 Oro"),
       cli::kExitRefused, "Error: Modalidad desconocida: use Estandar, Class o Premium\n(--modalidad Oro)\n",
       nullptr},
      {Generate(kEfficient), cli::kExitRefused,
       "Configuración ya existente: Ya ha sido almacenada una configuración para este abonado, ¿Desea "
       "sobreescribirla ?\nSe conserva el fichero existente; use --sobrescribir para reemplazarlo.\n",
       nullptr, false, true},
      {Generate(kEfficient) << "--sobrescribir", cli::kExitOk,
       "Configuración ya existente: Ya ha sido almacenada una configuración para este abonado, ¿Desea "
       "sobreescribirla ?\nSalvar...: Fichero de configuración almacenado\n",
       "efficient-dhcp.ref", false, true},
      {{"generar", "--color"}, cli::kExitUsage, "opción desconocida «--color»", nullptr},
      {{"generar", "--dir", "/nonexistent/x", "--modelo"}, cli::kExitUsage, "falta el valor de --modelo", nullptr},
      {{"generar", "--modo", "dhcp"}, cli::kExitUsage, "falta --modelo", nullptr},
      {{"generar", "--lote", "a.csv", "--modelo", "pro"}, cli::kExitUsage,
       "--modelo no se usa con --lote: cada fila lleva sus datos", nullptr},
      {{"generar", "--sobrescribir=si"}, cli::kExitUsage, "la opción --sobrescribir no lleva valor", nullptr},
      {{"generar", "--modelo", "pro", "--modelo", "office"}, cli::kExitUsage,
       "la opción --modelo aparece más de una vez", nullptr},
      {{"borrar"}, cli::kExitUsage, "orden desconocida «borrar»", nullptr},
      {{"generar", "--dir", "/nonexistent/x"}, cli::kExitUsage, "no existe la carpeta «/nonexistent/x» (--dir)",
       nullptr},
      // A load that names no modem, or two sessions that would share a port or a log.
      {{"cargar"}, cli::kExitUsage, "falta el teléfono del abonado", nullptr},
      {{"cargar", "900000003", "900000004"}, cli::kExitUsage, "argumento de más: «900000004»", nullptr},
      {{"cargar", "900000003", "--puerto", "3=900000003"}, cli::kExitUsage,
       "con el teléfono como argumento va como mucho un --puerto N", nullptr},
      {{"cargar", "--puerto", "3"}, cli::kExitUsage, "se espera --puerto N=TELÉFONO, no «3»", nullptr},
      {{"cargar", "--puerto", "0=900000003"}, cli::kExitUsage, "se espera --puerto N=TELÉFONO, no «0=900000003»",
       nullptr},
      {{"cargar", "--puerto", "3=900000003", "--puerto", "3=900000004"}, cli::kExitUsage,
       "el puerto 3 aparece más de una vez", nullptr},
      {{"cargar", "--puerto", "3=900000003", "--puerto", "4=900000003"}, cli::kExitUsage,
       "el teléfono 900000003 aparece más de una vez", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
    TestPlatform platform;
    Prepare(platform, c.alcatel, c.stored ? kFile : QString());
    QStringList args = c.args;
    if (!args.contains(QStringLiteral("--dir"))) args << QStringLiteral("--dir") << platform.Dir();
    const auto outcome = RunProgram(args);
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_EQ(outcome.err, c.status != cli::kExitUsage
                               ? QString::fromUtf8(c.err)
                               : QString::fromUtf8("configurador-adsl: %1\nUse «configurador-adsl --help» para ver "
                                                   "las órdenes y sus opciones.\n")
                                     .arg(QString::fromUtf8(c.err)));
    EXPECT_EQ(outcome.out, c.reference ? platform.PathOf(kFile) + QLatin1Char('\n') : QString());
    if (c.reference) {
      const QByteArray reference = config_examples::Golden(c.reference);
      ASSERT_FALSE(reference.isEmpty());
      EXPECT_EQ(platform.Read(kFile), reference);
    } else {  // nothing written, nothing made
      EXPECT_EQ(platform.Read(kFile), c.stored ? QByteArray("stored\r\n") : QByteArray());
      EXPECT_EQ(QDir(platform.Dir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                (c.stored ? QStringList{"conf_gen.dat", "Configuraciones"} : QStringList{"conf_gen.dat"}));
    }
  }
}

// What the two lists below do not show: UTF-8 without a byte order mark, UTF-16, a
// header that settles the separator, quoted fields across lines, loose column names.
TEST(SubscriberList, DecodesSeparatesAndSplitsAsSpreadsheetsWrite) {
  EXPECT_EQ(cli::DecodeListText("Tel\xC3\xA9" "fono"), QStringLiteral("Teléfono"));
  EXPECT_EQ(cli::DecodeListText(QByteArray("\xFF\xFET\0\xE9\0\t\0", 8)), QStringLiteral("T\u00E9\t"));
  EXPECT_EQ(cli::DetectSeparator(QStringLiteral("a;b,c;d\n1,2,3,4,5")), QLatin1Char(';'));

  QList<QStringList> records;
  ASSERT_TRUE(cli::ParseRecords(QStringLiteral("a;\"b;c\";\"d\"\"e\"\r\n\"two\nlines\";\r;x\n"), QLatin1Char(';'),
                                &records));
  EXPECT_EQ(records, (QList<QStringList>{{"a", "b;c", "d\"e"}, {"two\nlines", ""}, {"", "x"}}));
  EXPECT_FALSE(cli::ParseRecords(QStringLiteral("a;\"b\nc;d\n"), QLatin1Char(';'), &records));

  EXPECT_EQ(cli::ColumnKey(QStringLiteral(" Teléfono ")), QStringLiteral("telefono"));
  EXPECT_EQ(cli::ColumnKey(QStringLiteral("Máscara del Módem")), QStringLiteral("mascara_modem"));
}

// A spreadsheet's semicolon export in Windows-1252 with good, refused, duplicate,
// stored and blank rows: every good row is written whatever the others hold. A comma
// export in UTF-8 with a byte order mark, told to replace a stored file.
TEST(GenerateList, WritesTheGoodRowsAndReportsEveryRow) {
  const struct {
    QByteArray list;
    bool replace;
    const char* stored;
    int status;
    const char* out;
    const char* err;
    int files;
  } cases[] = {
      {platform::ToCp1252(QStringLiteral(
           "Teléfono;Modelo;Modo;IP usuario;Máscara usuario;IP módem;Máscara módem;Notas\r\n"
           "900123456;efficient;DHCP;192.0.2.13;255.255.255.248;10.1.1.6;255.255.255.252;Pérez\r\n"
           "90012345;office;napt;192.0.2.65;255.255.255.252;;;\r\n"
           "900123456;office;napt;192.0.2.65;255.255.255.252;;;\r\n"
           ";;;;;;;\r\n"
           "900000005;office;napt;192.0.2.65;255.255.255.252;;;\r\n"
           "900000007;\"Alcatel Speed Touch Pro\";napt;192.0.2.65;255.255.255.252;;;\"a; b\"\r\n"
           "900000008;pro;dhcp;192.0.2.66;255.255.255.248;198.51.100.42;255.255.254.0;\r\n")),
       false, "Configuraciones/900000005.cfg", cli::kExitRefused,
       "Fila 2 (900123456): escrito Configuraciones/900123456.cfg\n"
       "Fila 3 (90012345): rechazada: Error: Formato no válido: El número de teléfono debe contener entre 9 y 9 "
       "dígitos (columna Teléfono: «90012345»)\n"
       "Fila 4 (900123456): rechazada: el teléfono ya aparece en la fila 2\n"
       "Fila 6 (900000005): se conserva el fichero existente (use --sobrescribir para reemplazarlo)\n"
       "Fila 7 (900000007): escrito Configuraciones/900000007.cfg\n"
       "Fila 8 (900000008): rechazada: Error: La máscara de WAN no puede ser superior a una clase C La máscara no "
       "puede ser inferior a 24 bits\n"
       "Resumen: filas 6, escritos 2, conservados 1, rechazados 3\n",
       "Se ignora la columna «Notas».\n", 3},
      {"\xEF\xBB\xBF" "TEL\xC3\x89" "FONO,modelo,modo,ip_usuario,mascara_usuario,ip_modem,mascara_modem,modalidad\n"
       "900123456,efficient,dhcp,192.0.2.13,255.255.255.248,10.1.1.6,255.255.255.252,Est\xC3\xA1ndar\n",
       true, "Configuraciones/900123456.cfg", cli::kExitOk,
       "Fila 2 (900123456): escrito Configuraciones/900123456.cfg\n"
       "Resumen: filas 1, escritos 1, conservados 0, rechazados 0\n",
       "", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.replace);
    TestPlatform platform;
    Prepare(platform, false, QString::fromLatin1(c.stored));
    platform.Write(QStringLiteral("lista.csv"), c.list);
    QStringList args{QStringLiteral("generar"), QStringLiteral("--lote"), platform.PathOf(QStringLiteral("lista.csv"))};
    if (c.replace) args << QStringLiteral("--sobrescribir");
    const auto outcome = RunProgram(args << QStringLiteral("--dir") << platform.Dir());
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_EQ(outcome.out, QString::fromUtf8(c.out));
    EXPECT_EQ(outcome.err, QString::fromUtf8(c.err));
    EXPECT_EQ(platform.Read(kFile), config_examples::Golden("efficient-dhcp.ref"));
    EXPECT_EQ(platform.Read(QString::fromLatin1(c.stored)),
              c.replace ? config_examples::Golden("efficient-dhcp.ref") : QByteArray("stored\r\n"));
    EXPECT_EQ(platform.Read(QStringLiteral("Configuraciones/900000007.cfg"))
                  .contains("\r\nIP de Ethernet del m\xF3" "dem: 172.16.0.1\r\n"),
              !c.replace);
    EXPECT_EQ(QDir(platform.PathOf(QStringLiteral("Configuraciones")))
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                  .size(),
              c.files);
  }
}

}  // namespace
