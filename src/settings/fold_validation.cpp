#include "settings/fold_validation.h"

#include <algorithm>

#include "base/text_codec.h"

namespace orvella::settings {
namespace {

constexpr std::string_view kNameEmpty = "紙折設定名称を入力してください。";
constexpr std::string_view kTypeInvalid = "指定した折種類は無効のため再指定してください。";

using Failure = ValidationFailure<FoldField>;

// "%s %s のマージンは %d で指定してください。" or "… %d ～ %d …".
std::string MarginMessage(int slot, int foldType, const MarginRange& rule) {
  return std::string(kFoldSizeSlots[static_cast<size_t>(slot)].displayName) + " " +
         std::string(kFoldTypes[static_cast<size_t>(foldType)].displayName) + " のマージンは " +
         FoldMarginValues(rule) + " で指定してください。";
}

}  // namespace

std::optional<Failure> ValidateFoldSetting(const FoldSetting& fold, const std::vector<FoldSetting>& list,
                                           std::optional<size_t> editedIndex,
                                           const std::vector<FolderModel>& units) {
  const std::string name = base::TrimNameBlanks(fold.name);
  if (auto message = CheckSettingName(name, kFoldNameMaxBytes, kNameEmpty)) {
    return Failure{*message, FoldField::kName};
  }
  for (size_t i = 0; i < list.size(); ++i) {
    if (editedIndex && *editedIndex == i) continue;
    if (list[i].name == name) return Failure{std::string(kSettingNameTaken), FoldField::kName};
  }
  // A unit missing from the list (FLD1 no longer enabled) offers nothing.
  const FolderModel* unit = fold.folderModel >= 0 && static_cast<size_t>(fold.folderModel) < units.size()
                                ? &units[static_cast<size_t>(fold.folderModel)]
                                : nullptr;
  for (int slot = 0; slot < kFoldSlotCount; ++slot) {
    const int type = fold.foldTypes[static_cast<size_t>(slot)];
    if (!unit || std::ranges::count(unit->foldTypes[static_cast<size_t>(slot)], type) == 0) {
      return Failure{std::string(kTypeInvalid), FoldField::kFoldType, slot};
    }
    const auto rule = FoldMarginRule(type, slot);
    if (rule && !rule->Contains(fold.margins[static_cast<size_t>(slot)])) {
      return Failure{MarginMessage(slot, type, *rule), FoldField::kMargin, slot};
    }
  }
  return std::nullopt;
}

}  // namespace orvella::settings
