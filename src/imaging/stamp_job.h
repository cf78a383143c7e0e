#pragma once
// The job-level stamp step: renders the up to three stamps an input folder
// names into the job's work folder and places each on the sheet.
#include <array>
#include <filesystem>
#include <string>

#include "base/failure.h"
#include "imaging/stamp_date.h"
#include "imaging/stamp_placement.h"
#include "settings/input_settings.h"
#include "settings/stamp_settings.h"

namespace orvella::imaging {

// For each slot with a stamp name: renders the stamp at dpi into
// "<workFolder>/stamp<slot + 1>.tif" and fills its placement on a sheet of
// sheetWidth × sheetHeight mm turned by rotation (a RotationCode). Slots
// without a name are skipped and keep what they held. On the first failing
// slot, the failure's message is "スタンプ画像の生成エラー[<name>]" and the
// result false; placements filled before stay filled.
bool GenerateJobStamps(const std::filesystem::path& workFolder,
                       const std::array<settings::StampUse, 3>& slots, const settings::StampList& stamps,
                       int dpi, double sheetWidth, double sheetHeight, int rotation,
                       std::array<StampPlacement, 3>& placements, base::Failure& failure,
                       const StampDate& today = LocalToday());

// "スタンプ画像の生成エラー[<name>]": the report of a stamp that could not be made.
std::string StampErrorText(const std::string& name);

}  // namespace orvella::imaging
