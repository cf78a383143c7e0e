#include "settings/printer_settings.h"

#include "base/text_codec.h"
#include "settings/ini_list.h"
#include "settings/password_cipher.h"

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

PrinterSetting LoadPrinter(const IniReader& ini, const std::string& section, const PasswordCipher& cipher) {
  PrinterSetting p;
  p.name = ini.ReadString(section, kName, "");
  p.ipAddr = base::ParseIpv4Address(ini.ReadString(section, kIpAddr, "0.0.0.0"));
  // Exact comparison: "basic" is not BASIC.
  p.authenticationMode =
      ReadKeyword<AuthenticationMode>(ini, section, kAuthentication, kAuthenticationModeNames);
  p.loginUsername = ini.ReadString(section, kUsername, "");
  const std::string stored = ini.ReadString(section, kPassword, "");
  p.loginPassword = stored.empty() ? std::string() : base::Cp932ToUtf8(cipher.Decrypt(stored));

  const auto model =
      PrinterModelFromKey(ini.ReadString(section, kModel, kPrinterModels[kDefaultModelNumber].key));
  if (model && *model > kA2ModelNumber) {
    // An older key of one A2 model: held as the A2 class with that model's name.
    p.model = kA2ModelNumber;
    p.a2PrinterName = std::string(kPrinterModels[static_cast<size_t>(*model)].displayName);
  } else {
    p.model = model.value_or(kDefaultModelNumber);
    p.a2PrinterName = ini.ReadString(section, kA2Name, "");
  }

  for (int i = 0; i < kWideTrayCount; ++i) {
    auto& tray = p.trays[static_cast<size_t>(i)];
    tray.size = ReadKeyword<WideTraySize>(ini, section, WideTrayKey(i, "SIZE"), kWideTraySizeNames);
    tray.type = ReadKeyword<PaperType>(ini, section, WideTrayKey(i, "TYPE"), kPaperTypeNames);
  }
  p.a2TrayStructAuto = ini.ReadBool(section, kTrayStructAuto, 0) == 1;
  for (int i = 0; i < kA2TrayCount; ++i) {
    auto& tray = p.a2Trays[static_cast<size_t>(i)];
    tray.size = ReadKeyword<A2TraySize>(ini, section, A2TrayKey(i, "SIZE"), kA2TraySizeNames);
    tray.type = ReadKeyword<PaperType>(ini, section, A2TrayKey(i, "TYPE"), kPaperTypeNames);
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

void VisitPrinterFields(const PrinterSetting& p, FieldSink& sink) {
  sink.Text(kName, p.name);
  sink.Address(kIpAddr, p.ipAddr);
  sink.Keyword(kAuthentication, kAuthenticationModeNames, p.authenticationMode);
  sink.Text(kUsername, p.loginUsername);
  sink.Secret(kPassword, p.loginPassword);
  // Only the wide models and the A2 class are ever written.
  const bool storable = p.model >= 0 && p.model <= kA2ModelNumber;
  sink.Keyword(kModel, p.model, storable ? kPrinterModels[static_cast<size_t>(p.model)].key : "");
  sink.Text(kA2Name, p.a2PrinterName);
  for (int i = 0; i < kWideTrayCount; ++i) {
    const auto& tray = p.trays[static_cast<size_t>(i)];
    sink.Keyword(WideTrayKey(i, "SIZE"), kWideTraySizeNames, tray.size);
    sink.Keyword(WideTrayKey(i, "TYPE"), kPaperTypeNames, tray.type);
  }
  sink.Boolean(kTrayStructAuto, p.a2TrayStructAuto);
  for (int i = 0; i < kA2TrayCount; ++i) {
    const auto& tray = p.a2Trays[static_cast<size_t>(i)];
    sink.Keyword(A2TrayKey(i, "SIZE"), kA2TraySizeNames, tray.size);
    sink.Keyword(A2TrayKey(i, "TYPE"), kPaperTypeNames, tray.type);
  }
}

std::vector<PrinterSetting> LoadPrinterSettings(const std::filesystem::path& program) {
  const IniSnapshot ini(PrinterFile(program));
  const PasswordCipher cipher;
  std::vector<PrinterSetting> list;
  const int count = ReadListCount(ini, kCountKey);
  list.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) list.push_back(LoadPrinter(ini, ListName(kSectionPrefix, i), cipher));
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
