#pragma once
// Folding units (FOLDERMODEL.INI): which fold types each unit offers for
// each size slot. Entry 0 is the unit the file describes (by default the
// FLD2 unit); entry 1, the FLD1 unit with fixed lists, is present only when
// the file enables it.
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/fold_types.h"

namespace orvella::settings {

struct FolderModel {
  std::string name;
  std::array<std::vector<int>, kFoldSlotCount> foldTypes;  // per size slot, in display order
};

inline constexpr int kFolderUnitFld2 = 0;  // entry 0 of the list
inline constexpr int kFolderUnitFld1 = 1;

FolderModel Fld2DefaultFolderModel();
FolderModel Fld1FolderModel();

// The folding-unit list: one or two entries. A missing file, or a count of
// 0, gives the FLD2 defaults. Raises SettingsError for an unreadable file.
std::vector<FolderModel> LoadFolderModels(const std::filesystem::path& program);

// Writes FOLDERMODEL.INI with the FLD2 defaults when it does not exist;
// FLD1 is enabled when FOLD.INI has records from before units were selectable.
void CreateFolderModelFile(const std::filesystem::path& program);

// "Folder FLD1" for unit 1; for unit 0 the NAME of FOLDER_0, or "Folder FLD2"
// when that is empty or missing; empty for any other number.
std::string FolderDisplayName(const std::filesystem::path& program, int unit);

}  // namespace orvella::settings
