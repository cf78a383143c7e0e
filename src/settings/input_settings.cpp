#include "settings/input_settings.h"

#include <array>
#include <span>
#include <string_view>

#include "settings/field_source.h"
#include "settings/ini_file.h"
#include "settings/paper_type.h"
#include "settings/value_field_source.h"

namespace orvella::settings {
namespace {

constexpr const char* kFile = "/INI/INPUT.INI";

constexpr std::array<KeywordName, 3> kThresholdNames{{{"A2", ""}, {"A3", ""}, {"A4", ""}}};
constexpr std::array<KeywordName, 8> kTargetNames{
    {{"A0", ""}, {"A1", ""}, {"A2", ""}, {"A3", ""}, {"A4", ""}, {"MAG", ""}, {"B4", ""}, {"B5", ""}}};
constexpr std::array<KeywordName, 4> kRotationNames{
    {{"NONE", ""}, {"RIGHT_90", ""}, {"LEFT_90", ""}, {"180", ""}}};
constexpr std::array<KeywordName, 6> kStapleNames{
    {{"NONE", ""}, {"LEFTTOP", ""}, {"RIGHTTOP", ""}, {"LEFT2", ""}, {"RIGHT2", ""}, {"TOP2", ""}}};
constexpr std::array<KeywordName, 4> kPunchNames{{{"NONE", ""}, {"LEFT", ""}, {"RIGHT", ""}, {"TOP", ""}}};
constexpr std::array<KeywordName, 3> kDuplexNames{{{"NONE", ""}, {"BOTHSIDE", ""}, {"FLIP", ""}}};
constexpr std::array<KeywordName, 4> kZFoldNames{
    {{"NONE", ""}, {"ZLEFT", ""}, {"ZRIGHT", ""}, {"ZBOTTOM", ""}}};
constexpr const char* kSizeKeys[] = {"A0", "A1", "A2", "A3", "A4", "INFIXED", "B4", "B5"};

// The keyword of value; the first one for a value outside the table.
template <typename Enum>
const char* KeywordOrFirst(std::span<const KeywordName> table, Enum value) {
  const std::string_view keyword = KeywordOf(table, static_cast<int>(value));
  return (keyword.empty() ? table[0].keyword : keyword).data();
}

std::string SizeKey(const char* prefix, int size, const char* suffix) {
  return std::string(prefix) + kSizeKeys[size] + suffix;
}

std::string StampKey(int d, const char* suffix) { return "STAMP" + std::to_string(d) + suffix; }

// The stored fields of one record in file order, for loading (Fields is an
// IniFieldSource, Input a record of the defaults) and for saving and showing
// (a FieldSink and a const record). Unknown keywords read as the defaults; a
// value outside its table is stored as the table's first keyword.
template <typename Fields, typename Input>
void InputFields(Fields& f, Input& r) {
  f.Text("INPUT_DIR", r.inputDir);
  f.Text("MEMO", r.memo);
  f.Text("WIDE_PRINTER_NAME", r.widePrinterName);
  f.Keyword("WIDE_PRINTER_PAPERTYPE", kPaperTypeNames, r.widePaperType, PaperType::kPlain);
  f.Text("A2_PRINTER_NAME", r.a2PrinterName);
  f.Keyword("A2_PRINTER_PAPERTYPE", kPaperTypeNames, r.a2PaperType, PaperType::kPlain);
  f.Keyword("THRESFOLD_A2_PRINTER", kThresholdNames, r.a2Threshold, A2Threshold::kA2);
  f.Integer("TIFF_PRGNO_WIDE", r.tiffProgramWide);
  f.Integer("HPGL_PRGNO_WIDE", r.hpglProgramWide);
  f.Integer("TIFF_PRGNO_A2", r.tiffProgramA2);
  f.Integer("QTY", r.quantity);
  f.Boolean("AUTO_ROTATE", r.autoRotate);
  f.Boolean("USE_OUTPUT_SETTING", r.useOutputSetting);
  for (int i = 0; i < kInputSizeCount; ++i) {
    auto& o = r.outputs[i];
    f.Keyword(SizeKey("OUTPUT_SETTING_", i, ""), kTargetNames, o.target, OutputTarget::kA0);
    f.Real(SizeKey("OUTPUT_SETTING_", i, "_MAG"), o.magnification);
    f.Keyword(SizeKey("OUTPUT_SETTING_", i, "_ROT"), kRotationNames, o.rotation, Rotation::kNone);
  }
  for (int d = 1; d <= 3; ++d) {
    f.Text(StampKey(d, "_NAME"), r.stamps[d - 1].name);
    f.Integer(StampKey(d, "_HALFTONE"), r.stamps[d - 1].halftone);
  }
  f.Boolean("MULTITIFF_STAMP_TOPPAGEONLY", r.stampTopPageOnly);
  f.Text("WIDEOPTION_FOLDNAME", r.wideFoldName);
  f.Boolean("WIDEOPTION_A4FOLD", r.wideA4Fold);
  f.Keyword("A2OPTION_STAPLE", kStapleNames, r.staple, StapleMode::kNone);
  f.Keyword("A2OPTION_PUNCH", kPunchNames, r.punch, PunchMode::kNone);
  f.Keyword("A2OPTION_BOTHSIDE", kDuplexNames, r.duplex, DuplexMode::kNone);
  f.Keyword("A2OPTION_ZFOLD", kZFoldNames, r.zFold, ZFoldMode::kNone);
  f.Boolean("A2OPTION_2UP", r.twoUp);
  f.Boolean("A2OPTION_AUTOPAPER", r.autoPaper);
  f.Boolean("SINGLETIFF_ENABLE_A2OPTION", r.singleTiffA2Option);
}

std::string Section(size_t i) { return "INPUT_" + std::to_string(i); }

}  // namespace

const char* InputSizeKey(InputSize size) {
  const auto i = static_cast<size_t>(size);
  return i < std::size(kSizeKeys) ? kSizeKeys[i] : kSizeKeys[0];
}

const char* Keyword(PaperType v) { return KeywordOrFirst(kPaperTypeNames, v); }
const char* Keyword(A2Threshold v) { return KeywordOrFirst(kThresholdNames, v); }
const char* Keyword(OutputTarget v) { return KeywordOrFirst(kTargetNames, v); }
const char* Keyword(Rotation v) { return KeywordOrFirst(kRotationNames, v); }
const char* Keyword(StapleMode v) { return KeywordOrFirst(kStapleNames, v); }
const char* Keyword(PunchMode v) { return KeywordOrFirst(kPunchNames, v); }
const char* Keyword(DuplexMode v) { return KeywordOrFirst(kDuplexNames, v); }
const char* Keyword(ZFoldMode v) { return KeywordOrFirst(kZFoldNames, v); }

void VisitInputFields(const InputFolderSetting& record, FieldSink& sink) { InputFields(sink, record); }

std::vector<StoredField> StoredFields(const InputFolderSetting& record) {
  StoredFieldList list;
  InputFields(list, record);
  return list.fields;
}

void ReadInputFields(ValueFieldSource& source, InputFolderSetting& record) { InputFields(source, record); }

std::vector<InputFolderSetting> LoadInputSettings(const std::filesystem::path& program) {
  const IniSnapshot ini{IniFile(program, kFile)};
  IniFieldSource source(ini);
  std::vector<InputFolderSetting> list;
  const int count = ReadListCount(ini, "NUM_INPUTS");
  for (int i = 0; i < count; ++i) {
    source.SetSection(Section(static_cast<size_t>(i)));
    InputFolderSetting record;  // what missing keys read as
    InputFields(source, record);
    list.push_back(std::move(record));
  }
  return list;
}

void SaveInputSettings(const std::filesystem::path& program, const std::vector<InputFolderSetting>& inputs) {
  IniFile file(program, kFile);
  IniSave save(file);
  save.WriteInt("GLOBAL", "NUM_INPUTS", static_cast<int>(inputs.size()));
  IniFieldSink sink(save);
  for (size_t i = 0; i < inputs.size(); ++i) {
    sink.SetSection(Section(i));
    VisitInputFields(inputs[i], sink);
  }
  save.Commit();
}

const InputFolderSetting* FindInputByPrinter(const std::vector<InputFolderSetting>& inputs,
                                             const std::string& name) {
  for (const auto& r : inputs)
    if (r.widePrinterName == name || r.a2PrinterName == name) return &r;
  return nullptr;
}

const InputFolderSetting* FindInputByStamp(const std::vector<InputFolderSetting>& inputs,
                                           const std::string& name) {
  for (const auto& r : inputs)
    for (const auto& s : r.stamps)
      if (s.name == name) return &r;
  return nullptr;
}

const InputFolderSetting* FindInputByFold(const std::vector<InputFolderSetting>& inputs,
                                          const std::string& name) {
  for (const auto& r : inputs)
    if (r.wideFoldName == name) return &r;
  return nullptr;
}

namespace {

// Applies forget to every record and saves when any changed.
template <typename Forget>
void RewriteInputs(const std::filesystem::path& program, Forget forget) {
  auto inputs = LoadInputSettings(program);
  bool changed = false;
  for (InputFolderSetting& input : inputs) changed = forget(input) || changed;
  if (changed) SaveInputSettings(program, inputs);
}

}  // namespace

void ForgetStampInInputs(const std::filesystem::path& program, const std::string& name) {
  RewriteInputs(program, [&name](InputFolderSetting& input) {
    bool changed = false;
    for (StampUse& use : input.stamps) {
      if (use.name != name) continue;
      use = {};
      changed = true;
    }
    return changed;
  });
}

void ForgetFoldInInputs(const std::filesystem::path& program, const std::string& name) {
  RewriteInputs(program, [&name](InputFolderSetting& input) {
    if (input.wideFoldName != name) return false;
    input.wideFoldName.clear();
    return true;
  });
}

}  // namespace orvella::settings
