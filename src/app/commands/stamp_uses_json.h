#pragma once
// The "stamps" key of a conversion request: up to three {"name", "halftone"}.
#include <array>

#include "app/commands/json_fields.h"
#include "settings/input_settings.h"

namespace orvella::cli {

// Fills the slots from "stamps" when given; JsonInputError naming the key or
// the stamp otherwise.
void ReadStampUses(JsonFields& request, std::array<settings::StampUse, 3>& stamps);

}  // namespace orvella::cli
