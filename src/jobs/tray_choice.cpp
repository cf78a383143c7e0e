#include "jobs/tray_choice.h"

#include <algorithm>

#include "jobs/fold_decision.h"
#include "jobs/paper_sizes.h"
#include "settings/paper_type.h"

namespace orvella::jobs {
namespace {

bool Within(double value, double nominal, const TrayRequest& r) {
  return nominal - r.marginMinus <= value && value <= nominal + r.marginPlus;
}

bool SheetMatches(const TrayCandidate& c, const TrayRequest& r) {
  return (Within(r.width, c.width, r) && Within(r.length, c.length, r)) ||
         (r.autoRotate && Within(r.width, c.length, r) && Within(r.length, c.width, r));
}

// The cut length the image needs on the roll, or nullopt when it does not
// fit across it.
std::optional<double> RollCut(const TrayCandidate& c, const TrayRequest& r) {
  const double w = r.width, h = r.length, across = c.width + r.marginPlus;
  if (w <= h) {
    if (!r.autoRotate || h > across) {
      if (w <= across) return h + r.addLength;
      return std::nullopt;
    }
    return w + r.addLength;
  }
  if (w <= across) return h + r.addLength;
  if (r.autoRotate && h <= across) return w + r.addLength;
  return std::nullopt;
}

std::optional<TrayCandidate> RollMatch(const TrayCandidate& c, const TrayRequest& r) {
  const auto needed = RollCut(c, r);
  if (!needed) return std::nullopt;
  const double cut = std::max(*needed, c.minLength);
  if (!(cut <= c.maxLength)) return std::nullopt;
  TrayCandidate matched = c;
  matched.length = cut;
  matched.area = c.width * cut;
  matched.sizeIndex = ExactStandardSize(c.width, cut);
  matched.foldCapability = FoldCapability(c.width, cut);
  return matched;
}

bool Usable(const TrayCandidate& c, const TrayRequest& r) {
  return c.paperType == r.paperType && (c.foldCapability & kAnyTrayBit) != 0 && (c.width > 0 || c.length > 0);
}

}  // namespace

std::optional<TrayCandidate> ChooseTray(const std::vector<TrayCandidate>& candidates,
                                        const TrayRequest& request) {
  std::vector<TrayCandidate> sheets, rolls;
  for (const TrayCandidate& c : candidates) {
    if (!Usable(c, request)) continue;
    if (!c.roll) {
      if (SheetMatches(c, request)) sheets.push_back(c);
    } else if (auto matched = RollMatch(c, request)) {
      rolls.push_back(std::move(*matched));
    }
  }
  const std::vector<TrayCandidate>& matches = sheets.empty() ? rolls : sheets;
  if (matches.empty()) return std::nullopt;
  // min_element keeps the first of equals: candidate order breaks ties.
  TrayCandidate chosen = *std::min_element(matches.begin(), matches.end(), [](const auto& a, const auto& b) {
    return a.length != b.length ? a.length < b.length : a.area < b.area;
  });
  chosen.rotate = (chosen.width >= chosen.length) != (request.width >= request.length);
  return chosen;
}

std::string NoTrayDetail(const std::vector<TrayCandidate>& candidates, const TrayRequest& request) {
  std::string detail = "no tray of paper type " +
                       std::string(settings::kPaperTypeNames[static_cast<int>(request.paperType)].keyword) +
                       " holds " + SizeText(request.width, request.length) + " mm";
  std::vector<std::string> sheets;
  double widestRoll = 0, minCut = 0, maxCut = 0;
  for (const TrayCandidate& c : candidates) {
    if (!Usable(c, request)) continue;
    if (!c.roll) {
      sheets.push_back(SizeText(c.width, c.length));
    } else if (c.width > widestRoll) {
      widestRoll = c.width;
      minCut = c.minLength;
      maxCut = c.maxLength;
    }
  }
  if (sheets.empty() && widestRoll == 0) return detail + " (the printer has no paper of that type)";
  std::string held;
  for (const std::string& s : sheets) held += (held.empty() ? "sheets " : ", ") + s;
  if (widestRoll > 0) {
    held += (held.empty() ? "" : "; ") + std::string("widest roll ") + MmText(widestRoll) +
            " mm, cut limits " + MmText(minCut) + "-" + MmText(maxCut) + " mm";
  }
  return detail + " (" + held + ")";
}

std::optional<TrayCandidate> AutomaticPaper(double width, double length, int marginPlus, bool seriesB) {
  const auto size = SmallestFittingSize(width, length, marginPlus, seriesB);
  if (!size) return std::nullopt;
  const PaperSize& paper = kStandardSizes[*size];
  const bool landscape = width > length;
  return SheetCandidate("0", 0, landscape ? paper.longSide : paper.shortSide,
                        landscape ? paper.shortSide : paper.longSide, settings::PaperType::kPlain);
}

}  // namespace orvella::jobs
