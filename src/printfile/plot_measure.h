#pragma once
// Steps shared by measuring a plot and converting it: the envelope, the scan
// and the frame.
#include <filesystem>

#include "base/failure.h"
#include "printfile/plot_envelope.h"
#include "printfile/plot_frame.h"
#include "printfile/plot_scan.h"

namespace orvella::printfile {

inline constexpr const char* kPlotStripError = "HPGLコマンド削除エラー";
inline constexpr const char* kPlotScanError = "HPGL解析エラー";
inline constexpr const char* kPlotSizeError = "HPGL画像サイズ取得エラー";

// The plot without envelope, in the work folder.
inline constexpr const char* kPlotNoCommandFile = "hpgl_no_command.tmp";

struct PlotMeasure {
  PlotHead head;
  std::filesystem::path scanned;  // the source, or its stripped copy
  PlotScan scan;                  // frame completed
  PlotSizeMm size;                // both non-zero
};

// Reads the head, strips an envelope into workFolder, scans and completes
// the frame. False with the operator's message and the cause in failure.
bool MeasurePlot(const std::filesystem::path& plot, const std::filesystem::path& workFolder,
                 PlotMeasure& measure, base::Failure& failure);

}  // namespace orvella::printfile
