#pragma once
// Fold settings (FOLD.INI): per size slot, the fold type and binding margin
// that one folding unit applies. Input folder settings refer to them by NAME.
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/field_key.h"
#include "settings/field_sink.h"
#include "settings/fold_types.h"
#include "settings/folder_models.h"

namespace orvella::settings {

class ValueFieldSource;

// A default-constructed record is the new fold of the fold list.
struct FoldSetting {
  std::string name;
  int folderModel = kFolderUnitFld2;  // entry of the folding-unit list
  std::array<int, kFoldSlotCount> foldTypes{};
  std::array<int, kFoldSlotCount> margins{-1, -1, -1, -1, -1, -1};
};

// Fills list with the records of FOLD.INI in file order. False when a stored
// fold type key is not in the catalogue; the records before it are kept.
// Raises SettingsError when the file exists but cannot be read.
bool LoadFolds(const std::filesystem::path& program, std::vector<FoldSetting>& list);

// Rewrites FOLD.INI with exactly these records. False, with the file left as
// it was, when a record's unit or fold type lies outside its range. Raises
// SettingsError on a failed write.
bool SaveFolds(const std::filesystem::path& program, const std::vector<FoldSetting>& list);

// True when FOLD.INI exists and one of its records lacks the MODEL key (a
// file from before folding units were selectable).
bool HasFoldWithoutModel(const std::filesystem::path& program);

// The stored fields of one record in file order.
void VisitFoldFields(const FoldSetting& fold, FieldSink& sink);
// The stored fields of record with their members (field_key.h).
std::vector<StoredField> StoredFields(const FoldSetting& record);
// Reads a record's fields from given values (see ValueFieldSource): MODEL a
// unit number, the fold types numbers of the catalogue.
void ReadFoldFields(ValueFieldSource& source, FoldSetting& fold);

}  // namespace orvella::settings
