#pragma once
// Keywords and dialog texts of the paper type (enumeration of the input
// folder settings), shared by the printer trays.
#include <array>

#include "settings/input_settings.h"
#include "settings/keywords.h"

namespace orvella::settings {

inline constexpr std::array<KeywordName, 2> kPaperTypeNames{{
    {"PLAIN", "普通紙"},
    {"OTHER", "普通紙以外"},
}};

}  // namespace orvella::settings
