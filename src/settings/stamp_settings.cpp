#include "settings/stamp_settings.h"

#include <algorithm>

namespace orvella::settings {
namespace {

constexpr char kStampFile[] = "/INI/STAMP.INI";
constexpr char kGlobal[] = "GLOBAL";
constexpr char kCount[] = "NUM_STAMPS";

constexpr std::string_view kCornerWords[] = {"UPPER_LEFT", "UPPER_RIGHT", "LOWER_LEFT", "LOWER_RIGHT"};
constexpr std::string_view kTypeWords[] = {"DATE", "IMAGE", "SIMPLE"};
constexpr std::string_view kDateTypeWords[] = {"YYMMDD_E", "YYYYMMDD_E", "YYMMDD_J", "YYYYMMDD_J"};
constexpr std::string_view kBorderWords[] = {"NO_BORDER", "SQUARE", "ROUNDED_SQUARE", "CIRCLE"};
constexpr int kUnknownDateType = 1;

template <size_t N>
int WordIndex(const std::string_view (&words)[N], std::string_view word, int unknown) {
  for (size_t i = 0; i < N; ++i)
    if (words[i] == word) return static_cast<int>(i);
  return unknown;
}

template <size_t N>
std::string_view Word(const std::string_view (&words)[N], int value, int unknown) {
  return words[value >= 0 && static_cast<size_t>(value) < N ? value : unknown];
}

std::string Section(size_t index) { return "STAMP_" + std::to_string(index); }
std::string RowKey(size_t row) { return "ROW" + std::to_string(row + 1) + "_TEXT"; }

StampSetting ReadStamp(const IniReader& ini, const std::string& s) {
  StampSetting st;
  st.name = ini.ReadString(s, "NAME", "新規スタンプ");
  st.corner = static_cast<StampCorner>(WordIndex(kCornerWords, ini.ReadString(s, "CORNER", "UPPER_LEFT"), 0));
  st.xOffset = ini.ReadInt(s, "XPOS", 0);
  st.yOffset = ini.ReadInt(s, "YPOS", 0);
  st.type = static_cast<StampType>(WordIndex(kTypeWords, ini.ReadString(s, "TYPE", "DATE"), 0));
  st.imagePath = ini.ReadString(s, "IMAGE_PATH", "");
  std::array<uint8_t, LogFont::kRecordSize> font{};
  if (ini.ReadStruct(s, "FONT", font.data(), font.size())) st.font = LogFont::FromBytes(font);
  st.pointSize = ini.ReadInt(s, "FONT_POINT", 0);
  st.dateType = static_cast<StampDateType>(
      WordIndex(kDateTypeWords, ini.ReadString(s, "DATE_TYPE", "YYYY/MM/DD"), kUnknownDateType));
  st.borderType = static_cast<StampBorder>(
      WordIndex(kBorderWords, ini.ReadString(s, "SIMPLE_STAMP_TYPE", "NO_BORDER"), 0));
  st.fourthRow = ini.ReadBool(s, "ENABLE_ROW4", 0) != 0;
  st.rulerLines = ini.ReadBool(s, "DRAW_RULER_LINE", 0) != 0;
  st.lineWidth = ini.ReadInt(s, "RULER_LINE_WIDTH", 1);
  for (size_t r = 0; r < st.rowTexts.size(); ++r) st.rowTexts[r] = ini.ReadString(s, RowKey(r), "");
  st.dateRow = ini.ReadInt(s, "DATE_ROW", 0);
  return st;
}

void WriteStamp(IniWriter& ini, const std::string& s, const StampSetting& st) {
  ini.WriteString(s, "NAME", st.name);
  ini.WriteString(s, "CORNER", StampCornerWord(st.corner));
  ini.WriteInt(s, "XPOS", st.xOffset);
  ini.WriteInt(s, "YPOS", st.yOffset);
  ini.WriteString(s, "TYPE", StampTypeWord(st.type));
  ini.WriteString(s, "IMAGE_PATH", st.imagePath);
  const auto font = st.font.ToBytes();
  ini.WriteStruct(s, "FONT", font.data(), font.size());
  ini.WriteInt(s, "FONT_POINT", st.pointSize);
  ini.WriteString(s, "DATE_TYPE", StampDateTypeWord(st.dateType));
  ini.WriteString(s, "SIMPLE_STAMP_TYPE", StampBorderWord(st.borderType));
  ini.WriteBool(s, "ENABLE_ROW4", st.fourthRow ? 1 : 0);
  ini.WriteBool(s, "DRAW_RULER_LINE", st.rulerLines ? 1 : 0);
  ini.WriteInt(s, "RULER_LINE_WIDTH", st.lineWidth);
  for (size_t r = 0; r < st.rowTexts.size(); ++r) ini.WriteString(s, RowKey(r), st.rowTexts[r]);
  ini.WriteInt(s, "DATE_ROW", st.dateRow);
}

}  // namespace

std::string_view StampCornerWord(StampCorner c) { return Word(kCornerWords, static_cast<int>(c), 0); }
std::string_view StampTypeWord(StampType t) { return Word(kTypeWords, static_cast<int>(t), 0); }
std::string_view StampDateTypeWord(StampDateType d) {
  return Word(kDateTypeWords, static_cast<int>(d), kUnknownDateType);
}
std::string_view StampBorderWord(StampBorder b) { return Word(kBorderWords, static_cast<int>(b), 0); }

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

StampList LoadStamps() { return LoadStamps(IniFile(kStampFile)); }

StampList LoadStamps(const IniFile& file) {
  const IniSnapshot ini(file);
  const int count = ReadListCount(ini, kCount);
  StampList stamps;
  for (int i = 0; i < count; ++i) stamps.push_back(ReadStamp(ini, Section(static_cast<size_t>(i))));
  return stamps;
}

void SaveStamps(const StampList& stamps) { SaveStamps(IniFile(kStampFile), stamps); }

void SaveStamps(const IniFile& file, const StampList& stamps) {
  IniSave ini(file);
  ini.WriteInt(kGlobal, kCount, static_cast<int>(stamps.size()));
  for (size_t i = 0; i < stamps.size(); ++i) WriteStamp(ini, Section(i), stamps[i]);
  ini.Commit();
}

const StampSetting* FindStamp(const StampList& stamps, std::string_view name) {
  auto it = std::find_if(stamps.begin(), stamps.end(), [&](const StampSetting& s) { return s.name == name; });
  return it == stamps.end() ? nullptr : &*it;
}

}  // namespace orvella::settings
