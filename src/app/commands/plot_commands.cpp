// orvella tool measure-plot / convert-plot: the HP-GL/2 steps on one file.
#include <array>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "app/commands/cli_args.h"
#include "app/commands/command_registry.h"
#include "app/commands/json_fields.h"
#include "app/commands/stamp_uses_json.h"
#include "imaging/convert_plot.h"
#include "imaging/stamp_job.h"
#include "printfile/plot_measure.h"
#include "settings/settings_error.h"
#include "settings/stamp_settings.h"
#include "settings/work_folder.h"

namespace orvella::cli {
namespace {

using json = nlohmann::ordered_json;

int PrintFailure(const base::Failure& failure) {
  std::cout << json{{"ok", false}, {"message", failure.message}, {"detail", failure.detail}}.dump() << "\n";
  return 1;
}

std::optional<settings::WorkFolder> MakeWorkFolder(const CommandContext& context) {
  base::Failure failure{settings::kWorkFolderError, ""};
  auto folder = settings::WorkFolder::Create(context.program, failure.detail);
  if (!folder) PrintFailure(failure);
  return folder;
}

int RunMeasurePlot(const CommandContext& context, const std::vector<std::string>& words) {
  CliArgs args(words, 1, {});
  const std::filesystem::path plot = args.Required(0, "FILE");
  auto folder = MakeWorkFolder(context);
  if (!folder) return 1;
  printfile::PlotMeasure measure;
  base::Failure failure;
  if (!printfile::MeasurePlot(plot, folder->Path(), measure, failure)) return PrintFailure(failure);
  const auto& s = measure.scan;
  json scale = nullptr;
  if (s.scaleXMin != 0 || s.scaleXMax != 0 || s.scaleYMin != 0 || s.scaleYMax != 0)
    scale = {s.scaleXMin, s.scaleXMax, s.scaleYMin, s.scaleYMax};
  json out{{"ok", true},
           {"width_mm", measure.size.width},
           {"height_mm", measure.size.height},
           {"envelope", measure.head.envelope},
           {"lf_only", measure.head.lfOnly},
           {"frame",
            {{"p1", {s.p1x, s.p1y}},
             {"p2", {s.p2x, s.p2y}},
             {"scale", scale},
             {"rotation", s.rotationFound ? json(s.rotation) : json(nullptr)}}}};
  std::cout << out.dump() << "\n";
  return 0;
}

struct PlotRequest {
  imaging::PlotConversionRequest conversion;
  int extraRotation = 0;
  std::array<settings::StampUse, 3> stamps;
};

PlotRequest ReadPlotRequest(const std::string& path) {
  const nlohmann::json object = ReadJsonObjectFile(path);
  PlotRequest r;
  auto& c = r.conversion;
  JsonFields read(object, "request");
  read.Int("model_index", c.modelIndex);
  read.Real("scale", c.scale);
  read.Real("paper_width_mm", c.paperWidth);
  read.Real("paper_length_mm", c.paperLength);
  read.Int("rotation", c.rotation);
  read.Int("page_angle", c.pageAngle);
  read.Int("extra_rotation", r.extraRotation);
  read.Int("tray_number", c.trayNumber);
  read.Int("roll_flag", c.rollFlag);
  read.Int("program_number", c.programNumber);
  read.Int("fold_type", c.foldType);
  read.Int("fold_margin", c.foldMargin);
  ReadStampUses(read, r.stamps);
  read.RejectUnknown();
  if (c.modelIndex < 0) throw read.Error("model_index", "must be 0 or more");
  if (!(c.scale > 0 && c.scale <= 10000)) throw read.Error("scale", "must lie above 0 and at most 10000");
  if (!(c.paperWidth > 0 && c.paperWidth <= 100000)) throw read.Error("paper_width_mm", "must lie above 0");
  if (!(c.paperLength > 0 && c.paperLength <= 100000))
    throw read.Error("paper_length_mm", "must lie above 0");
  if (c.rotation < 0 || c.rotation > 3) throw read.Error("rotation", "must be 0, 1, 2 or 3");
  for (const auto& [key, value] :
       {std::pair{"page_angle", c.pageAngle}, {"extra_rotation", r.extraRotation}}) {
    if (value != 0 && value != 90 && value != 180 && value != 270)
      throw read.Error(key, "must be 0, 90, 180 or 270");
  }
  return r;
}

int RunConvertPlot(const CommandContext& context, const std::vector<std::string>& words) {
  CliArgs args(words, 2, {"request"});
  const std::filesystem::path input = args.Required(0, "FILE");
  const std::filesystem::path output = args.Required(1, "OUT");
  CliArgs::RefuseSameFile(input, output);
  const auto requestFile = args.Value("request");
  if (!requestFile) throw UsageError("missing --request");
  PlotRequest request;
  try {
    request = ReadPlotRequest(*requestFile);
  } catch (const JsonInputError& e) {
    throw UsageError(e.what());
  }
  auto folder = MakeWorkFolder(context);
  if (!folder) return 1;
  const settings::WorkContext work = folder->Context(context.folders.data);
  auto& conversion = request.conversion;
  base::Failure failure;
  try {
    // Stamps are placed on the paper the plot is centred on.
    if (!imaging::GenerateJobStamps(work.work, request.stamps, settings::LoadStamps(work.program),
                                    imaging::PlotModelDpi(conversion.modelIndex), conversion.paperWidth,
                                    conversion.paperLength, conversion.rotation, conversion.stamps, failure))
      return PrintFailure(failure);
  } catch (const settings::SettingsError& e) {
    return PrintFailure({e.what(), "the stamp settings cannot be read"});
  }
  if (!imaging::ConvertPlotJob(input, output, conversion, request.extraRotation, work, failure))
    return PrintFailure(failure);
  std::cout << json{{"ok", true}, {"message", ""}}.dump() << "\n";
  return 0;
}

const CommandRegistrar kMeasurePlot{
    {"tool measure-plot", "FILE", &RunMeasurePlot,
     "Measures the HP-GL/2 plot FILE (bare or in a PJL envelope) as the plot conversion does.\n"
     "Prints the drawing's size in mm, whether it had an envelope, whether its first line ends\n"
     "with LF alone, and the frame: P1, P2 and the scale (null when the plot gave none and\n"
     "nothing filled it), and the RO value read near the start (null when none)."}};

const CommandRegistrar kConvertPlot{
    {"tool convert-plot", "FILE OUT --request FILE.json [--home DIR]", &RunConvertPlot,
     "Converts the HP-GL/2 plot FILE into the plot print file OUT, with the stamps the request\n"
     "names (from STAMP.INI of the program folder) as raster blocks. Prints {\"ok\": ...,\n"
     "\"message\": ...}; on failure the message is the operator's and detail the cause.\n\n"
     R"(The request file is one JSON object; every key is optional, unknown keys are refused:
  model_index       int   among the wide-format models: 0 is 400 dpi, others 600 dpi
  scale             real  percent (default 100)
  paper_width_mm    real  chosen paper
  paper_length_mm   real
  rotation          int   0 none, 1 right 90, 2 left 90, 3 half turn
  page_angle        int   0, 90, 180 or 270: the page's turn, places the stamps
  extra_rotation    int   0, 90, 180 or 270, added to the written rotation
  tray_number       int
  roll_flag         int   non-zero: roll paper
  program_number    int
  fold_type         int
  fold_margin       int
  stamps            list  up to three {"name": STAMP, "halftone": 0..3})"}};

}  // namespace
}  // namespace orvella::cli
