#include "jobs/fold_decision.h"

#include <array>

#include "jobs/decision_messages.h"

namespace orvella::jobs {
namespace {

struct SlotSheet {
  double width;
  double length;
  uint32_t foldBits;  // the fold types' capability bits the sheet allows
};
// In FoldSlot order.
constexpr std::array<SlotSheet, settings::kFoldSlotCount> kSlotSheets{{
    {841, 1189, 0x2142},
    {594, 841, 0x2A70},
    {841, 594, 0x24F1},
    {420, 594, 0x3A1C},
    {594, 420, 0x2499},
    {297, 420, 0x0E00},
}};

}  // namespace

std::optional<int> FoldSlotOf(double w, double l) {
  for (int slot = 0; slot < settings::kFoldSlotCount; ++slot) {
    if (kSlotSheets[slot].width == w && kSlotSheets[slot].length == l) return slot;
  }
  return std::nullopt;
}

uint32_t FoldCapability(double w, double l) {
  const auto slot = FoldSlotOf(w, l);
  return (slot ? kSlotSheets[*slot].foldBits : 0) | kAnyTrayBit;
}

bool DecideFold(const settings::InputFolderSetting& folder, const std::vector<settings::FoldSetting>& folds,
                int printerModel, const TrayCandidate& paper, bool a4FeedRule, FoldChoice& fold,
                base::Failure& failure) {
  fold = {};
  if (folder.wideFoldName.empty()) return true;
  if (a4FeedRule && folder.wideA4Fold && printerModel == settings::kModel05Number && paper.width == 297 &&
      paper.length == 210) {
    fold.type = settings::kFoldJisBasic;
    return true;
  }
  const settings::FoldSetting* setting = nullptr;
  for (const auto& f : folds) {
    if (f.name == folder.wideFoldName) {
      setting = &f;
      break;
    }
  }
  if (!setting) {
    failure = {kFoldError, "FOLD.INI has no fold named \"" + folder.wideFoldName + "\""};
    return false;
  }
  const auto slot = FoldSlotOf(paper.width, paper.length);
  if (!slot) return true;  // a size the folding unit does not fold
  const int type = setting->foldTypes[*slot];
  if (type < 0 || type >= settings::kFoldTypeCount) {
    failure = {kFoldError, "fold \"" + setting->name + "\" holds fold type " + std::to_string(type) +
                               " for " + std::string(settings::kFoldSizeSlots[*slot].prefix) +
                               ", which is not in the catalogue"};
    return false;
  }
  fold.type = type;
  fold.margin = setting->margins[*slot] == -1 ? 0 : setting->margins[*slot];
  return true;
}

}  // namespace orvella::jobs
