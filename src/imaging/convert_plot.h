#pragma once
// Converting an HP-GL/2 plot into a plot print file: the plot centred on the
// chosen paper behind a new set-up, and the job's stamps as raster blocks.
#include <array>
#include <filesystem>

#include "base/failure.h"
#include "imaging/stamp_placement.h"
#include "settings/work_folder.h"

namespace orvella::imaging {

inline constexpr const char* kPlotRewriteError = "HPGL変換エラー";
inline constexpr const char* kPlotStampError = "スタンプ画像の生成エラー";
inline constexpr const char* kPlotJobError = "印刷コマンド付加エラー";

struct PlotConversionRequest {
  int modelIndex = 0;      // among the wide-format models: 0 is the 400-dpi one
  double scale = 100;      // percent, above 0
  double paperWidth = 0;   // mm
  double paperLength = 0;  // mm
  int rotation = 0;        // RotationCode: 0 none, 1 right, 2 left, 3 half
  std::array<StampPlacement, 3> stamps;
  int pageAngle = 0;  // 0, 90, 180 or 270: the page's turn, for the stamps
  int trayNumber = 0;
  int rollFlag = 0;
  int programNumber = 0;
  int foldType = 0;
  int foldMargin = 0;
};

// The model's resolution: 400 dpi for the first wide-format model, 600 for
// the others.
int PlotModelDpi(int modelIndex);

// Writes the print file for plot to output, with its work files in
// context.work. False with the operator's message and the cause in failure.
bool ConvertPlotJob(const std::filesystem::path& plot, const std::filesystem::path& output,
                    const PlotConversionRequest& request, int extraRotation,
                    const settings::WorkContext& context, base::Failure& failure);

}  // namespace orvella::imaging
