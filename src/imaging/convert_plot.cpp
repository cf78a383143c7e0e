#include "imaging/convert_plot.h"

#include <string>

#include "imaging/plot_stamp_block.h"
#include "printfile/job_option_checks.h"
#include "printfile/plot_job.h"
#include "printfile/plot_measure.h"
#include "printfile/plot_rewrite.h"

namespace orvella::imaging {

namespace {

printfile::PlotJobOptions JobOptions(const PlotConversionRequest& request) {
  printfile::PlotJobOptions options;
  options.paperWidth = printfile::TruncateToInt(request.paperWidth);
  options.paperHeight = printfile::TruncateToInt(request.paperLength);
  options.scale = request.scale;
  options.firstScale = 100;
  options.secondScale = 100;
  options.programNumber = request.programNumber;
  options.trayNumber = request.trayNumber;
  options.rollFlag = request.rollFlag;
  options.foldType = request.foldType;
  options.foldMargin = request.foldMargin;
  return options;
}

}  // namespace

int PlotModelDpi(int modelIndex) { return modelIndex == 0 ? 400 : 600; }

bool ConvertPlotJob(const std::filesystem::path& plot, const std::filesystem::path& output,
                    const PlotConversionRequest& request, int extraRotation,
                    const settings::WorkContext& context, base::Failure& failure) {
  printfile::PlotJobOptions options = JobOptions(request);
  // Options the writer would refuse fail before any work. The centring and
  // the stamps divide by the scale, which the writer would take as "none".
  auto refused = printfile::CheckPlotJobOptions(options);
  if (!refused && !(request.scale > 0)) refused = "the scale (%) is 0; a plot needs one above 0";
  if (refused) {
    failure = {kPlotJobError, *refused};
    return false;
  }
  printfile::PlotMeasure measure;
  if (!printfile::MeasurePlot(plot, context.work, measure, failure)) return false;
  const bool turned = request.rotation == 1 || request.rotation == 2;
  const double a = turned ? measure.size.height : measure.size.width;
  const double b = turned ? measure.size.width : measure.size.height;
  printfile::CentrePlot(measure.scan, a, b, request.paperWidth, request.paperLength, request.scale);
  measure.scan.rotation = printfile::PlotRotationToWrite(a, b, request.paperWidth, request.paperLength,
                                                         request.rotation, extraRotation);

  const auto rewritten = context.work / "hpgl_rewrite.tmp";
  if (!printfile::RewritePlot(measure.scanned, rewritten, measure.scan, 1, &failure.detail)) {
    failure.message = kPlotRewriteError;
    return false;
  }

  for (size_t i = 0; i < request.stamps.size(); ++i) {
    if (!request.stamps[i].valid) continue;
    const auto rtl = context.work / ("stamp" + std::to_string(i) + ".rtl");
    if (!WritePlotStampBlock(request.stamps[i], request, context, rtl, failure.detail)) {
      failure.message = kPlotStampError;
      return false;
    }
    options.stampFiles[i] = rtl.string();
  }
  if (!printfile::WritePlotJob(rewritten, output, options, &failure.detail)) {
    failure.message = kPlotJobError;
    return false;
  }
  return true;
}

}  // namespace orvella::imaging
