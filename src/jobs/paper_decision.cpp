#include "jobs/paper_decision.h"

#include "jobs/decision_messages.h"
#include "jobs/tray_choice.h"

namespace orvella::jobs {

bool DecidePaper(const PaperQuestion& question, PaperAnswer& answer, base::Failure& failure) {
  const auto& settings = question.settings;
  const OutputChoice& output = question.output;
  const double w = output.width * output.magnification / 100;
  const double h = output.length * output.magnification / 100;
  std::optional<TrayCandidate>& chosen = answer.paper;
  answer = {};
  if (question.automaticPaper) {
    chosen = AutomaticPaper(w, h, settings.preferences.marginPlus, settings.hidden.enablePaperSizeB);
    if (!chosen) {
      failure = {kStandardSizeError, "no standard size holds the first page of " + SizeText(w, h) + " mm"};
      return false;
    }
  } else {
    const auto candidates = settings::IsWidePrinter(question.printer) ? WideTrayCandidates(question.printer)
                                                                      : A2TrayCandidates(question.printer);
    const TrayRequest request{w,
                              h,
                              settings.preferences.marginPlus,
                              settings.preferences.marginMinus,
                              settings.hidden.unfixedAddLen,
                              question.folder.autoRotate,
                              question.paperType};
    chosen = ChooseTray(candidates, request);
    if (!chosen) {
      failure = {kTraySelectionError, NoTrayDetail(candidates, request)};
      return false;
    }
  }
  return !question.fold || DecideFold(question.folder, settings.folds, question.printer.model, *chosen,
                                      question.a4FeedRule, answer.fold, failure);
}

}  // namespace orvella::jobs
