#pragma once
// The checks the stamp edit window makes on OK and on preview, in the order
// the operator meets them; the first failure names its message and field.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "settings/logfont.h"
#include "settings/stamp_settings.h"
#include "settings/validation.h"

namespace orvella::settings {

// kRowText comes with the text row 1..4 in ValidationFailure::row.
enum class StampField { kName, kXOffset, kYOffset, kFont, kImagePath, kLineWidth, kRowText };

// The edit window's values as typed.
struct StampForm {
  std::string name;
  std::string xOffset;  // mm
  std::string yOffset;
  StampType type = StampType::kDate;
  LogFont font;  // shared by the date and simple pages
  int pointSize = 0;
  std::string imagePath;
  bool rulerLines = false;
  std::string lineWidth;  // mm, one decimal
  std::array<std::string, 4> rowTexts;
};

// editing: the position of the stamp being edited in stamps (its own name
// may be kept), or nullopt for a new stamp.
std::optional<ValidationFailure<StampField>> ValidateStampForm(const StampForm& form, const StampList& stamps,
                                                               std::optional<size_t> editing);

// An offset text of at most 4 characters holding a whole number 0..1000.
std::optional<int> ParseStampOffset(std::string_view text);
// A line width text of at most 4 characters whose value in tenths of a mm,
// trunc(value × 10), is 1..100.
std::optional<int> ParseStampLineWidth(std::string_view text);

}  // namespace orvella::settings
