#include "settings/fold_types.h"

namespace orvella::settings {

std::optional<int> FoldTypeFromKey(std::string_view key) {
  for (size_t i = 0; i < kFoldTypes.size(); ++i)
    if (kFoldTypes[i].key == key) return static_cast<int>(i);
  return std::nullopt;
}

std::string_view FoldTypeKey(int foldType) {
  if (foldType < 0 || foldType >= kFoldTypeCount) return {};
  return kFoldTypes[static_cast<size_t>(foldType)].key;
}

std::optional<MarginRange> FoldMarginRule(int foldType, int slot) {
  constexpr MarginRange kBinding{25, 40};
  switch (foldType) {
    case kFoldFile:
      return MarginRange{105, 105};
    case kFoldFileNoAdj:
      return MarginRange{17, 17};
    case kFoldFileRev:
      if (slot == kSlotA1Tate || slot == kSlotA1Yoko) return kBinding;
      if (slot == kSlotA2Yoko) return MarginRange{94, 94};
      return MarginRange{105, 105};
    case kFoldFileW:
    case kFoldFileRevW:
      return kBinding;
    case kFoldJisFile:
      if (slot == kSlotA2Yoko) return MarginRange{94, 94};
      if (slot == kSlotA3Tate) return MarginRange{104, 104};
      return kBinding;
    default:
      return std::nullopt;
  }
}

std::string FoldMarginValues(const MarginRange& rule) {
  const std::string low = std::to_string(rule.low);
  return rule.IsSingle() ? low : low + " ～ " + std::to_string(rule.high);
}

std::string FoldMarginRuleText(const std::optional<MarginRange>& rule) {
  if (!rule) return "なし";
  return FoldMarginValues(*rule) + (rule->IsSingle() ? " のみ" : "");
}

}  // namespace orvella::settings
