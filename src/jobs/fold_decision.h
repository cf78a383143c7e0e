#pragma once
// The fold the folding unit of a wide-format printer applies to a sheet.
#include <cstdint>
#include <optional>
#include <vector>

#include "base/failure.h"
#include "jobs/tray_candidates.h"
#include "settings/fold_settings.h"
#include "settings/input_settings.h"

namespace orvella::jobs {

struct FoldChoice {
  int type = 0;  // FoldTypeNumber; 0 no fold
  int margin = 0;
};

// The fold setting's size slot of a sheet of exactly w x l; nullopt for a
// size that is never folded.
std::optional<int> FoldSlotOf(double w, double l);

// The fold-type bits a folding unit can apply to a sheet of exactly w x l
// (feed direction matters), with kAnyTrayBit set.
uint32_t FoldCapability(double w, double l);

// The fold for paper (the chosen tray or roll, with its cut length) on a
// printer of model printerModel. Without a fold name there is none; with the
// A4 feed rule applied (page conversions) and the folder's A4 feed on, an
// A4 landscape sheet on a MODEL_05 gets the JIS basic fold; otherwise the
// folder's fold setting gives type and margin for the sheet's size slot.
// False with "紙折エラー" when the fold setting is missing or holds a fold
// type outside the catalogue.
bool DecideFold(const settings::InputFolderSetting& folder, const std::vector<settings::FoldSetting>& folds,
                int printerModel, const TrayCandidate& paper, bool a4FeedRule, FoldChoice& fold,
                base::Failure& failure);

}  // namespace orvella::jobs
