#include "cli/GenerateCommand.h"

#include <QHash>
#include <QStringList>
#include <algorithm>

#include "cli/ConsoleMessageBoxes.h"
#include "cli/SubscriberList.h"
#include "config/SaveConfiguration.h"
#include "core/AddressHelpers.h"
#include "core/Def_Globales.h"
#include "core/SettingsFile.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"
#include "screens/FieldRules.h"

namespace cli {

namespace {

using platform::MsgIcon;

constexpr OptionSpec kOptions[] = {
    {"modelo", true},          {"modo", true},     {"telefono", true},      {"ip-usuario", true},
    {"mascara-usuario", true}, {"ip-modem", true}, {"mascara-modem", true}, {"modalidad", true},
    {"sobrescribir", false},   {"lote", true},
};

const char* const kHelp =
    "Uso: configurador-adsl generar --modelo office|pro|efficient --modo dhcp|napt\n"
    "         --telefono N [--ip-usuario A.B.C.D] [--mascara-usuario A.B.C.D]\n"
    "         [--ip-modem A.B.C.D] [--mascara-modem A.B.C.D]\n"
    "         [--modalidad Estandar|Class|Premium] [--sobrescribir] [--dir CARPETA]\n"
    "     configurador-adsl generar --lote ABONADOS.csv [--sobrescribir] [--dir CARPETA]\n"
    "\n"
    "Escribe el fichero Configuraciones/<teléfono>.cfg de un abonado con las mismas\n"
    "comprobaciones, mensajes y contenido que la ventana de datos del abonado, y con los\n"
    "ajustes del servicio de conf_gen.dat. Una dirección o máscara que no se indique\n"
    "toma el valor con que se abre la ventana: 0.0.0.0, salvo la Ethernet del módem en\n"
    "modo napt (172.16.0.1 y 255.255.255.240); la modalidad, Estandar.\n"
    "\n"
    "  --modelo        office (Alcatel Speed Touch Office), pro (Alcatel Speed Touch\n"
    "                  Pro) o efficient (Efficient SS5660)\n"
    "  --modo          dhcp (monopuesto) o napt (multipuesto)\n"
    "  --sobrescribir  sustituye un fichero que ya exista; sin ella se conserva\n"
    "  --lote          un fichero por fila de una lista de abonados (CSV separado por\n"
    "                  punto y coma o por comas, en UTF-8 o Windows-1252) cuya primera\n"
    "                  fila nombra las columnas: telefono, modelo, modo y, si se\n"
    "                  quiere, ip_usuario, mascara_usuario, ip_modem, mascara_modem,\n"
    "                  modalidad. Primero se comprueban todas las filas; después se\n"
    "                  escribe una línea por fila y un resumen.\n"
    "\n"
    "Estado de salida: 0 si se escribió; 1 si algo se rechazó o el fichero ya existía\n"
    "(con --lote: 1 si se rechazó alguna fila); 2 si la orden está mal escrita.\n";

// The column key of each InputField, in its order.
constexpr const char* kFieldKeys[kInputFieldCount] = {
    "modelo",          "modo",     "telefono",      "ip_usuario",
    "mascara_usuario", "ip_modem", "mascara_modem", "modalidad"};

const std::optional<QString>& In(const SubscriberInput& input, InputField field) {
  return input[static_cast<int>(field)];
}

QString OptionName(InputField field) {
  return QStringLiteral("--") +
         QString::fromLatin1(FieldKey(field)).replace(QLatin1Char('_'), QLatin1Char('-'));
}

bool Refuse(const QString& text, const QString& title = QStringLiteral("Error")) {
  platform::ShowError(text, title);
  return false;
}

bool ParseSelection(const SubscriberInput& input, GenerationJob* job,
                    std::optional<InputField>* fault) {
  const std::optional<QString>& model = In(input, InputField::Model);
  *fault = InputField::Model;
  if (!model) return Refuse(QStringLiteral("Falta el modelo de módem: office, pro o efficient"));
  static const QHash<QString, std::int16_t> kModels = {
      {QStringLiteral("office"), kSpeedTouchOffice},
      {QStringLiteral("alcatel_speed_touch_office"), kSpeedTouchOffice},
      {QStringLiteral("pro"), kSpeedTouchPro},
      {QStringLiteral("alcatel_speed_touch_pro"), kSpeedTouchPro},
      {QStringLiteral("efficient"), kEfficientSS5660},
      {QStringLiteral("efficient_ss5660"), kEfficientSS5660},
  };
  const auto found = kModels.constFind(ColumnKey(*model));
  if (found == kModels.constEnd()) {
    return Refuse(QStringLiteral("Modelo de módem desconocido: use office, pro o efficient"));
  }
  job->model = *found;

  const std::optional<QString>& mode = In(input, InputField::Mode);
  *fault = InputField::Mode;
  const QString modeKey = mode ? ColumnKey(*mode) : QString();
  if (modeKey == QLatin1String("dhcp")) {
    job->screen = DataScreen::Dhcp;
  } else if (modeKey == QLatin1String("napt")) {
    job->screen = DataScreen::Napt;
  } else {
    return Refuse(mode ? QStringLiteral("Modo desconocido: use dhcp o napt")
                       : QStringLiteral("Falta el modo: dhcp o napt"));
  }
  job->data = InitialSubscriberData(job->screen, job->model);

  if (const std::optional<QString>& modality = In(input, InputField::Modality)) {
    *fault = InputField::Modality;
    const QString key = ColumnKey(*modality);
    job->data.oEstandar = key == QLatin1String("estandar");
    job->data.oClass = key == QLatin1String("class");
    job->data.oPremium = key == QLatin1String("premium");
    if (!job->data.oEstandar && !job->data.oClass && !job->data.oPremium) {
      return Refuse(QStringLiteral("Modalidad desconocida: use Estandar, Class o Premium"));
    }
  }
  *fault = std::nullopt;
  return true;
}

// The phone box lets only digits in and is checked for its length when left.
bool TakePhone(const std::optional<QString>& phone, SubscriberData* data) {
  if (!phone) return true;
  data->Phone = *phone;
  if (phone->isEmpty()) return true;
  if (!IsDigitsOnly(*phone)) {
    platform::ShowMessage(QString::fromUtf8(kKeystrokeText), QString::fromUtf8(kKeystrokeTitle),
                          MsgIcon::Exclamation);
    return false;
  }
  const int minDigits = ServiceSettings.PhoneMinDigits;
  const int maxDigits = ServiceSettings.PhoneMaxDigits;
  if (fieldrules::PhoneLengthAccepted(phone->size(), minDigits, maxDigits)) return true;
  platform::ShowMessage(fieldrules::PhoneLengthMessage(minDigits, maxDigits),
                        QString::fromUtf8(kPhoneLengthTitle), MsgIcon::Exclamation);
  return false;
}

// Four octets as four boxes: each one typed and left. A missing octet stays empty,
// for the screen's check of complete addresses to name the address.
bool TakeQuad(const std::optional<QString>& dotted, TypedQuad* quad) {
  if (!dotted) return true;
  const QStringList parts = dotted->split(QLatin1Char('.'));
  if (parts.size() > 4) {
    return Refuse(QStringLiteral("Una dirección o máscara son cuatro números separados por puntos"),
                  QString::fromUtf8(kOctetRangeTitle));
  }
  for (int i = 0; i < 4; ++i) {
    const QString text = parts.value(i);
    if (!text.isEmpty() && !IsValidOctet(text)) return false;
    (*quad)[i] = text.isEmpty() ? text : *fieldrules::NormalisedOctet(text);
  }
  return true;
}

void LoadSettings() {
  SetStartupValues();
  (void)LoadServiceSettings();  // reports its own failure; the screens go on likewise
}

int RunOne(const ParsedArgs& args, Console& console);
int RunList(const QString& path, bool overwrite, Console& console);

int RunGenerate(const ParsedArgs& args, Console& console) {
  if (args.Has(QStringLiteral("lote"))) {
    for (const OptionSpec& spec : kOptions) {
      const QString name = QString::fromLatin1(spec.name);
      if (name != QLatin1String("lote") && name != QLatin1String("sobrescribir") &&
          args.Has(name)) {
        return UsageError(
            console,
            QStringLiteral("--%1 no se usa con --lote: cada fila lleva sus datos").arg(name));
      }
    }
    return RunList(args.Value(QStringLiteral("lote")), args.Has(QStringLiteral("sobrescribir")),
                   console);
  }
  for (const char* required : {"modelo", "modo"}) {
    if (!args.Has(QString::fromLatin1(required))) {
      return UsageError(console, QStringLiteral("falta --%1").arg(QString::fromLatin1(required)));
    }
  }
  return RunOne(args, console);
}

int RunOne(const ParsedArgs& args, Console& console) {
  LoadSettings();
  SubscriberInput input;
  for (int i = 0; i < kInputFieldCount; ++i) {
    const QString option = OptionName(static_cast<InputField>(i)).mid(2);
    if (args.Has(option)) input[i] = args.Value(option).trimmed();
  }
  ConsoleMessageBoxes boxes(&console.err, args.Has(QStringLiteral("sobrescribir")));
  platform::Current().messages = &boxes;
  GenerationJob job;
  std::optional<InputField> fault;
  if (!PrepareSubscriber(input, &job, &fault)) {
    if (fault)
      console.err << QStringLiteral("(%1 %2)").arg(OptionName(*fault),
                                                   In(input, *fault).value_or(QString()))
                  << Qt::endl;
    return kExitRefused;
  }
  if (SaveSubscriberConfiguration(job.data, job.screen, job.model, ModeOf(job.screen))) {
    console.out << ConfigFilePath(job.data.Phone) << Qt::endl;
    return kExitOk;
  }
  if (boxes.declinedQuestions > 0) {
    console.err << QStringLiteral(
                       "Se conserva el fichero existente; use --sobrescribir para reemplazarlo.")
                << Qt::endl;
  }
  return kExitRefused;
}

// One row of a list and what became of it.
struct Row {
  enum Fate { Written, Kept, Refused };
  int number = 0;  // the spreadsheet's row number: the header is row 1
  QString phone;
  std::optional<GenerationJob> job;  // set once the row has passed every check
  Fate fate = Refused;
  QString outcome;
};

using ColumnMap = std::array<int, kInputFieldCount>;  // the cell of each field, or -1

QString RowLine(const Row& row) {
  const QString who = row.phone.isEmpty() ? QStringLiteral("sin teléfono") : row.phone;
  return QStringLiteral("Fila %1 (%2): %3").arg(row.number).arg(who, row.outcome);
}

// The records of the list, the header first; false after saying why there are none.
bool ReadList(const QString& path, Console& console, QList<QStringList>* records) {
  QByteArray bytes;
  QString error;
  QString fault;
  if (!platform::ReadWholeFile(path, &bytes, &error)) {
    fault = QStringLiteral("No se puede leer «%1»: %2").arg(path, error);
  } else {
    const QString text = DecodeListText(bytes);
    if (!ParseRecords(text, DetectSeparator(text), records)) {
      fault = QStringLiteral("«%1»: unas comillas abiertas no se cierran; no se ha escrito nada.")
                  .arg(path);
    } else if (records->isEmpty()) {
      fault = QStringLiteral("«%1» está vacío: falta la fila que nombra las columnas.").arg(path);
    }
  }
  if (fault.isEmpty()) return true;
  console.err << fault << Qt::endl;
  return false;
}

// Columns of other names are ignored with a warning; a field named twice, or no
// phone, model or mode column, stops the whole list.
bool FindColumns(const QStringList& header, const QString& path, Console& console,
                 ColumnMap* columnOf) {
  columnOf->fill(-1);
  for (int c = 0; c < header.size(); ++c) {
    const QString name = header.at(c).trimmed();
    const QString key = ColumnKey(name);
    const auto* found =
        std::find_if(std::begin(kFieldKeys), std::end(kFieldKeys),
                     [&](const char* fieldKey) { return key == QLatin1String(fieldKey); });
    if (found == std::end(kFieldKeys)) {
      if (!name.isEmpty())
        console.err << QStringLiteral("Se ignora la columna «%1».").arg(name) << Qt::endl;
      continue;
    }
    int& column = (*columnOf)[found - std::begin(kFieldKeys)];
    if (column >= 0) {
      console.err << QStringLiteral(
                         "«%1»: la columna «%2» aparece dos veces; no se ha escrito nada.")
                         .arg(path, name)
                  << Qt::endl;
      return false;
    }
    column = c;
  }
  QStringList missing;
  for (InputField field : {InputField::Phone, InputField::Model, InputField::Mode}) {
    if ((*columnOf)[static_cast<int>(field)] < 0) missing << QString::fromLatin1(FieldKey(field));
  }
  if (missing.isEmpty()) return true;
  console.err << QStringLiteral("«%1»: faltan las columnas %2; no se ha escrito nada.")
                     .arg(path, missing.join(QStringLiteral(", ")))
              << Qt::endl;
  return false;
}

bool IsBlank(const QString& cell) { return cell.trimmed().isEmpty(); }

// The checks of one row, messages captured in boxes. A phone met in an earlier row
// is refused: which of the two rows was meant cannot be told.
Row CheckRow(int number, const QStringList& cells, const QStringList& header,
             const ColumnMap& columnOf, const QHash<QString, int>& firstRowOfPhone,
             ConsoleMessageBoxes& boxes) {
  Row row;
  row.number = number;
  SubscriberInput input;
  for (int field = 0; field < kInputFieldCount; ++field) {
    const QString cell = cells.value(columnOf[field]).trimmed();
    if (columnOf[field] >= 0 && !cell.isEmpty()) input[field] = cell;
  }
  row.phone = In(input, InputField::Phone).value_or(QString());
  if (cells.size() > header.size() &&
      !std::all_of(cells.begin() + header.size(), cells.end(), IsBlank)) {
    row.outcome = QStringLiteral("rechazada: tiene más celdas que columnas la cabecera");
    return row;
  }
  if (firstRowOfPhone.contains(row.phone)) {
    row.outcome = QStringLiteral("rechazada: el teléfono ya aparece en la fila %1")
                      .arg(firstRowOfPhone.value(row.phone));
    return row;
  }
  boxes.shown.clear();
  GenerationJob job;
  std::optional<InputField> fault;
  if (PrepareSubscriber(input, &job, &fault)) {
    row.job = job;
    return row;
  }
  row.outcome = QStringLiteral("rechazada: ") + OneLine(boxes.shown.join(QLatin1Char(' ')));
  if (fault) {
    row.outcome += QStringLiteral(" (columna %1: «%2»)")
                       .arg(header.at(columnOf[static_cast<int>(*fault)]).trimmed(),
                            In(input, *fault).value_or(QString()));
  }
  return row;
}

// The screens' save of a checked row; an existing file is kept unless the
// overwrite question is answered yes.
void SaveRow(Row& row, ConsoleMessageBoxes& boxes) {
  boxes.shown.clear();
  boxes.declinedQuestions = 0;
  const GenerationJob& job = *row.job;
  if (SaveSubscriberConfiguration(job.data, job.screen, job.model, ModeOf(job.screen))) {
    row.fate = Row::Written;
    row.outcome = QStringLiteral("escrito Configuraciones/%1.cfg").arg(row.phone);
  } else if (boxes.declinedQuestions > 0) {
    row.fate = Row::Kept;
    row.outcome =
        QStringLiteral("se conserva el fichero existente (use --sobrescribir para reemplazarlo)");
  } else {
    row.outcome = QStringLiteral("no escrito: ") + OneLine(boxes.shown.join(QLatin1Char(' ')));
  }
}

int RunList(const QString& path, bool overwrite, Console& console) {
  LoadSettings();
  QList<QStringList> records;
  ColumnMap columnOf;
  if (!ReadList(path, console, &records)) return kExitRefused;
  const QStringList header = records.first();
  if (!FindColumns(header, path, console, &columnOf)) return kExitRefused;

  // Every row is checked before anything is written.
  ConsoleMessageBoxes boxes(nullptr, overwrite);
  platform::Current().messages = &boxes;
  QList<Row> rows;
  QHash<QString, int> firstRowOfPhone;
  for (qsizetype r = 1; r < records.size(); ++r) {
    const QStringList& cells = records.at(r);
    if (std::all_of(cells.begin(), cells.end(), IsBlank)) continue;
    const Row& row = rows.emplace_back(
        CheckRow(static_cast<int>(r) + 1, cells, header, columnOf, firstRowOfPhone, boxes));
    if (!row.phone.isEmpty() && !firstRowOfPhone.contains(row.phone)) {
      firstRowOfPhone.insert(row.phone, row.number);
    }
  }

  std::array<int, 3> count{};
  for (Row& row : rows) {
    if (row.job) SaveRow(row, boxes);
    ++count[row.fate];
    console.out << RowLine(row) << '\n';
  }
  console.out << QStringLiteral("Resumen: filas %1, escritos %2, conservados %3, rechazados %4")
                     .arg(rows.size())
                     .arg(count[Row::Written])
                     .arg(count[Row::Kept])
                     .arg(count[Row::Refused])
              << Qt::endl;
  return count[Row::Refused] > 0 ? kExitRefused : kExitOk;
}

}  // namespace

const char* FieldKey(InputField field) { return kFieldKeys[static_cast<int>(field)]; }

bool PrepareSubscriber(const SubscriberInput& input, GenerationJob* job,
                       std::optional<InputField>* fault) {
  if (!ParseSelection(input, job, fault)) return false;
  SubscriberData& data = job->data;
  const std::pair<InputField, TypedQuad*> quads[] = {
      {InputField::UserIp, &data.UserIp},
      {InputField::UserMask, &data.UserMask},
      {InputField::ModemIp, &data.ModemIp},
      {InputField::ModemMask, &data.ModemMask},
  };
  *fault = InputField::Phone;
  if (!TakePhone(In(input, InputField::Phone), &data)) return false;
  for (const auto& [field, quad] : quads) {
    *fault = field;
    if (!TakeQuad(In(input, field), quad)) return false;
  }
  *fault = std::nullopt;
  return ValidateSubscriberData(data, job->screen, job->model);
}

const Command kGenerateCommand{
    "generar", "escribe ficheros de configuración: de un abonado o de una lista",
    kHelp,     kOptions,
    false,     RunGenerate,
};

}  // namespace cli
