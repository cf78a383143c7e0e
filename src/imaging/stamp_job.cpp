#include "imaging/stamp_job.h"

#include <utility>

#include "imaging/stamp_renderer.h"
#include "imaging/tiff_page_info.h"

namespace orvella::imaging {
namespace {

// Renders one slot's stamp and places it; false with the cause in detail
// when any step fails.
bool PlaceSlot(const std::filesystem::path& workFolder, const settings::StampUse& slot, size_t index,
               const settings::StampList& stamps, int dpi, double sheetWidth, double sheetHeight,
               int rotation, StampPlacement& placement, const StampDate& today, std::string& detail) {
  placement = {};
  placement.valid = true;
  placement.halftone = slot.halftone;
  placement.path = workFolder / ("stamp" + std::to_string(index + 1) + ".tif");

  const settings::StampSetting* stamp = settings::FindStamp(stamps, slot.name);
  if (!stamp) {
    detail = "STAMP.INI has no stamp named \"" + slot.name + "\"";
    return false;
  }
  if (!RenderStamp(*stamp, dpi, placement.path, today)) {
    detail = "the stamp \"" + slot.name + "\" cannot be drawn into " + placement.path.string() +
             " (an image stamp needs a readable 1-bit TIFF)";
    return false;
  }
  // The size as written, read back from the file.
  TiffPageInfo info;
  if (ReadPageInfo(placement.path, 0, info, &detail) != kTiffOk) return false;
  if (!(info.xResolution > 0) || !(info.yResolution > 0)) {
    detail = placement.path.string() + " has no usable resolution";
    return false;
  }
  const double width = info.width / static_cast<double>(info.xResolution) * 25.4;
  const double height = info.length / static_cast<double>(info.yResolution) * 25.4;
  const MmPoint at = PlaceStamp(static_cast<int>(stamp->corner), stamp->xOffset, stamp->yOffset, width,
                                height, sheetWidth, sheetHeight, rotation);
  placement.x = at.x;
  placement.y = at.y;
  return true;
}

}  // namespace

bool GenerateJobStamps(const std::filesystem::path& workFolder,
                       const std::array<settings::StampUse, 3>& slots, const settings::StampList& stamps,
                       int dpi, double sheetWidth, double sheetHeight, int rotation,
                       std::array<StampPlacement, 3>& placements, base::Failure& failure,
                       const StampDate& today) {
  for (size_t i = 0; i < slots.size(); ++i) {
    if (slots[i].name.empty()) continue;
    std::string detail;
    if (!PlaceSlot(workFolder, slots[i], i, stamps, dpi, sheetWidth, sheetHeight, rotation, placements[i],
                   today, detail)) {
      failure = {StampErrorText(slots[i].name), std::move(detail)};
      return false;
    }
  }
  return true;
}

std::string StampErrorText(const std::string& name) { return "スタンプ画像の生成エラー[" + name + "]"; }

}  // namespace orvella::imaging
