#include "settings/input_settings.h"

#include <string_view>

#include "settings/ini_file.h"

namespace orvella::settings {
namespace {

constexpr const char* kFile = "/INI/INPUT.INI";

constexpr const char* kPaperTypes[] = {"PLAIN", "OTHER"};
constexpr const char* kThresholds[] = {"A2", "A3", "A4"};
constexpr const char* kTargets[] = {"A0", "A1", "A2", "A3", "A4", "MAG", "B4", "B5"};
constexpr const char* kRotations[] = {"NONE", "RIGHT_90", "LEFT_90", "180"};
constexpr const char* kStaples[] = {"NONE", "LEFTTOP", "RIGHTTOP", "LEFT2", "RIGHT2", "TOP2"};
constexpr const char* kPunches[] = {"NONE", "LEFT", "RIGHT", "TOP"};
constexpr const char* kDuplexes[] = {"NONE", "BOTHSIDE", "FLIP"};
constexpr const char* kZFolds[] = {"NONE", "ZLEFT", "ZRIGHT", "ZBOTTOM"};
constexpr const char* kSizeKeys[] = {"A0", "A1", "A2", "A3", "A4", "INFIXED", "B4", "B5"};

template <typename E, size_t N>
const char* WordOf(const char* const (&words)[N], E value) {
  const auto i = static_cast<size_t>(value);
  return i < N ? words[i] : words[0];
}

// The enumeration for a stored word (exact match), or fallback.
template <typename E, size_t N>
E ValueOf(const char* const (&words)[N], const std::string& word, E fallback) {
  for (size_t i = 0; i < N; ++i)
    if (word == words[i]) return static_cast<E>(i);
  return fallback;
}

template <typename E, size_t N>
E ReadKeyword(const IniReader& ini, const std::string& section, const char* key,
              const char* const (&words)[N], E def) {
  return ValueOf(words, ini.ReadString(section, key, WordOf(words, def)), def);
}

std::string SizeKey(const char* prefix, int size, const char* suffix) {
  return std::string(prefix) + kSizeKeys[size] + suffix;
}

std::string StampKey(int d, const char* suffix) { return "STAMP" + std::to_string(d) + suffix; }

InputFolderSetting LoadOne(const IniReader& ini, const std::string& s) {
  InputFolderSetting r;
  r.inputDir = ini.ReadString(s, "INPUT_DIR", "");
  r.memo = ini.ReadString(s, "MEMO", "");
  r.widePrinterName = ini.ReadString(s, "WIDE_PRINTER_NAME", "");
  r.a2PrinterName = ini.ReadString(s, "A2_PRINTER_NAME", "");
  // Unknown paper type and threshold words read as the defaults.
  r.widePaperType = ReadKeyword(ini, s, "WIDE_PRINTER_PAPERTYPE", kPaperTypes, PaperType::kPlain);
  r.a2PaperType = ReadKeyword(ini, s, "A2_PRINTER_PAPERTYPE", kPaperTypes, PaperType::kPlain);
  r.a2Threshold = ReadKeyword(ini, s, "THRESFOLD_A2_PRINTER", kThresholds, A2Threshold::kA3);
  r.tiffProgramWide = ini.ReadInt(s, "TIFF_PRGNO_WIDE", 0);
  r.hpglProgramWide = ini.ReadInt(s, "HPGL_PRGNO_WIDE", 0);
  r.tiffProgramA2 = ini.ReadInt(s, "TIFF_PRGNO_A2", 0);
  r.quantity = ini.ReadInt(s, "QTY", 1);
  r.autoRotate = ini.ReadBool(s, "AUTO_ROTATE", 1) == 1;
  r.useOutputSetting = ini.ReadBool(s, "USE_OUTPUT_SETTING", 1) == 1;
  for (int i = 0; i < kInputSizeCount; ++i) {
    auto& o = r.outputs[i];
    o.target = ReadKeyword(ini, s, SizeKey("OUTPUT_SETTING_", i, "").c_str(), kTargets, OutputTarget::kMag);
    o.magnification = ini.ReadDouble(s, SizeKey("OUTPUT_SETTING_", i, "_MAG"), 100);
    o.rotation =
        ReadKeyword(ini, s, SizeKey("OUTPUT_SETTING_", i, "_ROT").c_str(), kRotations, Rotation::kNone);
  }
  for (int d = 1; d <= 3; ++d) {
    r.stamps[d - 1].name = ini.ReadString(s, StampKey(d, "_NAME"), "");
    r.stamps[d - 1].halftone = ini.ReadInt(s, StampKey(d, "_HALFTONE"), 0);
  }
  r.stampTopPageOnly = ini.ReadBool(s, "MULTITIFF_STAMP_TOPPAGEONLY", 0) == 1;
  r.wideFoldName = ini.ReadString(s, "WIDEOPTION_FOLDNAME", "");
  r.wideA4Fold = ini.ReadBool(s, "WIDEOPTION_A4FOLD", 0) == 1;
  r.staple = ReadKeyword(ini, s, "A2OPTION_STAPLE", kStaples, StapleMode::kNone);
  r.punch = ReadKeyword(ini, s, "A2OPTION_PUNCH", kPunches, PunchMode::kNone);
  r.duplex = ReadKeyword(ini, s, "A2OPTION_BOTHSIDE", kDuplexes, DuplexMode::kNone);
  r.zFold = ReadKeyword(ini, s, "A2OPTION_ZFOLD", kZFolds, ZFoldMode::kNone);
  r.twoUp = ini.ReadBool(s, "A2OPTION_2UP", 0) == 1;
  r.autoPaper = ini.ReadBool(s, "A2OPTION_AUTOPAPER", 0) == 1;
  r.singleTiffA2Option = ini.ReadBool(s, "SINGLETIFF_ENABLE_A2OPTION", 0) == 1;
  return r;
}

std::string Section(size_t i) { return "INPUT_" + std::to_string(i); }

}  // namespace

const char* InputSizeKey(InputSize size) { return WordOf(kSizeKeys, size); }

const char* Keyword(PaperType v) { return WordOf(kPaperTypes, v); }
const char* Keyword(A2Threshold v) { return WordOf(kThresholds, v); }
const char* Keyword(OutputTarget v) { return WordOf(kTargets, v); }
const char* Keyword(Rotation v) { return WordOf(kRotations, v); }
const char* Keyword(StapleMode v) { return WordOf(kStaples, v); }
const char* Keyword(PunchMode v) { return WordOf(kPunches, v); }
const char* Keyword(DuplexMode v) { return WordOf(kDuplexes, v); }
const char* Keyword(ZFoldMode v) { return WordOf(kZFolds, v); }

void VisitInputFields(const InputFolderSetting& r, FieldSink& sink) {
  sink.Text("INPUT_DIR", r.inputDir);
  sink.Text("MEMO", r.memo);
  sink.Text("WIDE_PRINTER_NAME", r.widePrinterName);
  sink.Keyword("WIDE_PRINTER_PAPERTYPE", static_cast<int>(r.widePaperType), Keyword(r.widePaperType));
  sink.Text("A2_PRINTER_NAME", r.a2PrinterName);
  sink.Keyword("A2_PRINTER_PAPERTYPE", static_cast<int>(r.a2PaperType), Keyword(r.a2PaperType));
  sink.Keyword("THRESFOLD_A2_PRINTER", static_cast<int>(r.a2Threshold), Keyword(r.a2Threshold));
  sink.Integer("TIFF_PRGNO_WIDE", r.tiffProgramWide);
  sink.Integer("HPGL_PRGNO_WIDE", r.hpglProgramWide);
  sink.Integer("TIFF_PRGNO_A2", r.tiffProgramA2);
  sink.Integer("QTY", r.quantity);
  sink.Boolean("AUTO_ROTATE", r.autoRotate);
  sink.Boolean("USE_OUTPUT_SETTING", r.useOutputSetting);
  for (int i = 0; i < kInputSizeCount; ++i) {
    const auto& o = r.outputs[i];
    sink.Keyword(SizeKey("OUTPUT_SETTING_", i, ""), static_cast<int>(o.target), Keyword(o.target));
    sink.Real(SizeKey("OUTPUT_SETTING_", i, "_MAG"), o.magnification);
    sink.Keyword(SizeKey("OUTPUT_SETTING_", i, "_ROT"), static_cast<int>(o.rotation), Keyword(o.rotation));
  }
  for (int d = 1; d <= 3; ++d) {
    sink.Text(StampKey(d, "_NAME"), r.stamps[d - 1].name);
    sink.Integer(StampKey(d, "_HALFTONE"), r.stamps[d - 1].halftone);
  }
  sink.Boolean("MULTITIFF_STAMP_TOPPAGEONLY", r.stampTopPageOnly);
  sink.Text("WIDEOPTION_FOLDNAME", r.wideFoldName);
  sink.Boolean("WIDEOPTION_A4FOLD", r.wideA4Fold);
  sink.Keyword("A2OPTION_STAPLE", static_cast<int>(r.staple), Keyword(r.staple));
  sink.Keyword("A2OPTION_PUNCH", static_cast<int>(r.punch), Keyword(r.punch));
  sink.Keyword("A2OPTION_BOTHSIDE", static_cast<int>(r.duplex), Keyword(r.duplex));
  sink.Keyword("A2OPTION_ZFOLD", static_cast<int>(r.zFold), Keyword(r.zFold));
  sink.Boolean("A2OPTION_2UP", r.twoUp);
  sink.Boolean("A2OPTION_AUTOPAPER", r.autoPaper);
  sink.Boolean("SINGLETIFF_ENABLE_A2OPTION", r.singleTiffA2Option);
}

std::vector<InputFolderSetting> LoadInputSettings(const std::filesystem::path& program) {
  const IniSnapshot ini{IniFile(program, kFile)};
  std::vector<InputFolderSetting> list;
  const int count = ReadListCount(ini, "NUM_INPUTS");
  for (int i = 0; i < count; ++i) list.push_back(LoadOne(ini, Section(static_cast<size_t>(i))));
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

}  // namespace orvella::settings
