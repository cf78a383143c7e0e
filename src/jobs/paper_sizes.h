#pragma once
// Standard paper sizes: tolerant recognition of an image's size, the
// smallest size an image fits, and the output rotation and magnification an
// input folder's per-size output settings give. Sizes in millimetres.
#include <array>
#include <optional>
#include <string>

#include "settings/input_settings.h"

namespace orvella::jobs {

enum StandardSize : int { kSizeA0 = 0, kSizeA1, kSizeA2, kSizeA3, kSizeA4, kSizeB4, kSizeB5 };
inline constexpr int kStandardSizeCount = 7;

struct PaperSize {
  const char* name;
  double shortSide;
  double longSide;
};
inline constexpr std::array<PaperSize, kStandardSizeCount> kStandardSizes{{
    {"A0", 841, 1189},
    {"A1", 594, 841},
    {"A2", 420, 594},
    {"A3", 297, 420},
    {"A4", 210, 297},
    {"B4", 257, 364},
    {"B5", 182, 257},
}};

// Tolerances around a nominal size (MARGIN_PLUS, MARGIN_MINUS) and the
// paper series in use (ENABLE_PAPER_SIZE_B: B sizes only, else A sizes only).
struct SizeTolerance {
  int plus = 0;
  int minus = 0;
  bool seriesB = false;
};

// The standard size w x h lies within the tolerance of, in either
// orientation, trying the smaller sizes first; nullopt for a non-standard size.
std::optional<int> RecognizeStandardSize(double w, double h, const SizeTolerance& tolerance);

// The smallest standard size of the series that w x h fits into in either
// orientation with the allowance added to its sides; nullopt when none does.
std::optional<int> SmallestFittingSize(double w, double h, int allowance, bool seriesB);

// The standard size index of exactly w x h in either orientation, -1 for any
// other size.
int ExactStandardSize(double w, double h);

// The output setting (InputSize) a recognised size uses: A0–A4, B4, B5, or
// the one for non-standard sizes.
settings::InputSize OutputSizeOf(std::optional<int> standard);

// Rotation and magnification of a page or plot under its folder's output
// settings; width and length are the image's after the rotation.
struct OutputChoice {
  int rotation = 0;            // RotationCode of the output setting
  double magnification = 100;  // percent
  double width = 0;            // mm, swapped for a quarter turn
  double length = 0;
};

// False with a plain-English reason in detail when the image has no positive
// size or the output setting gives no positive magnification.
bool DecideOutput(const settings::InputFolderSetting& folder, double w, double h,
                  const SizeTolerance& tolerance, OutputChoice& choice, std::string& detail);

// "594", "0.5": millimetres as the details show them; "594 x 841" for a size.
std::string MmText(double mm);
std::string SizeText(double w, double h);

}  // namespace orvella::jobs
