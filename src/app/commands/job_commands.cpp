// orvella tool raster-job / plot-job / inspect-job: write a print file from
// options given as JSON, and show how a print file splits into its parts.
#include <iostream>
#include <nlohmann/json.hpp>

#include "app/commands/cli_args.h"
#include "app/commands/command_registry.h"
#include "app/commands/json_fields.h"
#include "app/commands/print_file_json.h"
#include "app/commands/raster_options_json.h"
#include "printfile/plot_job.h"
#include "printfile/print_command_error.h"
#include "printfile/print_file_reader.h"
#include "printfile/raster_job.h"

namespace orvella::cli {
namespace {

using json = nlohmann::ordered_json;

void Print(const json& j) { std::cout << j.dump(2, ' ', false, json::error_handler_t::replace) << "\n"; }

printfile::RasterJobOptions ReadRasterOptions(JsonFields& read) {
  printfile::RasterJobOptions o;
  ReadRasterHeaderFields(read, o);
  read.Real("x_magnification", o.xMagnification);
  read.Real("y_magnification", o.yMagnification);
  read.Int("fit", o.fit);
  return o;
}

printfile::PlotJobOptions ReadPlotOptions(JsonFields& read) {
  printfile::PlotJobOptions o;
  read.Int("paper_width", o.paperWidth);
  read.Int("paper_height", o.paperHeight);
  read.Int("program_number", o.programNumber);
  read.Int("tray_number", o.trayNumber);
  read.Int("roll_flag", o.rollFlag);
  read.Real("scale", o.scale);
  read.Real("second_scale", o.secondScale);
  read.Real("first_scale", o.firstScale);
  if (const nlohmann::json* files = read.Find("stamp_files")) {
    if (!files->is_array() || files->size() > o.stampFiles.size())
      throw read.Error("stamp_files", "must be a list of up to 3 paths");
    for (size_t i = 0; i < files->size(); ++i) {
      if (!(*files)[i].is_string()) throw read.Error("stamp_files", "must hold paths (\"\" for none)");
      o.stampFiles[i] = (*files)[i].get<std::string>();
    }
  }
  read.Int("fold_type", o.foldType);
  read.Int("fold_margin", o.foldMargin);
  return o;
}

template <typename Options>
int RunWriteJob(const std::vector<std::string>& args, Options (*readOptions)(JsonFields&),
                bool (*write)(const std::filesystem::path&, const std::filesystem::path&, const Options&)) {
  CliArgs a(args, {"options"});
  const std::string source = a.Required(0, "source file");
  const std::string output = a.Required(1, "output file");
  const auto optionsPath = a.Value("options");
  if (!optionsPath) throw UsageError("missing --options FILE.json");
  Options options;
  try {
    const nlohmann::json object = ReadJsonObjectFile(*optionsPath);
    JsonFields read(object, *optionsPath);
    options = readOptions(read);
    read.RejectUnknown();
  } catch (const JsonInputError& e) {
    Print({{"ok", false}, {"error", e.what()}});
    return 1;
  }
  if (!write(source, output, options)) {
    Print({{"ok", false}, {"error", printfile::kPrintCommandError}});
    return 1;
  }
  Print({{"ok", true}});
  return 0;
}

int RunRasterJob(const std::vector<std::string>& args) {
  return RunWriteJob<printfile::RasterJobOptions>(args, &ReadRasterOptions, &printfile::WriteRasterJob);
}

int RunPlotJob(const std::vector<std::string>& args) {
  return RunWriteJob<printfile::PlotJobOptions>(args, &ReadPlotOptions, &printfile::WritePlotJob);
}

// Exit status 0 only for a file split without anything left unrecognised.
int RunInspectJob(const std::vector<std::string>& args) {
  CliArgs a(args, {});
  const std::string path = a.Required(0, "print file");
  std::string error;
  auto view = printfile::ReadPrintFile(path, error);
  if (!view) {
    Print({{"ok", false}, {"error", error}});
    return 1;
  }
  Print(PrintFileToJson(*view));
  return view->Clean() ? 0 : 1;
}

const CommandRegistrar kRaster{{"tool raster-job", "TIFF OUT --options FILE.json", &RunRasterJob}};
const CommandRegistrar kPlot{{"tool plot-job", "PLOT OUT --options FILE.json", &RunPlotJob}};
const CommandRegistrar kInspect{{"tool inspect-job", "FILE", &RunInspectJob}};

}  // namespace
}  // namespace orvella::cli
