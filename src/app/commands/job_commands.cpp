// orvella tool raster-job / plot-job / inspect-job: write a print file from
// options given as JSON, and show how a print file splits into its parts.
#include <fstream>
#include <functional>
#include <iostream>
#include <limits>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>

#include "app/commands/cli_args.h"
#include "app/commands/command_registry.h"
#include "app/commands/print_file_json.h"
#include "printfile/job_option_checks.h"
#include "printfile/plot_job.h"
#include "printfile/print_file_reader.h"
#include "printfile/raster_job.h"

namespace orvella::cli {
namespace {

using json = nlohmann::ordered_json;

// Message the job pipeline reports when a print file cannot be written.
constexpr char kWriteFailed[] = "印刷コマンド付加エラー";

void Print(const json& j) { std::cout << j.dump(2, ' ', false, json::error_handler_t::replace) << "\n"; }

// Maps snake_case keys onto the fields of an options record; keys left out
// keep the record's zero values, unknown keys and wrong types are refused.
template <typename Options>
class OptionFields {
 public:
  OptionFields& Int(const std::string& key, int Options::*field) {
    setters_[key] = [key, field](Options& o, const json& v) {
      if (v.is_boolean()) {
        o.*field = v.get<bool>() ? 1 : 0;
      } else if (v.is_number_integer() && v.get<long long>() >= std::numeric_limits<int>::min() &&
                 v.get<long long>() <= std::numeric_limits<int>::max()) {
        o.*field = v.get<int>();
      } else {
        throw std::runtime_error("\"" + key + "\" needs a whole number");
      }
    };
    return *this;
  }
  OptionFields& Real(const std::string& key, double Options::*field) {
    setters_[key] = [key, field](Options& o, const json& v) {
      if (!v.is_number()) throw std::runtime_error("\"" + key + "\" needs a number");
      o.*field = v.get<double>();
    };
    return *this;
  }
  OptionFields& Text(const std::string& key, std::string Options::*field) {
    setters_[key] = [key, field](Options& o, const json& v) {
      if (!v.is_string()) throw std::runtime_error("\"" + key + "\" needs a text");
      o.*field = v.get<std::string>();
    };
    return *this;
  }
  OptionFields& Custom(const std::string& key, std::function<void(Options&, const json&)> set) {
    setters_[key] = std::move(set);
    return *this;
  }

  Options Read(const json& object) const {
    if (!object.is_object()) throw std::runtime_error("the options must be a JSON object");
    Options o;
    for (const auto& [key, value] : object.items()) {
      auto it = setters_.find(key);
      if (it == setters_.end()) throw std::runtime_error("unknown option \"" + key + "\"");
      it->second(o, value);
    }
    return o;
  }

 private:
  std::map<std::string, std::function<void(Options&, const json&)>> setters_;
};

printfile::RasterJobOptions ReadRasterOptions(const json& j) {
  using O = printfile::RasterJobOptions;
  static const auto fields = OptionFields<O>()
                                 .Int("free_size_width", &O::freeSizeWidth)
                                 .Int("free_size_height", &O::freeSizeHeight)
                                 .Text("tray_name", &O::trayName)
                                 .Int("free_size_flag", &O::freeSizeFlag)
                                 .Int("program_number", &O::programNumber)
                                 .Real("x_magnification", &O::xMagnification)
                                 .Real("y_magnification", &O::yMagnification)
                                 .Int("landscape", &O::landscape)
                                 .Int("fit", &O::fit)
                                 .Int("error_print", &O::errorPrint)
                                 .Int("fold_type", &O::foldType)
                                 .Int("fold_margin", &O::foldMargin)
                                 .Int("staple", &O::staple)
                                 .Int("punch", &O::punch)
                                 .Int("duplex", &O::duplex)
                                 .Int("z_fold", &O::zFold)
                                 .Int("two_up", &O::twoUp)
                                 .Int("auto_paper", &O::autoPaper)
                                 .Int("auto_paper_percent", &O::autoPaperPercent)
                                 .Int("quantity", &O::quantity)
                                 .Int("resolution", &O::resolution)
                                 .Int("printer_class", &O::printerClass);
  return fields.Read(j);
}

printfile::PlotJobOptions ReadPlotOptions(const json& j) {
  using O = printfile::PlotJobOptions;
  static const auto fields =
      OptionFields<O>()
          .Int("paper_width", &O::paperWidth)
          .Int("paper_height", &O::paperHeight)
          .Int("program_number", &O::programNumber)
          .Int("tray_number", &O::trayNumber)
          .Int("roll_flag", &O::rollFlag)
          .Real("scale", &O::scale)
          .Real("second_scale", &O::secondScale)
          .Real("first_scale", &O::firstScale)
          .Custom("stamp_files",
                  [](O& o, const json& v) {
                    if (!v.is_array() || v.size() > o.stampFiles.size()) {
                      throw std::runtime_error("\"stamp_files\" needs an array of up to 3 paths");
                    }
                    for (size_t i = 0; i < v.size(); ++i) {
                      if (!v[i].is_string())
                        throw std::runtime_error("\"stamp_files\" holds paths (\"\" for none)");
                      o.stampFiles[i] = v[i].get<std::string>();
                    }
                  })
          .Int("fold_type", &O::foldType)
          .Int("fold_margin", &O::foldMargin);
  return fields.Read(j);
}

json ReadOptionsFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(path + ": cannot be read");
  try {
    return json::parse(in);
  } catch (const json::parse_error& e) {
    throw std::runtime_error(path + ": " + e.what());
  }
}

template <typename Options>
int RunWriteJob(const std::vector<std::string>& args, Options (*readOptions)(const json&),
                std::optional<std::string> (*check)(const Options&),
                bool (*write)(const std::filesystem::path&, const std::filesystem::path&, const Options&)) {
  CliArgs a(args, 2, {"options"});
  const std::string source = a.Required(0, "source file");
  const std::string output = a.Required(1, "output file");
  CliArgs::RefuseSameFile(source, output);
  const auto optionsPath = a.Value("options");
  if (!optionsPath) throw UsageError("missing --options FILE.json");
  Options options;
  try {
    options = readOptions(ReadOptionsFile(*optionsPath));
  } catch (const std::runtime_error& e) {
    Print({{"ok", false}, {"error", e.what()}});
    return 1;
  }
  if (const auto refused = check(options)) {
    Print({{"ok", false}, {"error", kWriteFailed}, {"detail", *refused}});
    return 1;
  }
  if (!write(source, output, options)) {
    Print({{"ok", false}, {"error", kWriteFailed}});
    return 1;
  }
  Print({{"ok", true}});
  return 0;
}

int RunRasterJob(const CommandContext& /*context*/, const std::vector<std::string>& args) {
  return RunWriteJob<printfile::RasterJobOptions>(args, &ReadRasterOptions, &printfile::CheckRasterJobOptions,
                                                  &printfile::WriteRasterJob);
}

int RunPlotJob(const CommandContext& /*context*/, const std::vector<std::string>& args) {
  return RunWriteJob<printfile::PlotJobOptions>(args, &ReadPlotOptions, &printfile::CheckPlotJobOptions,
                                                &printfile::WritePlotJob);
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
