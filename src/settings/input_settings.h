#pragma once
// Input (hot) folder settings: INPUT.INI.
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "settings/field_key.h"
#include "settings/field_sink.h"

namespace orvella::settings {

class ValueFieldSource;

enum class PaperType { kPlain = 0, kOther = 1 };
enum class A2Threshold { kA2 = 0, kA3 = 1, kA4 = 2 };
enum class OutputTarget { kA0 = 0, kA1 = 1, kA2 = 2, kA3 = 3, kA4 = 4, kMag = 5, kB4 = 6, kB5 = 7 };
enum class Rotation { kNone = 0, kRight90 = 1, kLeft90 = 2, kHalfTurn = 3 };
enum class StapleMode { kNone = 0, kLeftTop = 1, kRightTop = 2, kLeft2 = 3, kRight2 = 4, kTop2 = 5 };
enum class PunchMode { kNone = 0, kLeft = 1, kRight = 2, kTop = 3 };
enum class DuplexMode { kNone = 0, kBothSide = 1, kFlip = 2 };
enum class ZFoldMode { kNone = 0, kZLeft = 1, kZRight = 2, kZBottom = 3 };

// The eight input paper sizes, in their fixed order.
enum class InputSize { kA0 = 0, kA1, kA2, kA3, kA4, kInfixed, kB4, kB5 };
constexpr int kInputSizeCount = 8;
// "A0", "A1", "A2", "A3", "A4", "INFIXED", "B4", "B5": the %s of the output setting keys.
const char* InputSizeKey(InputSize size);

struct OutputSetting {
  OutputTarget target = OutputTarget::kMag;
  double magnification = 100;  // percent
  Rotation rotation = Rotation::kNone;
};

struct StampUse {
  std::string name;  // a stamp NAME, empty = no stamp
  int halftone = 0;  // 0 none, 1..3 halftone pattern
};

struct InputFolderSetting {
  std::string inputDir;
  std::string memo;
  std::string widePrinterName;
  PaperType widePaperType = PaperType::kPlain;
  std::string a2PrinterName;
  PaperType a2PaperType = PaperType::kPlain;
  A2Threshold a2Threshold = A2Threshold::kA3;
  int tiffProgramWide = 0;
  int hpglProgramWide = 0;
  int tiffProgramA2 = 0;
  int quantity = 1;
  bool autoRotate = true;
  bool useOutputSetting = true;
  std::array<OutputSetting, kInputSizeCount> outputs{};
  std::array<StampUse, 3> stamps{};
  bool stampTopPageOnly = false;
  std::string wideFoldName;
  bool wideA4Fold = false;
  StapleMode staple = StapleMode::kNone;
  PunchMode punch = PunchMode::kNone;
  DuplexMode duplex = DuplexMode::kNone;
  ZFoldMode zFold = ZFoldMode::kNone;
  bool twoUp = false;
  bool autoPaper = false;
  bool singleTiffA2Option = false;

  const OutputSetting& Output(InputSize size) const { return outputs[static_cast<int>(size)]; }
};

// Stored keywords of the enumerations ("PLAIN", "RIGHT_90", ...).
const char* Keyword(PaperType v);
const char* Keyword(A2Threshold v);
const char* Keyword(OutputTarget v);
const char* Keyword(Rotation v);
const char* Keyword(StapleMode v);
const char* Keyword(PunchMode v);
const char* Keyword(DuplexMode v);
const char* Keyword(ZFoldMode v);

// INPUT.INI of the program folder; a missing file gives an empty list.
std::vector<InputFolderSetting> LoadInputSettings(const std::filesystem::path& program);
// Rewrites INPUT.INI with every key in the stored order; raises SettingsError.
void SaveInputSettings(const std::filesystem::path& program, const std::vector<InputFolderSetting>& inputs);
// The stored fields of one record in file order.
void VisitInputFields(const InputFolderSetting& record, FieldSink& sink);
// The stored fields of record with their members (field_key.h).
std::vector<StoredField> StoredFields(const InputFolderSetting& record);
// Reads a record's fields from given values; see ValueFieldSource.
void ReadInputFields(ValueFieldSource& source, InputFolderSetting& record);

// The first record using the printer (wide or A2), stamp or fold by name.
const InputFolderSetting* FindInputByPrinter(const std::vector<InputFolderSetting>& inputs,
                                             const std::string& name);
const InputFolderSetting* FindInputByStamp(const std::vector<InputFolderSetting>& inputs,
                                           const std::string& name);
const InputFolderSetting* FindInputByFold(const std::vector<InputFolderSetting>& inputs,
                                          const std::string& name);

// Removes a deleted stamp or fold from every input folder that names it (a
// stamp slot is emptied with its halftone) and rewrites INPUT.INI when one
// did. Raises SettingsError.
void ForgetStampInInputs(const std::filesystem::path& program, const std::string& name);
void ForgetFoldInInputs(const std::filesystem::path& program, const std::string& name);

}  // namespace orvella::settings
