#include "settings/fold_settings.h"

#include "settings/field_source.h"
#include "settings/ini_list.h"
#include "settings/value_field_source.h"

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

void UnitField(FieldSink& sink, int unit) { sink.Keyword(kModel, kUnitNames, unit); }

// Records without MODEL predate unit selection and belong to FLD1; other words are FLD2.
void UnitField(IniFieldSource& source, int& unit) {
  unit = FindKeyword(kUnitNames, source.Word(kModel, kUnitNames[kFolderUnitFld1].keyword))
             .value_or(kFolderUnitFld2);
}

void UnitField(StoredFieldList& list, const int& unit) { list.Integer(kModel, unit); }

void UnitField(ValueFieldSource& source, int& unit) {
  if (const auto number = source.Number(kModel, static_cast<int>(kUnitNames.size()))) unit = *number;
}

void FoldTypeField(FieldSink& sink, std::string_view key, int type) {
  sink.Keyword(key, type, FoldTypeKey(type));
}

// A key that is not in the catalogue makes the record unreadable.
void FoldTypeField(IniFieldSource& source, std::string_view key, int& type) {
  const auto stored = FoldTypeFromKey(source.Word(key, FoldTypeKey(kFoldOff)));
  if (stored) {
    type = *stored;
  } else {
    source.MarkUnreadable();
  }
}

void FoldTypeField(StoredFieldList& list, std::string_view key, const int& type) { list.Integer(key, type); }

void FoldTypeField(ValueFieldSource& source, std::string_view key, int& type) {
  if (const auto number = source.Number(key, kFoldTypeCount)) type = *number;
}

// The stored fields of one record in file order, for loading (Fields is an
// IniFieldSource, Fold a record of what missing keys read as) and for saving
// and showing (a FieldSink and a const record).
template <typename Fields, typename Fold>
void FoldFields(Fields& f, Fold& fold) {
  f.Text(kName, fold.name);
  UnitField(f, fold.folderModel);
  for (int slot = 0; slot < kFoldSlotCount; ++slot) {
    FoldTypeField(f, SlotKey(slot, "_FOLDTYPE"), fold.foldTypes[static_cast<size_t>(slot)]);
    f.Integer(SlotKey(slot, "_FOLDMARGIN"), fold.margins[static_cast<size_t>(slot)]);
  }
}

}  // namespace

void VisitFoldFields(const FoldSetting& fold, FieldSink& sink) { FoldFields(sink, fold); }

std::vector<StoredField> StoredFields(const FoldSetting& record) {
  StoredFieldList list;
  FoldFields(list, record);
  return list.fields;
}

void ReadFoldFields(ValueFieldSource& source, FoldSetting& fold) { FoldFields(source, fold); }

bool LoadFolds(const std::filesystem::path& program, std::vector<FoldSetting>& list) {
  list.clear();
  const IniSnapshot ini(IniFile{program, std::string(kFile)});
  IniFieldSource source(ini);
  const int count = ReadListCount(ini, kCountKey);
  for (int i = 0; i < count; ++i) {
    source.SetSection(ListName(kSectionPrefix, i));
    FoldSetting fold;
    fold.margins.fill(0);  // a missing margin reads as 0, not as a new record's "unset"
    FoldFields(source, fold);
    if (!source.AllReadable()) return false;
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
