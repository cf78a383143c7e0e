#include "jobs/paper_sizes.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/fixed_format.h"

namespace orvella::jobs {
namespace {

// The sizes of a series, smallest first.
constexpr std::array<int, 5> kSeriesA{kSizeA4, kSizeA3, kSizeA2, kSizeA1, kSizeA0};
constexpr std::array<int, 2> kSeriesB{kSizeB5, kSizeB4};

template <typename Match>
std::optional<int> FirstOfSeries(bool seriesB, Match match) {
  auto first = [&](const auto& series) -> std::optional<int> {
    for (int size : series) {
      if (match(kStandardSizes[size])) return size;
    }
    return std::nullopt;
  };
  return seriesB ? first(kSeriesB) : first(kSeriesA);
}

// The standard size an output target names, or nullopt for MAG and codes
// outside the enumeration.
std::optional<int> TargetSize(settings::OutputTarget target) {
  switch (target) {
    case settings::OutputTarget::kA0:
    case settings::OutputTarget::kA1:
    case settings::OutputTarget::kA2:
    case settings::OutputTarget::kA3:
    case settings::OutputTarget::kA4:
      return static_cast<int>(target);
    case settings::OutputTarget::kB4:
      return kSizeB4;
    case settings::OutputTarget::kB5:
      return kSizeB5;
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<int> RecognizeStandardSize(double w, double h, const SizeTolerance& tolerance) {
  const double s = std::min(w, h), l = std::max(w, h);
  return FirstOfSeries(tolerance.seriesB, [&](const PaperSize& size) {
    return size.shortSide - tolerance.minus <= s && s <= size.shortSide + tolerance.plus &&
           size.longSide - tolerance.minus <= l && l <= size.longSide + tolerance.plus;
  });
}

std::optional<int> SmallestFittingSize(double w, double h, int allowance, bool seriesB) {
  const double s = std::min(w, h), l = std::max(w, h);
  return FirstOfSeries(seriesB, [&](const PaperSize& size) {
    return s <= size.shortSide + allowance && l <= size.longSide + allowance;
  });
}

int ExactStandardSize(double w, double h) {
  const double s = std::min(w, h), l = std::max(w, h);
  for (int i = 0; i < kStandardSizeCount; ++i) {
    if (kStandardSizes[i].shortSide == s && kStandardSizes[i].longSide == l) return i;
  }
  return -1;
}

settings::InputSize OutputSizeOf(std::optional<int> standard) {
  if (!standard) return settings::InputSize::kInfixed;
  switch (*standard) {
    case kSizeB4:
      return settings::InputSize::kB4;
    case kSizeB5:
      return settings::InputSize::kB5;
    default:
      return static_cast<settings::InputSize>(*standard);
  }
}

bool DecideOutput(const settings::InputFolderSetting& folder, double w, double h,
                  const SizeTolerance& tolerance, OutputChoice& choice, std::string& detail) {
  if (!(w > 0 && h > 0 && std::isfinite(w) && std::isfinite(h))) {
    detail = "the image size " + SizeText(w, h) + " mm is not a positive size";
    return false;
  }
  choice = {0, 100, w, h};
  if (!folder.useOutputSetting) return true;
  const settings::InputSize input = OutputSizeOf(RecognizeStandardSize(w, h, tolerance));
  const settings::OutputSetting& output = folder.Output(input);
  const std::string which = std::string("the output setting for ") + settings::InputSizeKey(input);
  choice.rotation = static_cast<int>(output.rotation);
  if (output.rotation == settings::Rotation::kRight90 || output.rotation == settings::Rotation::kLeft90)
    std::swap(choice.width, choice.length);
  if (output.target == settings::OutputTarget::kMag) {
    choice.magnification = output.magnification;
  } else if (const auto target = TargetSize(output.target)) {
    // Fit into the target in the image's own orientation.
    const PaperSize& t = kStandardSizes[*target];
    const double cw = choice.width, cl = choice.length;
    choice.magnification = cw >= cl ? std::min(t.longSide * 100 / cw, t.shortSide * 100 / cl)
                                    : std::min(t.shortSide * 100 / cw, t.longSide * 100 / cl);
  } else {
    detail = which + " has the unknown target " + std::to_string(static_cast<int>(output.target));
    return false;
  }
  if (!(choice.magnification > 0 && std::isfinite(choice.magnification))) {
    detail = which + " gives a magnification of " + base::FormatFixed(choice.magnification, 2) +
             " %, which is not a positive number";
    return false;
  }
  return true;
}

std::string MmText(double mm) { return base::FormatFixed(mm, std::trunc(mm) == mm ? 0 : 1); }

std::string SizeText(double w, double h) { return MmText(w) + " x " + MmText(h); }

}  // namespace orvella::jobs
