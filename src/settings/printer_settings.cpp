#include "settings/printer_settings.h"

#include "settings/field_source.h"
#include "settings/ini_list.h"
#include "settings/value_field_source.h"

namespace orvella::settings {

namespace {

constexpr std::string_view kFile = "/INI/PRINTER.INI";
constexpr std::string_view kCountKey = "NUM_PRINTERS";
constexpr std::string_view kSectionPrefix = "PRINTER_";

constexpr std::string_view kName = "NAME";
constexpr std::string_view kIpAddr = "IP_ADDR";
constexpr std::string_view kAuthentication = "AUTHENTICATION_MODE";
constexpr std::string_view kUsername = "LOGIN_USERNAME";
constexpr std::string_view kPassword = "LOGIN_PASSWORD";
constexpr std::string_view kModel = "MODEL";
constexpr std::string_view kA2Name = "A2PRINTER_NAME";
constexpr std::string_view kTrayStructAuto = "A2PRINTER_TRAYSTRUCT_AUTO";

// Passwords live in this file.
constexpr mode_t kOwnerOnly = 0600;

std::string WideTrayKey(int index, std::string_view what) {
  return "TRAY" + std::to_string(index + 1) + "_" + std::string(what);
}

std::string A2TrayKey(int index, std::string_view what) {
  return "A2PRINTER_TRAY" + std::to_string(index) + "_" + std::string(what);
}

IniFile PrinterFile(const std::filesystem::path& program) {
  IniFile file{program, std::string(kFile)};
  file.SetCreateMode(kOwnerOnly);
  return file;
}

// Only the wide models and the A2 class are ever written.
void ModelField(FieldSink& sink, int model) {
  const bool storable = model >= 0 && model <= kA2ModelNumber;
  sink.Keyword(kModel, model, storable ? kPrinterModels[static_cast<size_t>(model)].key : "");
}

// Any model key is read, the older keys of single A2 models too (see LoadPrinter).
void ModelField(IniFieldSource& source, int& model) {
  model = PrinterModelFromKey(source.Word(kModel, kPrinterModels[kDefaultModelNumber].key))
              .value_or(kDefaultModelNumber);
}

void ModelField(StoredFieldList& list, const int& model) { list.Integer(kModel, model); }

void ModelField(ValueFieldSource& source, int& model) {
  if (const auto number = source.Number(kModel, kA2ModelNumber + 1)) model = *number;
}

// The stored fields of one record in file order, for loading (Fields is an
// IniFieldSource, Printer a new record) and for saving and showing (a
// FieldSink and a const record; the password as plain text).
template <typename Fields, typename Printer>
void PrinterFields(Fields& f, Printer& p) {
  f.Text(kName, p.name);
  f.Address(kIpAddr, p.ipAddr);
  // Exact comparison: "basic" is not BASIC.
  f.Keyword(kAuthentication, kAuthenticationModeNames, p.authenticationMode);
  f.Text(kUsername, p.loginUsername);
  f.Secret(kPassword, p.loginPassword);
  ModelField(f, p.model);
  f.Text(kA2Name, p.a2PrinterName);
  for (int i = 0; i < kWideTrayCount; ++i) {
    auto& tray = p.trays[static_cast<size_t>(i)];
    f.Keyword(WideTrayKey(i, "SIZE"), kWideTraySizeNames, tray.size);
    f.Keyword(WideTrayKey(i, "TYPE"), kPaperTypeNames, tray.type);
  }
  f.Boolean(kTrayStructAuto, p.a2TrayStructAuto);
  for (int i = 0; i < kA2TrayCount; ++i) {
    auto& tray = p.a2Trays[static_cast<size_t>(i)];
    f.Keyword(A2TrayKey(i, "SIZE"), kA2TraySizeNames, tray.size);
    f.Keyword(A2TrayKey(i, "TYPE"), kPaperTypeNames, tray.type);
  }
}

PrinterSetting LoadPrinter(IniFieldSource& source) {
  PrinterSetting p;
  PrinterFields(source, p);
  if (p.model > kA2ModelNumber) {
    // An older key of one A2 model: held as the A2 class with that model's name.
    p.a2PrinterName = std::string(kPrinterModels[static_cast<size_t>(p.model)].displayName);
    p.model = kA2ModelNumber;
  }
  return p;
}

}  // namespace

std::vector<A2TraySize> OfferedA2TraySizes(bool paperSizeB) {
  if (paperSizeB) {
    return {A2TraySize::kNone, A2TraySize::kB4Tate, A2TraySize::kB4Yoko, A2TraySize::kB5Tate,
            A2TraySize::kB5Yoko};
  }
  return {A2TraySize::kNone,   A2TraySize::kA2Yoko, A2TraySize::kA3Tate,
          A2TraySize::kA3Yoko, A2TraySize::kA4Tate, A2TraySize::kA4Yoko};
}

bool IsWidePrinter(const PrinterSetting& printer) {
  return printer.model >= 0 && printer.model < kWideModelCount;
}

void VisitPrinterFields(const PrinterSetting& printer, FieldSink& sink) { PrinterFields(sink, printer); }

std::vector<StoredField> StoredFields(const PrinterSetting& record) {
  StoredFieldList list;
  PrinterFields(list, record);
  return list.fields;
}

void ReadPrinterFields(ValueFieldSource& source, PrinterSetting& printer) { PrinterFields(source, printer); }

std::vector<PrinterSetting> LoadPrinterSettings(const std::filesystem::path& program) {
  const IniSnapshot ini(PrinterFile(program));
  IniFieldSource source(ini);
  std::vector<PrinterSetting> list;
  const int count = ReadListCount(ini, kCountKey);
  list.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    source.SetSection(ListName(kSectionPrefix, i));
    list.push_back(LoadPrinter(source));
  }
  return list;
}

bool SavePrinterSettings(const std::filesystem::path& program, const std::vector<PrinterSetting>& list) {
  const IniFile file = PrinterFile(program);
  IniSave save(file);
  save.WriteInt("GLOBAL", kCountKey, static_cast<int>(list.size()));
  IniFieldSink sink(save);
  for (size_t i = 0; i < list.size(); ++i) {
    sink.SetSection(ListName(kSectionPrefix, static_cast<int>(i)));
    VisitPrinterFields(list[i], sink);
    if (!sink.AllInRange()) return false;
  }
  save.Commit();
  return true;
}

}  // namespace orvella::settings
