#pragma once
// Printer records (PRINTER.INI): one networked printer each, referred to by
// input folder settings through its NAME.
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "base/ipv4_address.h"
#include "settings/field_key.h"
#include "settings/field_sink.h"
#include "settings/keywords.h"
#include "settings/paper_type.h"
#include "settings/printer_models.h"

namespace orvella::settings {

class ValueFieldSource;

enum class AuthenticationMode { kNone = 0, kBasic = 1 };

// Paper in a tray of a wide printer: roll widths in millimetres or cut sheets
// (TATE portrait feed, YOKO landscape feed).
enum class WideTraySize {
  kNone = 0,
  kRoll210,
  kRoll297,
  kRoll420,
  kRoll594,
  kRoll841,
  kA2Yoko,
  kA3Tate,
  kA3Yoko,
  kA4Tate,
  kA4Yoko,
};

enum class A2TraySize {
  kNone = 0,
  kA2Yoko,
  kA3Tate,
  kA3Yoko,
  kA4Tate,
  kA4Yoko,
  kB4Tate,
  kB4Yoko,
  kB5Tate,
  kB5Yoko
};

inline constexpr std::array<KeywordName, 2> kAuthenticationModeNames{{
    {"NONE", "認証しない"},
    {"BASIC", "ﾍﾞｰｼｯｸ認証"},
}};

inline constexpr std::array<KeywordName, 11> kWideTraySizeNames{{
    {"NONE", ""},
    {"210_ROLL", "210mm ロール紙"},
    {"297_ROLL", "297mm ロール紙"},
    {"420_ROLL", "420mm ロール紙"},
    {"594_ROLL", "594mm ロール紙"},
    {"841_ROLL", "841mm ロール紙"},
    {"A2YOKO", "A2 横"},
    {"A3TATE", "A3 縦"},
    {"A3YOKO", "A3 横"},
    {"A4TATE", "A4 縦"},
    {"A4YOKO", "A4 横"},
}};

inline constexpr std::array<KeywordName, 10> kA2TraySizeNames{{
    {"NONE", ""},
    {"A2YOKO", "A2 横"},
    {"A3TATE", "A3 縦"},
    {"A3YOKO", "A3 横"},
    {"A4TATE", "A4 縦"},
    {"A4YOKO", "A4 横"},
    {"B4TATE", "B4 縦"},
    {"B4YOKO", "B4 横"},
    {"B5TATE", "B5 縦"},
    {"B5YOKO", "B5 横"},
}};

struct WideTray {
  WideTraySize size = WideTraySize::kNone;
  PaperType type = PaperType::kPlain;
};

struct A2Tray {
  A2TraySize size = A2TraySize::kNone;
  PaperType type = PaperType::kPlain;
};

inline constexpr int kWideTrayCount = 4;
inline constexpr int kA2TrayCount = 7;

// A default-constructed record is the new printer of the printer list.
struct PrinterSetting {
  std::string name;
  base::Ipv4Address ipAddr{};
  AuthenticationMode authenticationMode = AuthenticationMode::kNone;
  std::string loginUsername;
  std::string loginPassword;  // plain text in memory, at most 32 bytes on disk
  int model = kDefaultModelNumber;
  std::string a2PrinterName;  // free-text model of an A2-class printer
  std::array<WideTray, kWideTrayCount> trays{};
  bool a2TrayStructAuto = false;               // take A2 tray contents from the printer
  std::array<A2Tray, kA2TrayCount> a2Trays{};  // trays 1 to 7
};

// The A2 tray sizes the printer dialog offers: the empty entry and the A
// sizes, or the empty entry and the B sizes in B-series paper mode
// (ENABLE_PAPER_SIZE_B).
std::vector<A2TraySize> OfferedA2TraySizes(bool paperSizeB);

// Model number 0 to 4.
bool IsWidePrinter(const PrinterSetting& printer);

// The records of PRINTER.INI in file order; a missing file gives none.
// Raises SettingsError when the file exists but cannot be read.
std::vector<PrinterSetting> LoadPrinterSettings(const std::filesystem::path& program);

// Rewrites PRINTER.INI with exactly these records. False, with the file left
// as it was, when a record's authentication, model, tray size or paper type
// lies outside its enumeration. Raises SettingsError on a failed write.
// A newly created file is readable by its owner only: it holds passwords.
bool SavePrinterSettings(const std::filesystem::path& program, const std::vector<PrinterSetting>& list);

// The stored fields of one record in file order (the password as plain text).
void VisitPrinterFields(const PrinterSetting& printer, FieldSink& sink);
// The stored fields of record with their members (field_key.h).
std::vector<StoredField> StoredFields(const PrinterSetting& record);
// Reads a record's fields from given values (see ValueFieldSource): MODEL is
// a wide model or the A2 class, the numbers that are stored; a missing
// LOGIN_PASSWORD leaves the password as it is.
void ReadPrinterFields(ValueFieldSource& source, PrinterSetting& printer);

}  // namespace orvella::settings
