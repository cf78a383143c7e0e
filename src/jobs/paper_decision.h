#pragma once
// The paper of one unit (the tray or the automatic standard size, and the
// fold) decided from values alone: the printer comes with the trays it holds
// now, fetched before the decision.
#include <optional>

#include "base/failure.h"
#include "jobs/fold_decision.h"
#include "jobs/operation_settings.h"
#include "jobs/paper_sizes.h"
#include "jobs/tray_candidates.h"

namespace orvella::jobs {

struct PaperQuestion {
  const settings::InputFolderSetting& folder;
  const OperationSettings& settings;
  const settings::PrinterSetting& printer;  // its trays as the printer holds them now
  OutputChoice output;                      // the image's rotation, magnification and turned size
  settings::PaperType paperType = settings::PaperType::kPlain;
  bool automaticPaper = false;  // the smallest standard size instead of a tray (whole-file jobs)
  bool fold = false;            // decide the fold too (wide-format printers)
  bool a4FeedRule = true;       // page conversions apply the A4 feed rule, plots do not
};

struct PaperAnswer {
  std::optional<TrayCandidate> paper;  // set once chosen, also when the fold then fails
  FoldChoice fold;
};

// False with "トレイ選択不可", "定型用紙判定エラー" or "紙折エラー" and the cause.
bool DecidePaper(const PaperQuestion& question, PaperAnswer& answer, base::Failure& failure);

}  // namespace orvella::jobs
