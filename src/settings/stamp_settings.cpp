#include "settings/stamp_settings.h"

#include <algorithm>

#include "settings/field_source.h"
#include "settings/ini_list.h"
#include "settings/value_field_source.h"

namespace orvella::settings {
namespace {

constexpr char kStampFile[] = "/INI/STAMP.INI";
constexpr char kGlobal[] = "GLOBAL";
constexpr char kCount[] = "NUM_STAMPS";

constexpr char kSectionPrefix[] = "STAMP_";
constexpr StampDateType kUnknownDateType = StampDateType::kYyyyMmDdE;

std::string RowKey(size_t row) { return "ROW" + std::to_string(row + 1) + "_TEXT"; }

// The stored fields of a stamp in file order, for loading (Fields is an
// IniFieldSource, Stamp a record of what missing keys read as) and for saving
// and showing (a FieldSink and a const record). An enumeration outside its
// table is stored as the keyword an unknown keyword reads as.
template <typename Fields, typename Stamp>
void StampFields(Fields& f, Stamp& st) {
  f.Text("NAME", st.name);
  f.Keyword("CORNER", kStampCornerNames, st.corner, StampCorner::kUpperLeft);
  f.Integer("XPOS", st.xOffset);
  f.Integer("YPOS", st.yOffset);
  f.Keyword("TYPE", kStampTypeNames, st.type, StampType::kDate);
  f.Text("IMAGE_PATH", st.imagePath);
  f.Font("FONT", st.font);
  f.Integer("FONT_POINT", st.pointSize);
  f.Keyword("DATE_TYPE", kStampDateTypeNames, st.dateType, kUnknownDateType);
  f.Keyword("SIMPLE_STAMP_TYPE", kStampBorderNames, st.borderType, StampBorder::kNone);
  f.Boolean("ENABLE_ROW4", st.fourthRow);
  f.Boolean("DRAW_RULER_LINE", st.rulerLines);
  f.Integer("RULER_LINE_WIDTH", st.lineWidth);
  for (size_t r = 0; r < st.rowTexts.size(); ++r) f.Text(RowKey(r), st.rowTexts[r]);
  f.Integer("DATE_ROW", st.dateRow);
}

// What the keys left out of a stamp's section read as.
StampSetting StoredDefaults() {
  StampSetting st;
  st.name = "新規スタンプ";
  st.dateType = kUnknownDateType;  // the missing key reads as an unknown keyword
  st.lineWidth = 1;
  return st;
}

}  // namespace

void VisitStampFields(const StampSetting& stamp, FieldSink& sink) { StampFields(sink, stamp); }

std::vector<StoredField> StoredFields(const StampSetting& record) {
  StoredFieldList list;
  StampFields(list, record);
  return list.fields;
}

void ReadStampFields(ValueFieldSource& source, StampSetting& stamp) { StampFields(source, stamp); }

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
  IniFieldSource source(ini);
  const int count = ReadListCount(ini, kCount);
  StampList stamps;
  for (int i = 0; i < count; ++i) {
    source.SetSection(ListName(kSectionPrefix, i));
    StampSetting stamp = StoredDefaults();
    StampFields(source, stamp);
    stamps.push_back(std::move(stamp));
  }
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
