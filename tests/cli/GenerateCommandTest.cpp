#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTextStream>

#include "cli/CommandLine.h"
#include "cli/SubscriberList.h"
#include "config/ConfigExamples.h"
#include "platform/Cp1252.h"
#include "platform/TextFile.h"
#include "support/TestPlatform.h"

using namespace config_examples;
using testing_support::TestPlatform;

namespace {

const QString kFile = QStringLiteral("Configuraciones/900123456.cfg");

// The screens' golden files, the bytes that go to disk.
QByteArray Reference(const char* name) {
  QFile file(QStringLiteral(ADSL_GOLDEN_DIR "/") + QString::fromLatin1(name));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// conf_gen.dat holding these settings, as the service settings screen saves it.
QByteArray SettingsFile(const ServiceSettingsRecord& s) {
  QStringList lines{QStringLiteral(" 1 ")};
  for (const Octets* quad : {&s.EdcNetwork, &s.EdcMask, &s.DnsServer}) {
    for (std::int16_t octet : *quad) lines << QString::number(octet);
  }
  for (int value : {s.AtmCircuit.Vpi, s.AtmCircuit.Vci, s.PhoneMinDigits, s.PhoneMaxDigits}) {
    lines << QString::number(value);
  }
  return platform::EncodeLines(lines);
}

struct Outcome {
  int status;
  QString out;
  QString err;
};

// The command line run in this process.
Outcome RunArgs(const QStringList& args) {
  QString out;
  QString err;
  QTextStream outStream(&out);
  QTextStream errStream(&err);
  cli::Console console{outStream, errStream};
  const int status = cli::Run(args, console);
  outStream.flush();
  errStream.flush();
  return {status, out, err};
}

// The same on the test's folder.
Outcome RunIn(const TestPlatform& platform, QStringList args) {
  return RunArgs(args << QStringLiteral("--dir") << platform.Dir());
}

QString Dotted(const TypedQuad& quad) {
  return QStringList(quad.begin(), quad.end()).join(QLatin1Char('.'));
}

// `generar` with every field of the data, as the screen holds it.
QStringList GenerateArgs(const char* model, DataScreen screen, const SubscriberData& data) {
  const QString modality = data.oPremium ? QStringLiteral("Premium")
                           : data.oClass ? QStringLiteral("Class")
                                         : QStringLiteral("Estandar");
  const QString mode = screen == DataScreen::Dhcp ? QStringLiteral("dhcp") : QStringLiteral("napt");
  return QStringList{"generar", "--modelo", QString::fromLatin1(model), "--modo", mode}
         << "--telefono" << data.Phone << "--ip-usuario" << Dotted(data.UserIp)
         << "--mascara-usuario" << Dotted(data.UserMask) << "--ip-modem" << Dotted(data.ModemIp)
         << "--mascara-modem" << Dotted(data.ModemMask) << "--modalidad" << modality;
}

// Drops options and their values.
QStringList Without(QStringList args, std::initializer_list<const char*> options) {
  for (const char* option : options) {
    const qsizetype at = args.indexOf(QString::fromLatin1(option));
    if (at >= 0) args.remove(at, 2);
  }
  return args;
}

QStringList With(QStringList args, const char* option, const char* value) {
  return Without(args, {option}) << QString::fromLatin1(option) << QString::fromUtf8(value);
}

const QString kSavedLine = QStringLiteral("Salvar...: Fichero de configuración almacenado\n");

QStringList EfficientDhcpArgs() {
  return GenerateArgs("efficient", DataScreen::Dhcp, EfficientSubscriber(DataScreen::Dhcp));
}

// The same files as the screens write, byte for byte, for the six variants. Octets
// with leading zeros are taken as the boxes leave them, and omitted values are the
// screens' initial ones (the NAPT examples use the NAPT screen's modem side).
TEST(GenerateCommand, WritesTheScreensFiles) {
  SubscriberData officeDhcp = AlcatelDhcpSubscriber(kSpeedTouchOffice);
  Select(officeDhcp, false, false, true);
  SubscriberData proDhcp = AlcatelDhcpSubscriber(kSpeedTouchPro);
  Select(proDhcp, false, true, false);
  SubscriberData proNapt = AlcatelNaptSubscriber(kSpeedTouchPro);
  Select(proNapt, false, false, true);
  const auto napt = DataScreen::Napt;
  const struct {
    const char* reference;
    ServiceSettingsRecord settings;
    QStringList args;
  } cases[] = {
      {"efficient-dhcp.ref", EfficientSettings(),
       With(EfficientDhcpArgs(), "--ip-usuario", "192.000.2.013")},
      {"efficient-napt.ref", EfficientSettings(),
       GenerateArgs("efficient", napt, EfficientSubscriber(napt))},
      {"office-dhcp.ref", AlcatelSettings(), GenerateArgs("office", DataScreen::Dhcp, officeDhcp)},
      {"office-napt.ref", AlcatelSettings(),
       Without(GenerateArgs("office", napt, AlcatelNaptSubscriber(kSpeedTouchOffice)),
               {"--ip-modem", "--mascara-modem", "--modalidad"})},
      {"pro-dhcp.ref", AlcatelSettings(), GenerateArgs("pro", DataScreen::Dhcp, proDhcp)},
      {"pro-napt.ref", AlcatelSettings(), GenerateArgs("pro", napt, proNapt)},
  };
  for (const auto& c : cases) {
    TestPlatform platform;
    platform.Write(QStringLiteral("conf_gen.dat"), SettingsFile(c.settings));
    const Outcome outcome = RunIn(platform, c.args);
    EXPECT_EQ(outcome.status, cli::kExitOk) << c.reference;
    EXPECT_EQ(outcome.err, kSavedLine) << c.reference;
    EXPECT_EQ(outcome.out, platform.PathOf(kFile) + QLatin1Char('\n')) << c.reference;
    const QByteArray reference = Reference(c.reference);
    ASSERT_FALSE(reference.isEmpty()) << c.reference;
    EXPECT_EQ(platform.Read(kFile), reference) << c.reference;
  }
}

// What the boxes or the save refuse, with their messages, and nothing written.
TEST(GenerateCommand, RefusesWhatTheScreensRefuse) {
  const struct {
    QStringList args;
    const char* err;
  } cases[] = {
      {Without(EfficientDhcpArgs(), {"--telefono"}),
       "Error: El número de teléfono del abonado no es valido o no ha sido rellenado\n"},
      {With(EfficientDhcpArgs(), "--telefono", "90012345"),
       "Error: Formato no válido: El número de teléfono debe contener entre 9 y 9 "
       "dígitos\n(--telefono 90012345)\n"},
      {With(EfficientDhcpArgs(), "--telefono", "9001234-5"),
       "Error: Formato no válido: Sólo se permite introducir números entre 0 y 9\n(--telefono "
       "9001234-5)\n"},
      {With(EfficientDhcpArgs(), "--mascara-modem", "255.255.255.256"),
       "Formato no válido: Se debe introducir un número comprendido entre 0 y 255\n"
       "(--mascara-modem 255.255.255.256)\n"},
      {With(EfficientDhcpArgs(), "--ip-usuario", "192.0.2"),
       "Información incompleta: Dirección IP de Usuario incorrecta. Asegurese de que se han "
       "rellenado todos los "
       "campos\n"},
      {With(With(EfficientDhcpArgs(), "--modelo", "pro"), "--mascara-modem", "255.255.254.0"),
       "Error: La máscara de WAN no puede ser superior a una clase C\nLa máscara no puede ser "
       "inferior a 24 bits\n"},
      {With(EfficientDhcpArgs(), "--modalidad", "Oro"),
       "Error: Modalidad desconocida: use Estandar, Class o Premium\n(--modalidad Oro)\n"},
  };
  for (const auto& c : cases) {
    TestPlatform platform;
    const Outcome outcome = RunIn(platform, c.args);
    EXPECT_EQ(outcome.status, cli::kExitRefused) << c.err;
    EXPECT_EQ(outcome.err, QString::fromUtf8(c.err));
    EXPECT_EQ(outcome.out, QString());
    EXPECT_FALSE(platform::EntryExists(platform.PathOf(kFile))) << c.err;
  }
}

TEST(GenerateCommand, KeepsAStoredFileUnlessToldToReplaceIt) {
  TestPlatform platform;
  ASSERT_TRUE(QDir(platform.Dir()).mkpath(QStringLiteral("Configuraciones")));
  platform.Write(kFile, "previous\r\n");
  const QString question = QStringLiteral(
      "Configuración ya existente: Ya ha sido almacenada una configuración para este abonado, "
      "¿Desea "
      "sobreescribirla ?\n");

  Outcome outcome = RunIn(platform, EfficientDhcpArgs());
  EXPECT_EQ(outcome.status, cli::kExitRefused);
  EXPECT_EQ(outcome.err,
            question + QStringLiteral("Se conserva el fichero existente; use --sobrescribir para "
                                      "reemplazarlo.\n"));
  EXPECT_EQ(platform.Read(kFile), QByteArray("previous\r\n"));

  outcome = RunIn(platform, EfficientDhcpArgs() << QStringLiteral("--sobrescribir"));
  EXPECT_EQ(outcome.status, cli::kExitOk);
  EXPECT_EQ(outcome.err, question + kSavedLine);
  EXPECT_TRUE(platform.Read(kFile).startsWith("Configuraci\xF3n DHCP para Efficient SS5660\r\n"));
}

TEST(GenerateCommand, WrongCommandLinesAreUsageErrors) {
  const struct {
    QStringList args;
    const char* firstLine;
  } cases[] = {
      {{"generar", "--color"}, "configurador-adsl: opción desconocida «--color»"},
      {{"generar", "--modo", "dhcp"}, "configurador-adsl: falta --modelo"},
      {{"generar", "--lote", "a.csv", "--modelo", "pro"},
       "configurador-adsl: --modelo no se usa con --lote"},
      {{"generar", "--sobrescribir=si"},
       "configurador-adsl: la opción --sobrescribir no lleva valor"},
      {{"generar", "--modelo", "pro", "--modelo", "office"},
       "configurador-adsl: la opción --modelo aparece más"},
      {{"borrar"}, "configurador-adsl: orden desconocida «borrar»"},
      {{"generar", "--dir", "/nonexistent/x"},
       "configurador-adsl: no existe la carpeta «/nonexistent/x» (--dir)"},
  };
  for (const auto& c : cases) {
    const Outcome outcome = RunArgs(c.args);
    EXPECT_EQ(outcome.status, cli::kExitUsage) << c.firstLine;
    EXPECT_TRUE(outcome.err.startsWith(QString::fromUtf8(c.firstLine)))
        << outcome.err.toStdString();
    EXPECT_TRUE(outcome.err.contains(QStringLiteral("configurador-adsl --help")));
  }
}

TEST(SubscriberList, DecodesSeparatesAndSplitsAsSpreadsheetsWrite) {
  EXPECT_EQ(cli::DecodeListText("Tel\xE9"
                                "fono;M\xE1scara"),
            QStringLiteral("Teléfono;Máscara"));
  EXPECT_EQ(cli::DecodeListText("\xEF\xBB\xBFTel\xC3\xA9"
                                "fono"),
            QStringLiteral("Teléfono"));
  EXPECT_EQ(cli::DecodeListText("Tel\xC3\xA9"
                                "fono"),
            QStringLiteral("Teléfono"));
  EXPECT_EQ(cli::DecodeListText(QByteArray("\xFF\xFET\0\xE9\0\t\0", 8)),
            QStringLiteral("T\u00E9\t"));
  EXPECT_EQ(cli::DetectSeparator(QStringLiteral("a;b,c;d\n1,2,3,4,5")), QLatin1Char(';'));
  EXPECT_EQ(cli::DetectSeparator(QStringLiteral("a,b\r\n")), QLatin1Char(','));

  QList<QStringList> records;
  ASSERT_TRUE(cli::ParseRecords(QStringLiteral("a;\"b;c\";\"d\"\"e\"\r\n\"two\nlines\";\r;x\n"),
                                QLatin1Char(';'), &records));
  EXPECT_EQ(records, (QList<QStringList>{{"a", "b;c", "d\"e"}, {"two\nlines", ""}, {"", "x"}}));
  EXPECT_FALSE(cli::ParseRecords(QStringLiteral("a;\"b\nc;d\n"), QLatin1Char(';'), &records));

  EXPECT_EQ(cli::ColumnKey(QStringLiteral(" Teléfono ")), QStringLiteral("telefono"));
  EXPECT_EQ(cli::ColumnKey(QStringLiteral("Máscara del Módem")), QStringLiteral("mascara_modem"));
  EXPECT_EQ(cli::ColumnKey(QStringLiteral("IP-USUARIO")), QStringLiteral("ip_usuario"));
}

// A spreadsheet's semicolon export in Windows-1252: good, refused, duplicate, stored
// and blank rows; every good row is written whatever the others hold.
TEST(GenerateList, WritesTheGoodRowsAndReportsEveryRow) {
  TestPlatform platform;
  platform.Write(QStringLiteral("conf_gen.dat"), SettingsFile(EfficientSettings()));
  ASSERT_TRUE(QDir(platform.Dir()).mkpath(QStringLiteral("Configuraciones")));
  platform.Write(QStringLiteral("Configuraciones/900000005.cfg"), "stored\r\n");
  platform.Write(
      QStringLiteral("lista.csv"),
      platform::ToCp1252(QStringLiteral(
          "Teléfono;Modelo;Modo;IP usuario;Máscara usuario;IP módem;Máscara módem;Notas\r\n"
          "900123456;efficient;DHCP;192.0.2.13;255.255.255.248;10.1.1.6;255.255.255.252;Pérez\r\n"
          "90012345;office;napt;192.0.2.65;255.255.255.252;;;\r\n"
          "900123456;office;napt;192.0.2.65;255.255.255.252;;;\r\n"
          ";;;;;;;\r\n"
          "900000005;office;napt;192.0.2.65;255.255.255.252;;;\r\n"
          "900000007;\"Alcatel Speed Touch Pro\";napt;192.0.2.65;255.255.255.252;;;\"a; b\"\r\n"
          "900000008;pro;dhcp;192.0.2.66;255.255.255.248;198.51.100.42;255.255.254.0;\r\n")));
  const Outcome outcome = RunIn(platform, {QStringLiteral("generar"), QStringLiteral("--lote"),
                                           platform.PathOf(QStringLiteral("lista.csv"))});
  EXPECT_EQ(outcome.status, cli::kExitRefused);
  EXPECT_EQ(outcome.out,
            QStringLiteral("Fila 2 (900123456): escrito Configuraciones/900123456.cfg\n"
                           "Fila 3 (90012345): rechazada: Error: Formato no válido: El número de "
                           "teléfono debe contener entre 9 "
                           "y 9 dígitos (columna Teléfono: «90012345»)\n"
                           "Fila 4 (900123456): rechazada: el teléfono ya aparece en la fila 2\n"
                           "Fila 6 (900000005): se conserva el fichero existente (use "
                           "--sobrescribir para reemplazarlo)\n"
                           "Fila 7 (900000007): escrito Configuraciones/900000007.cfg\n"
                           "Fila 8 (900000008): rechazada: Error: La máscara de WAN no puede ser "
                           "superior a una clase C La "
                           "máscara no puede ser inferior a 24 bits\n"
                           "Resumen: filas 6, escritos 2, conservados 1, rechazados 3\n"));
  EXPECT_EQ(outcome.err, QStringLiteral("Se ignora la columna «Notas».\n"));
  EXPECT_EQ(platform.Read(kFile), Reference("efficient-dhcp.ref"));
  EXPECT_EQ(platform.Read(QStringLiteral("Configuraciones/900000005.cfg")),
            QByteArray("stored\r\n"));
  EXPECT_TRUE(platform.Read(QStringLiteral("Configuraciones/900000007.cfg"))
                  .contains("\r\nIP de Ethernet del m\xF3"
                            "dem: 172.16.0.1\r\n"));
  EXPECT_EQ(QDir(platform.PathOf(QStringLiteral("Configuraciones")))
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                .size(),
            3);
}

// A comma export in UTF-8 with a byte order mark, replacing a stored file.
TEST(GenerateList, ReplacesStoredFilesWhenTold) {
  TestPlatform platform;
  platform.Write(QStringLiteral("conf_gen.dat"), SettingsFile(EfficientSettings()));
  ASSERT_TRUE(QDir(platform.Dir()).mkpath(QStringLiteral("Configuraciones")));
  platform.Write(kFile, "stored\r\n");
  platform.Write(QStringLiteral("lista.csv"),
                 "\xEF\xBB\xBF"
                 "TEL\xC3\x89"
                 "FONO,modelo,modo,ip_usuario,mascara_usuario,ip_modem,mascara_modem,"
                 "modalidad\n"
                 "900123456,efficient,dhcp,192.0.2.13,255.255.255.248,10.1.1.6,255.255.255.252,"
                 "Est\xC3\xA1ndar\n");
  const Outcome outcome =
      RunIn(platform, {QStringLiteral("generar"), QStringLiteral("--sobrescribir"),
                       QStringLiteral("--lote"), platform.PathOf(QStringLiteral("lista.csv"))});
  EXPECT_EQ(outcome.status, cli::kExitOk) << outcome.out.toStdString();
  EXPECT_EQ(outcome.out,
            QStringLiteral("Fila 2 (900123456): escrito Configuraciones/900123456.cfg\n"
                           "Resumen: filas 1, escritos 1, conservados 0, rechazados 0\n"));
  EXPECT_EQ(platform.Read(kFile), Reference("efficient-dhcp.ref"));
}

// The built program, with no display at all.
TEST(Program, RunsCommandsWithoutADisplay) {
  TestPlatform platform;
  const struct {
    QStringList args;
    int status;
    QString out;
  } cases[] = {
      {{"--version"}, 0, QStringLiteral("configurador-adsl 1.0\n")},
      {EfficientDhcpArgs() << QStringLiteral("--dir") << platform.Dir(), 0,
       platform.PathOf(kFile) + QLatin1Char('\n')},
      {{"generar", "--bogus"}, 2, QString()},
  };
  for (const auto& c : cases) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
      environment.remove(QString::fromLatin1(name));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(ADSL_PROGRAM), c.args);
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), c.status) << c.args.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(QString::fromUtf8(program.readAllStandardOutput()), c.out);
  }
  EXPECT_TRUE(platform.Read(kFile).startsWith("Configuraci\xF3n DHCP para Efficient SS5660\r\n"));
}

}  // namespace
