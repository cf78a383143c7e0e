#pragma once
// Paper type requested on a printer or loaded in a tray.
#include <array>

#include "settings/keywords.h"

namespace orvella::settings {

enum class PaperType { kPlain = 0, kOther = 1 };

inline constexpr std::array<KeywordName, 2> kPaperTypeNames{{
    {"PLAIN", "普通紙"},
    {"OTHER", "普通紙以外"},
}};

// An unknown keyword reads as PLAIN, the default.
inline PaperType PaperTypeFromKeyword(std::string_view text) {
  return static_cast<PaperType>(FindKeyword(kPaperTypeNames, text).value_or(0));
}

}  // namespace orvella::settings
