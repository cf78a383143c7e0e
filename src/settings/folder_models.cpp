#include "settings/folder_models.h"

#include "settings/fold_settings.h"
#include "settings/ini_list.h"

namespace orvella::settings {
namespace {

constexpr std::string_view kFile = "/INI/FOLDERMODEL.INI";
constexpr std::string_view kEnableFld1 = "ENABLE_FOLDER_FLD1";
constexpr std::string_view kCountKey = "NUM_FOLDERS";
constexpr std::string_view kFolder0 = "FOLDER_0";
constexpr std::string_view kName = "NAME";
constexpr std::string_view kTypeCountKey = "NUM_FOLDTYPES";
constexpr std::string_view kTypePrefix = "FOLDTYPE_";
constexpr std::string_view kFld2Name = "Folder FLD2";
constexpr std::string_view kFld1Name = "Folder FLD1";

// Section holding the list of a size slot: "FOLDER_0_A0TATE_FOLDTYPE".
std::string ListSection(int slot) {
  return std::string(kFolder0) + "_" + std::string(kFoldSizeSlots[static_cast<size_t>(slot)].prefix) +
         "_FOLDTYPE";
}

// Up to the first key that is no fold type.
std::vector<int> ReadFoldTypeList(const IniReader& ini, const std::string& section) {
  std::vector<int> list;
  const int count = ReadListCount(ini, section, kTypeCountKey);
  for (int i = 0; i < count; ++i) {
    auto type = FoldTypeFromKey(ini.ReadString(section, ListName(kTypePrefix, i), FoldTypeKey(kFoldOff)));
    if (!type) break;
    list.push_back(*type);
  }
  return list;
}

}  // namespace

FolderModel Fld2DefaultFolderModel() {
  const std::vector<int> zigzag{kFoldOff,       kFoldZigzag140, kFoldZigzag170,
                                kFoldZigzag210, kFoldZigzag297, kFoldZigzagFile};
  return {std::string(kFld2Name), {zigzag, zigzag, zigzag, zigzag, zigzag, zigzag}};
}

FolderModel Fld1FolderModel() {
  return {std::string(kFld1Name),
          {{
              {kFoldOff, kFoldBasicRevW, kFoldBagRevW, kFoldFileRevW, kFoldCross},
              {kFoldOff, kFoldJisBasic, kFoldJisBag, kFoldFileRevW, kFoldFileRev, kFoldCross, kFoldFileW},
              {kFoldOff, kFoldJisFile, kFoldBasicRev, kFoldBagRev, kFoldFileRevW, kFoldFileRev, kFoldCross,
               kFoldFileW},
              {kFoldOff, kFoldJisBasic, kFoldJisBag, kFoldFile, kFoldFileNoAdj, kFoldFileRev, kFoldCross,
               kFoldTwo},
              {kFoldOff, kFoldJisFile, kFoldBasicRev, kFoldBagRev, kFoldFileNoAdj, kFoldFileRev, kFoldCross},
              {kFoldOff, kFoldJisBasic, kFoldJisFile, kFoldJisBag},
          }}};
}

std::vector<FolderModel> LoadFolderModels(const std::filesystem::path& program) {
  const IniSnapshot ini(IniFile{program, std::string(kFile)});
  std::vector<FolderModel> units;
  // Only FOLDER_0 is used, whatever the count says.
  if (ReadListCount(ini, kCountKey) == 0) {
    units.push_back(Fld2DefaultFolderModel());
  } else {
    FolderModel unit;
    unit.name = ini.ReadString(kFolder0, kName, "");
    for (int slot = 0; slot < kFoldSlotCount; ++slot) {
      unit.foldTypes[static_cast<size_t>(slot)] = ReadFoldTypeList(ini, ListSection(slot));
    }
    units.push_back(std::move(unit));
  }
  if (ini.ReadBool("GLOBAL", kEnableFld1, 0) == 1) units.push_back(Fld1FolderModel());
  return units;
}

void CreateFolderModelFile(const std::filesystem::path& program) {
  const IniFile file{program, std::string(kFile)};
  std::error_code ec;
  if (std::filesystem::exists(file.Path(), ec) || ec) return;
  // The file does not exist, so writing it whole is the same as key by key.
  IniSave save(file);
  save.WriteBool("GLOBAL", kEnableFld1, HasFoldWithoutModel(program) ? 1 : 0);
  save.WriteInt("GLOBAL", kCountKey, 1);
  const FolderModel fld2 = Fld2DefaultFolderModel();
  save.WriteString(kFolder0, kName, fld2.name);
  for (int slot = 0; slot < kFoldSlotCount; ++slot) {
    const auto& list = fld2.foldTypes[static_cast<size_t>(slot)];
    const std::string section = ListSection(slot);
    save.WriteInt(section, kTypeCountKey, static_cast<int>(list.size()));
    for (size_t i = 0; i < list.size(); ++i) {
      save.WriteString(section, ListName(kTypePrefix, static_cast<int>(i)), FoldTypeKey(list[i]));
    }
  }
  save.Commit();
}

std::string FolderDisplayName(const std::filesystem::path& program, int unit) {
  if (unit == kFolderUnitFld1) return std::string(kFld1Name);
  if (unit != kFolderUnitFld2) return {};
  std::string name = IniFile{program, std::string(kFile)}.ReadString(kFolder0, kName, "");
  return name.empty() ? std::string(kFld2Name) : name;
}

}  // namespace orvella::settings
