#include "settings/stamp_settings.h"

#include <algorithm>

#include "settings/ini_list.h"

namespace orvella::settings {
namespace {

constexpr char kStampFile[] = "/INI/STAMP.INI";
constexpr char kGlobal[] = "GLOBAL";
constexpr char kCount[] = "NUM_STAMPS";

constexpr char kSectionPrefix[] = "STAMP_";
constexpr StampDateType kUnknownDateType = StampDateType::kYyyyMmDdE;

std::string RowKey(size_t row) { return "ROW" + std::to_string(row + 1) + "_TEXT"; }

// The keyword stored for value; one outside the table stores the keyword
// that an unknown keyword reads as.
template <typename Enum>
void StoredKeyword(FieldSink& sink, std::string_view key, std::span<const KeywordName> table, Enum value,
                   Enum unknown) {
  const int number = static_cast<int>(value);
  const std::string_view keyword = KeywordOf(table, number);
  sink.Keyword(key, number, keyword.empty() ? KeywordOf(table, static_cast<int>(unknown)) : keyword);
}

StampSetting ReadStamp(const IniReader& ini, const std::string& s) {
  StampSetting st;
  st.name = ini.ReadString(s, "NAME", "新規スタンプ");
  st.corner = ReadKeyword<StampCorner>(ini, s, "CORNER", kStampCornerNames);
  st.xOffset = ini.ReadInt(s, "XPOS", 0);
  st.yOffset = ini.ReadInt(s, "YPOS", 0);
  st.type = ReadKeyword<StampType>(ini, s, "TYPE", kStampTypeNames);
  st.imagePath = ini.ReadString(s, "IMAGE_PATH", "");
  std::array<uint8_t, LogFont::kRecordSize> font{};
  if (ini.ReadStruct(s, "FONT", font.data(), font.size())) st.font = LogFont::FromBytes(font);
  st.pointSize = ini.ReadInt(s, "FONT_POINT", 0);
  // The default "YYYY/MM/DD" is no keyword: a missing key reads as an unknown one.
  st.dateType = static_cast<StampDateType>(
      FindKeyword(kStampDateTypeNames, ini.ReadString(s, "DATE_TYPE", "YYYY/MM/DD"))
          .value_or(static_cast<int>(kUnknownDateType)));
  st.borderType = ReadKeyword<StampBorder>(ini, s, "SIMPLE_STAMP_TYPE", kStampBorderNames);
  st.fourthRow = ini.ReadBool(s, "ENABLE_ROW4", 0) != 0;
  st.rulerLines = ini.ReadBool(s, "DRAW_RULER_LINE", 0) != 0;
  st.lineWidth = ini.ReadInt(s, "RULER_LINE_WIDTH", 1);
  for (size_t r = 0; r < st.rowTexts.size(); ++r) st.rowTexts[r] = ini.ReadString(s, RowKey(r), "");
  st.dateRow = ini.ReadInt(s, "DATE_ROW", 0);
  return st;
}

}  // namespace

void VisitStampFields(const StampSetting& st, FieldSink& sink) {
  sink.Text("NAME", st.name);
  StoredKeyword(sink, "CORNER", kStampCornerNames, st.corner, StampCorner::kUpperLeft);
  sink.Integer("XPOS", st.xOffset);
  sink.Integer("YPOS", st.yOffset);
  StoredKeyword(sink, "TYPE", kStampTypeNames, st.type, StampType::kDate);
  sink.Text("IMAGE_PATH", st.imagePath);
  sink.Font("FONT", st.font);
  sink.Integer("FONT_POINT", st.pointSize);
  StoredKeyword(sink, "DATE_TYPE", kStampDateTypeNames, st.dateType, kUnknownDateType);
  StoredKeyword(sink, "SIMPLE_STAMP_TYPE", kStampBorderNames, st.borderType, StampBorder::kNone);
  sink.Boolean("ENABLE_ROW4", st.fourthRow);
  sink.Boolean("DRAW_RULER_LINE", st.rulerLines);
  sink.Integer("RULER_LINE_WIDTH", st.lineWidth);
  for (size_t r = 0; r < st.rowTexts.size(); ++r) sink.Text(RowKey(r), st.rowTexts[r]);
  sink.Integer("DATE_ROW", st.dateRow);
}

StampSetting NewStamp() {
  // The description of a 10-point font for a 96-dpi screen.
  constexpr int kScreenDpi = 96;
  constexpr int kPoints = 10;
  StampSetting st;
  st.dateType = StampDateType::kYyyyMmDdE;
  st.lineWidth = 1;
  st.pointSize = kPoints;
  st.font.height = -kPoints * kScreenDpi / 72;
  st.font.weight = 400;
  st.font.charSet = 128;
  st.font.quality = 2;
  st.font.pitchAndFamily = 49;
  st.font.SetFaceNameUtf8("ＭＳ Ｐゴシック");
  return st;
}

StampList LoadStamps(const std::filesystem::path& program) {
  return LoadStamps(IniFile(program, kStampFile));
}

StampList LoadStamps(const IniFile& file) {
  const IniSnapshot ini(file);
  const int count = ReadListCount(ini, kCount);
  StampList stamps;
  for (int i = 0; i < count; ++i) stamps.push_back(ReadStamp(ini, ListName(kSectionPrefix, i)));
  return stamps;
}

void SaveStamps(const std::filesystem::path& program, const StampList& stamps) {
  SaveStamps(IniFile(program, kStampFile), stamps);
}

void SaveStamps(const IniFile& file, const StampList& stamps) {
  IniSave save(file);
  save.WriteInt(kGlobal, kCount, static_cast<int>(stamps.size()));
  IniFieldSink sink(save);
  for (size_t i = 0; i < stamps.size(); ++i) {
    sink.SetSection(ListName(kSectionPrefix, static_cast<int>(i)));
    VisitStampFields(stamps[i], sink);
  }
  save.Commit();
}

const StampSetting* FindStamp(const StampList& stamps, std::string_view name) {
  auto it = std::find_if(stamps.begin(), stamps.end(), [&](const StampSetting& s) { return s.name == name; });
  return it == stamps.end() ? nullptr : &*it;
}

}  // namespace orvella::settings
