#include "settings/fold_settings.h"

#include "settings/ini_list.h"

namespace orvella::settings {
namespace {

constexpr std::string_view kFile = "/INI/FOLD.INI";
constexpr std::string_view kCountKey = "NUM_FOLDS";
constexpr std::string_view kSectionPrefix = "FOLD_";
constexpr std::string_view kName = "NAME";
constexpr std::string_view kModel = "MODEL";

constexpr std::string_view kNoModel = "NO_KEY_MODEL";  // stands for a missing MODEL key

constexpr std::array<KeywordName, 2> kUnitNames{{{"FLD2", ""}, {"FLD1", ""}}};

std::string SlotKey(int slot, std::string_view what) {
  return std::string(kFoldSizeSlots[static_cast<size_t>(slot)].prefix) + std::string(what);
}

// False at a fold type key that is not in the catalogue.
bool LoadFold(const IniReader& ini, const std::string& section, FoldSetting& fold) {
  fold.name = ini.ReadString(section, kName, "");
  // Records without MODEL predate unit selection and belong to FLD1; other words are FLD2.
  fold.folderModel =
      FindKeyword(kUnitNames, ini.ReadString(section, kModel, kUnitNames[kFolderUnitFld1].keyword))
          .value_or(kFolderUnitFld2);
  for (int slot = 0; slot < kFoldSlotCount; ++slot) {
    auto type = FoldTypeFromKey(ini.ReadString(section, SlotKey(slot, "_FOLDTYPE"), FoldTypeKey(kFoldOff)));
    if (!type) return false;
    fold.foldTypes[static_cast<size_t>(slot)] = *type;
    fold.margins[static_cast<size_t>(slot)] = ini.ReadInt(section, SlotKey(slot, "_FOLDMARGIN"), 0);
  }
  return true;
}

}  // namespace

void VisitFoldFields(const FoldSetting& fold, FieldSink& sink) {
  sink.Text(kName, fold.name);
  sink.Keyword(kModel, kUnitNames, fold.folderModel);
  for (int slot = 0; slot < kFoldSlotCount; ++slot) {
    const int type = fold.foldTypes[static_cast<size_t>(slot)];
    sink.Keyword(SlotKey(slot, "_FOLDTYPE"), type, FoldTypeKey(type));
    sink.Integer(SlotKey(slot, "_FOLDMARGIN"), fold.margins[static_cast<size_t>(slot)]);
  }
}

bool LoadFolds(const std::filesystem::path& program, std::vector<FoldSetting>& list) {
  list.clear();
  const IniSnapshot ini(IniFile{program, std::string(kFile)});
  const int count = ReadListCount(ini, kCountKey);
  for (int i = 0; i < count; ++i) {
    FoldSetting fold;
    if (!LoadFold(ini, ListName(kSectionPrefix, i), fold)) return false;
    list.push_back(std::move(fold));
  }
  return true;
}

bool SaveFolds(const std::filesystem::path& program, const std::vector<FoldSetting>& list) {
  const IniFile file{program, std::string(kFile)};
  IniSave save(file);
  save.WriteInt("GLOBAL", kCountKey, static_cast<int>(list.size()));
  IniFieldSink sink(save);
  for (size_t i = 0; i < list.size(); ++i) {
    sink.SetSection(ListName(kSectionPrefix, static_cast<int>(i)));
    VisitFoldFields(list[i], sink);
    if (!sink.AllInRange()) return false;
  }
  save.Commit();
  return true;
}

bool HasFoldWithoutModel(const std::filesystem::path& program) {
  const IniSnapshot ini(IniFile{program, std::string(kFile)});  // a missing file has no records
  const int count = ReadListCount(ini, kCountKey);
  for (int i = 0; i < count; ++i) {
    if (ini.ReadString(ListName(kSectionPrefix, i), kModel, kNoModel) == kNoModel) return true;
  }
  return false;
}

}  // namespace orvella::settings
