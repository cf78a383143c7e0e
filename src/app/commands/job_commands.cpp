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
                bool (*write)(const std::filesystem::path&, const std::filesystem::path&, const Options&,
                              std::string*)) {
  CliArgs a(args, 2, {"options"});
  const std::string source = a.Required(0, "source file");
  const std::string output = a.Required(1, "output file");
  CliArgs::RefuseSameFile(source, output);
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
  std::string detail;
  if (!write(source, output, options, &detail)) {
    Print({{"ok", false}, {"error", printfile::kPrintCommandError}, {"detail", detail}});
    return 1;
  }
  Print({{"ok", true}});
  return 0;
}

int RunRasterJob(const CommandContext& /*context*/, const std::vector<std::string>& args) {
  return RunWriteJob<printfile::RasterJobOptions>(args, &ReadRasterOptions, &printfile::WriteRasterJob);
}

int RunPlotJob(const CommandContext& /*context*/, const std::vector<std::string>& args) {
  return RunWriteJob<printfile::PlotJobOptions>(args, &ReadPlotOptions, &printfile::WritePlotJob);
}

// Exit status 0 only for a file split without anything left unrecognised
// that holds at least one page.
int RunInspectJob(const CommandContext& /*context*/, const std::vector<std::string>& args) {
  CliArgs a(args, 1, {});
  const std::string path = a.Required(0, "print file");
  std::string error;
  auto view = printfile::ReadPrintFile(path, error);
  if (!view) {
    Print({{"ok", false}, {"error", error}});
    return 1;
  }
  auto json = PrintFileToJson(*view);
  json["pages"] = view->Pages();
  Print(json);
  return view->Clean() && view->Pages() > 0 ? 0 : 1;
}

const CommandRegistrar kRaster{
    {"tool raster-job", "TIFF OUT --options FILE.json", &RunRasterJob,
     "Writes a raster print file: the job header from the options, the TIFF file's\n"
     "bytes unchanged, and the trailer. Prints {\"ok\": ...} with \"error\" and \"detail\"\n"
     "on failure.\n\n"
     R"(The options file is one JSON object; every key is optional, unknown keys are refused:
  printer_class       int     0 wide-format (fold commands), 1 A2-or-smaller (finisher commands), other: none
  tray_name           string  value of the "tray" print condition (no commas or control characters)
  resolution          int     dots per inch, 1 to 9600
  x_magnification     real    factor written as xmag (0: not written), at most 10
  y_magnification     real    factor written as ymag (0: not written), at most 10
  landscape           int     non-zero: landscape, else portrait
  fit                 int     non-zero: "tifffit"
  error_print         int     non-zero: "errorprint", else "noerrorprint"
  free_size_flag      int     non-zero: write "freesize" (wide-format only)
  free_size_width     int     free size width, mm
  free_size_height    int     free size height, mm
  program_number      int     printer program to select (0: none)
  fold_type           int     fold type of the folding unit (0: no fold)
  fold_margin         int     fold margin, mm
  staple              int     0 none, 1 left top, 2 right top, 3 left two, 4 right two, 5 top two
  punch               int     0 none, 1 left, 2 right, 3 top
  duplex              int     0 single-sided, 1 both sides, 2 flip
  z_fold              int     0 none, 1 left, 2 right, 3 bottom
  two_up              int     non-zero: two pages on one sheet
  auto_paper          int     non-zero: the printer chooses the paper
  auto_paper_percent  int     magnification the automatic paper choice uses, percent
  quantity            int     copies for the finisher (written when 2 or more), at most 999
)"}};
const CommandRegistrar kPlot{
    {"tool plot-job", "PLOT OUT --options FILE.json", &RunPlotJob,
     "Writes a plot print file: the job header from the options, the HP-GL/2 data,\n"
     "the stamp blocks and the trailer. Prints {\"ok\": ...} with \"error\" and\n"
     "\"detail\" on failure.\n\n"
     R"(The options file is one JSON object; every key is optional, unknown keys are refused:
  paper_width      int       paper width, mm (roll size command)
  paper_height     int       paper length, mm; the cut length on a roll
  roll_flag        int       non-zero: write the roll size command
  tray_number      int       tray of the printer, 0 to 99
  program_number   int       printer program to select (0: none)
  scale            real      scale, percent
  first_scale      real      first scale, percent
  second_scale     real      second scale, percent
  stamp_files      [string]  up to 3 RTL stamp block files appended after the plot ("" for none)
  fold_type        int       fold type of the folding unit (0: no fold)
  fold_margin      int       fold margin, mm
)"}};
const CommandRegistrar kInspect{
    {"tool inspect-job", "FILE", &RunInspectJob,
     "Takes a print file apart (header lines, body parts, pages, trailer) and prints\n"
     "it as JSON. Exit 0 only when everything was recognised and it holds a page."}};

}  // namespace
}  // namespace orvella::cli
