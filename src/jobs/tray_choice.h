#pragma once
// Choosing the tray or roll an image is printed on, and the paper of a job
// whose printer chooses it itself.
#include <optional>
#include <string>
#include <vector>

#include "jobs/tray_candidates.h"

namespace orvella::jobs {

struct TrayRequest {
  double width = 0;  // the image after rotation and magnification, mm
  double length = 0;
  int marginPlus = 0;   // MARGIN_PLUS
  int marginMinus = 0;  // MARGIN_MINUS
  int addLength = 0;    // UNFIXED_ADD_LEN: added to a roll's cut length
  bool autoRotate = false;
  settings::PaperType paperType = settings::PaperType::kPlain;
};

// The candidate the image goes on: sheets before rolls, then the smallest
// length, the smallest area, the first in order. A chosen roll carries its
// cut length, area and fold capability; the rotate flag is set when the
// paper lies the other way than the image. nullopt when nothing holds it.
std::optional<TrayCandidate> ChooseTray(const std::vector<TrayCandidate>& candidates,
                                        const TrayRequest& request);

// Why ChooseTray found nothing, in plain English: the image, the paper type
// and what the printer holds of it.
std::string NoTrayDetail(const std::vector<TrayCandidate>& candidates, const TrayRequest& request);

// Automatic paper: tray "0" with the smallest standard size the image fits
// (B series when seriesB), its length the short side for a landscape image
// and the long side otherwise; nullopt when no size fits.
std::optional<TrayCandidate> AutomaticPaper(double width, double length, int marginPlus, bool seriesB);

}  // namespace orvella::jobs
