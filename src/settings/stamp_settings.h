#pragma once
// Stamps: named marks printed in a corner of every page, kept in STAMP.INI.
#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "settings/field_key.h"
#include "settings/field_sink.h"
#include "settings/ini_file.h"
#include "settings/keywords.h"
#include "settings/logfont.h"

namespace orvella::settings {

class ValueFieldSource;

enum class StampCorner { kUpperLeft = 0, kUpperRight = 1, kLowerLeft = 2, kLowerRight = 3 };
enum class StampType { kDate = 0, kImage = 1, kSimple = 2 };
// 1 October 2004: "04/10/01", "2004/10/01", "04年10月01日", "2004年10月01日".
enum class StampDateType { kYyMmDdE = 0, kYyyyMmDdE = 1, kYyMmDdJ = 2, kYyyyMmDdJ = 3 };
enum class StampBorder { kNone = 0, kSquare = 1, kRoundedSquare = 2, kCircle = 3 };

inline constexpr size_t kStampNameMaxBytes = 50;
inline constexpr size_t kStampImagePathMaxBytes = 260;
inline constexpr int kStampOffsetMax = 1000;  // mm
inline constexpr int kStampPointMin = 1, kStampPointMax = 100;
inline constexpr int kStampLineWidthMin = 1, kStampLineWidthMax = 100;  // tenths of mm

struct StampSetting {
  std::string name;
  StampCorner corner = StampCorner::kUpperLeft;
  int xOffset = 0;  // mm from the corner's side
  int yOffset = 0;
  StampType type = StampType::kDate;
  std::string imagePath;  // 1-bit TIFF of an image stamp
  LogFont font;           // its height is ignored: pointSize rules
  int pointSize = 0;
  StampDateType dateType = StampDateType::kYyMmDdE;
  StampBorder borderType = StampBorder::kNone;
  bool fourthRow = false;
  bool rulerLines = false;
  int lineWidth = 0;  // tenths of mm
  std::array<std::string, 4> rowTexts;
  int dateRow = 0;  // 0 none, 1..4 the row showing the date

  bool operator==(const StampSetting&) const = default;
};

using StampList = std::vector<StampSetting>;

// The defaults of a stamp made with "新規" in the stamp list.
StampSetting NewStamp();

// STAMP.INI of the program folder; a missing file is an empty list. Raises
// SettingsError when the file exists but cannot be read.
StampList LoadStamps(const std::filesystem::path& program);
StampList LoadStamps(const IniFile& file);
// Rewrites the whole file; raises SettingsError when a key cannot be written
// (the previous file then stays as it was).
void SaveStamps(const std::filesystem::path& program, const StampList& stamps);
void SaveStamps(const IniFile& file, const StampList& stamps);

// The first stamp with exactly that name (byte for byte), or nullptr.
const StampSetting* FindStamp(const StampList& stamps, std::string_view name);

// The stored fields of a stamp in file order. An enumeration outside its
// table gives the keyword an unknown keyword reads as (YYYYMMDD_E for the
// date type, the first entry otherwise).
void VisitStampFields(const StampSetting& stamp, FieldSink& sink);
// The stored fields of record with their members (field_key.h).
std::vector<StoredField> StoredFields(const StampSetting& record);
// Reads a stamp's fields from given values; see ValueFieldSource.
void ReadStampFields(ValueFieldSource& source, StampSetting& stamp);

// Keywords of the enumerations, with the texts the edit window shows.
inline constexpr std::array<KeywordName, 4> kStampCornerNames{{
    {"UPPER_LEFT", "左上から"},
    {"UPPER_RIGHT", "右上から"},
    {"LOWER_LEFT", "左下から"},
    {"LOWER_RIGHT", "右下から"},
}};
inline constexpr std::array<KeywordName, 3> kStampTypeNames{{
    {"DATE", "日付スタンプ"},
    {"IMAGE", "画像スタンプ"},
    {"SIMPLE", "簡易スタンプ"},
}};
inline constexpr std::array<KeywordName, 4> kStampDateTypeNames{{
    {"YYMMDD_E", "04/10/01"},
    {"YYYYMMDD_E", "2004/10/01"},
    {"YYMMDD_J", "04年10月01日"},
    {"YYYYMMDD_J", "2004年10月01日"},
}};
inline constexpr std::array<KeywordName, 4> kStampBorderNames{{
    {"NO_BORDER", ""},
    {"SQUARE", ""},
    {"ROUNDED_SQUARE", ""},
    {"CIRCLE", ""},
}};

}  // namespace orvella::settings
