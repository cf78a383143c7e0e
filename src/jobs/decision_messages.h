#pragma once
// The operator's messages of the paper, tray and fold decision, as the job
// window and job log show them.
#include "printfile/plot_measure.h"

namespace orvella::jobs {

inline constexpr const char* kPrinterError = "プリンタエラー";
inline constexpr const char* kTraySelectionError = "トレイ選択不可";
inline constexpr const char* kFoldError = "紙折エラー";
inline constexpr const char* kStandardSizeError = "定型用紙判定エラー";
// Any failure to measure a plot is reported as its size not being read.
inline constexpr const char* kPlotMeasureError = printfile::kPlotSizeError;

}  // namespace orvella::jobs
