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
E ReadKeyword(const IniReader& ini, const std::string& section, const char* key, const char* const (&words)[N],
              E def) {
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
    o.rotation = ReadKeyword(ini, s, SizeKey("OUTPUT_SETTING_", i, "_ROT").c_str(), kRotations, Rotation::kNone);
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

void SaveOne(IniWriter& ini, const std::string& s, const InputFolderSetting& r) {
  ini.WriteString(s, "INPUT_DIR", r.inputDir);
  ini.WriteString(s, "MEMO", r.memo);
  ini.WriteString(s, "WIDE_PRINTER_NAME", r.widePrinterName);
  ini.WriteString(s, "WIDE_PRINTER_PAPERTYPE", Keyword(r.widePaperType));
  ini.WriteString(s, "A2_PRINTER_NAME", r.a2PrinterName);
  ini.WriteString(s, "A2_PRINTER_PAPERTYPE", Keyword(r.a2PaperType));
  ini.WriteString(s, "THRESFOLD_A2_PRINTER", Keyword(r.a2Threshold));
  ini.WriteInt(s, "TIFF_PRGNO_WIDE", r.tiffProgramWide);
  ini.WriteInt(s, "HPGL_PRGNO_WIDE", r.hpglProgramWide);
  ini.WriteInt(s, "TIFF_PRGNO_A2", r.tiffProgramA2);
  ini.WriteInt(s, "QTY", r.quantity);
  ini.WriteBool(s, "AUTO_ROTATE", r.autoRotate);
  ini.WriteBool(s, "USE_OUTPUT_SETTING", r.useOutputSetting);
  for (int i = 0; i < kInputSizeCount; ++i) {
    const auto& o = r.outputs[i];
    ini.WriteString(s, SizeKey("OUTPUT_SETTING_", i, ""), Keyword(o.target));
    ini.WriteDouble(s, SizeKey("OUTPUT_SETTING_", i, "_MAG"), o.magnification);
    ini.WriteString(s, SizeKey("OUTPUT_SETTING_", i, "_ROT"), Keyword(o.rotation));
  }
  for (int d = 1; d <= 3; ++d) {
    ini.WriteString(s, StampKey(d, "_NAME"), r.stamps[d - 1].name);
    ini.WriteInt(s, StampKey(d, "_HALFTONE"), r.stamps[d - 1].halftone);
  }
  ini.WriteBool(s, "MULTITIFF_STAMP_TOPPAGEONLY", r.stampTopPageOnly);
  ini.WriteString(s, "WIDEOPTION_FOLDNAME", r.wideFoldName);
  ini.WriteBool(s, "WIDEOPTION_A4FOLD", r.wideA4Fold);
  ini.WriteString(s, "A2OPTION_STAPLE", Keyword(r.staple));
  ini.WriteString(s, "A2OPTION_PUNCH", Keyword(r.punch));
  ini.WriteString(s, "A2OPTION_BOTHSIDE", Keyword(r.duplex));
  ini.WriteString(s, "A2OPTION_ZFOLD", Keyword(r.zFold));
  ini.WriteBool(s, "A2OPTION_2UP", r.twoUp);
  ini.WriteBool(s, "A2OPTION_AUTOPAPER", r.autoPaper);
  ini.WriteBool(s, "SINGLETIFF_ENABLE_A2OPTION", r.singleTiffA2Option);
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

std::vector<InputFolderSetting> LoadInputSettings() {
  const IniSnapshot ini{IniFile(kFile)};
  std::vector<InputFolderSetting> list;
  const int count = ReadListCount(ini, "NUM_INPUTS");
  for (int i = 0; i < count; ++i) list.push_back(LoadOne(ini, Section(static_cast<size_t>(i))));
  return list;
}

void SaveInputSettings(const std::vector<InputFolderSetting>& inputs) {
  IniFile file(kFile);
  IniSave save(file);
  save.WriteInt("GLOBAL", "NUM_INPUTS", static_cast<int>(inputs.size()));
  for (size_t i = 0; i < inputs.size(); ++i) SaveOne(save, Section(i), inputs[i]);
  save.Commit();
}

const InputFolderSetting* FindInputByPrinter(const std::vector<InputFolderSetting>& inputs, const std::string& name) {
  for (const auto& r : inputs)
    if (r.widePrinterName == name || r.a2PrinterName == name) return &r;
  return nullptr;
}

const InputFolderSetting* FindInputByStamp(const std::vector<InputFolderSetting>& inputs, const std::string& name) {
  for (const auto& r : inputs)
    for (const auto& s : r.stamps)
      if (s.name == name) return &r;
  return nullptr;
}

const InputFolderSetting* FindInputByFold(const std::vector<InputFolderSetting>& inputs, const std::string& name) {
  for (const auto& r : inputs)
    if (r.wideFoldName == name) return &r;
  return nullptr;
}

}  // namespace orvella::settings
